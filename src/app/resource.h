#pragma once
// Resource identifiers of both programs, one range per window.

// Programs
#define IDI_QUILLON              100
#define IDI_SCHEDULER            101

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

// frmUninstallPreview: 1900-1919; frmPreviewDetails: 1920-1939
#define IDC_PREVIEW_IMGICON      1900
#define IDC_PREVIEW_LBLQUESTION  1901
#define IDC_PREVIEW_CMDDETAILS   1902
#define IDC_DETAILS_LBLHELP      1920
#define IDC_DETAILS_LVWENTRIES   1921
#define IDC_DETAILS_CMDEXPORT    1922
