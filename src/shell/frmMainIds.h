#pragma once
// frmMain's controls and menu entries: 1000-1099.

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
#define IDM_MAIN_UNDO            1038
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
