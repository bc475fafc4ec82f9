#pragma once
// Resource identifiers of both programs, one range per window.

// Programs
#define IDI_QUILLON              100
#define IDI_SCHEDULER            101

// frmMain: 1000-1099
#define IDC_MAIN_LBLSCANDRIVE    1010
#define IDC_MAIN_CMBDRIVES       1011
#define IDC_MAIN_LBLLASTSCAN     1012
#define IDC_MAIN_LBLSCANDATE     1013
#define IDC_MAIN_CMDUPDATEDBASE  1014
#define IDC_MAIN_CMDFINDCHANGES  1015
#define IDC_MAIN_CMDUNINSTALL    1016
#define IDC_MAIN_CMDSYSCLEANUP   1017
#define IDC_MAIN_CMDOPTIONS      1018
#define IDC_MAIN_STAFRMMAIN      1019
#define IDC_MAIN_FRAME           1020
#define IDM_MAIN_UPDATEDBASE     1030
#define IDM_MAIN_FINDCHANGES     1031
#define IDM_MAIN_EXIT            1032
#define IDM_MAIN_EMPTY           1033
#define IDM_MAIN_NAME1           1034
#define IDM_MAIN_NAME2           1035
#define IDM_MAIN_NAME3           1036
#define IDM_MAIN_NAME4           1037
#define IDM_MAIN_SYSCLEANUP      1040
#define IDM_MAIN_CLEANUP         1041
#define IDM_MAIN_SYSFILECHECKER  1042
#define IDM_MAIN_DEFRAG          1043
#define IDM_MAIN_SCANDISK        1044
#define IDM_MAIN_DRVSPACE        1045
#define IDM_MAIN_MAINTAINWIZ     1046
#define IDM_MAIN_OPTIONS         1047
#define IDM_MAIN_HELPTOPICS      1050
#define IDM_MAIN_WWW             1051
#define IDM_MAIN_SUPPORT         1052
#define IDM_MAIN_UPDATE          1053
#define IDM_MAIN_EMAIL           1054
#define IDM_MAIN_ABOUT           1055

// frmAboutProgram: 1100-1199
#define IDD_FRMABOUTPROGRAM      1100
#define IDC_ABOUT_ICON           1110
#define IDC_ABOUT_LBLNAME        1111
#define IDC_ABOUT_LBLVERSION     1112
#define IDC_ABOUT_LBLDESCRIPTION 1113
#define IDC_ABOUT_CMDWEB         1114
#define IDC_ABOUT_CMDEMAIL       1115
#define IDC_ABOUT_CMDOK          IDOK

// frmUpdateDBase: 1200-1299
#define IDC_UPDATE_LBLCURRENTDIR 1210
#define IDC_UPDATE_LBLOVER       1211
#define IDC_UPDATE_CMDOK         1212

// frmFoundChanges: 1300-1399
#define IDC_FOUND_LABEL1                1310
#define IDC_FOUND_TABCHANGESMADE        1311
#define IDC_FOUND_LBLADDED              1312
#define IDC_FOUND_LBLFILESIZE           1313
#define IDC_FOUND_LABEL2                1314
#define IDC_FOUND_LBLLINESADDEDWININI   1315
#define IDC_FOUND_LBLADDEDTOSYSINI      1316
#define IDC_FOUND_LBLLINESADDEDAUTOEXEC 1317
#define IDC_FOUND_LBLADDEDTOCONFIGSYS   1318
#define IDC_FOUND_LVWFILESADDED         1320
#define IDC_FOUND_LVWREGADDED           1321
#define IDC_FOUND_LVWWININILINES        1322
#define IDC_FOUND_LVWSYSINILINES        1323
#define IDC_FOUND_LVWAUTOEXECLINES      1324
#define IDC_FOUND_LVWCONFIGSYSLINES     1325
#define IDC_FOUND_CMDOK                 1330
#define IDC_FOUND_CMDSELECTALL          1331
#define IDC_FOUND_CMDINVSEL             1332
#define IDC_FOUND_CMDSAVE               1333
#define IDC_FOUND_CMDDELETE             1334
#define IDC_FOUND_CMDMOVE               1335
#define IDC_FOUND_CMDPRINT              1336
#define IDC_FOUND_CMDHELP               1337
#define IDC_FOUND_STAFOUNDCHANGES       1340

// frmFindingChanges: 1400-1499
#define IDC_FINDING_LBLSCANNING  1410
#define IDC_FINDING_PRGFINDING   1411

// frmInUseDLL: 1500-1599
