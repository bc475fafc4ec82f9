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

// frmFindingChanges: 1400-1499
#define IDC_FINDING_LBLSCANNING  1410
#define IDC_FINDING_PRGFINDING   1411

// frmInUseDLL: 1500-1599
#define IDC_INUSE_IMGWARNING     1510
#define IDC_INUSE_LBLMSG         1511
#define IDC_INUSE_CMDDELETE      1512
#define IDC_INUSE_CMDDELETEALL   1513
#define IDC_INUSE_CMDSKIP        1514
