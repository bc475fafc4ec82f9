#pragma once
// Identifiers of the scheduler's windows: 1700-1799.

// frmMainScheduler: the tray icon and its popup menu mnuPopup
#define IDI_SCHED_TRAY            1700
#define IDM_SCHED_START           1710
#define IDM_SCHED_SETUPDETECT     1711
#define IDM_SCHED_ENABLED         1712
#define IDM_SCHED_HELP            1713
#define IDM_SCHED_ABOUT           1714
#define IDM_SCHED_EXIT            1715

// frmAskForScan and frmAskForFind
#define IDC_ASK_LBLMESSAGE        1730
#define IDC_ASK_LBLCONTINUE       1731
#define IDC_ASK_CHKIGNORETHIS     1732
#define IDC_ASK_CHKNOASK          1733
#define IDC_ASK_CMDYES            IDYES
#define IDC_ASK_CMDNO             IDNO

// frmStartScanningScheduler
#define IDC_TASK_ANISCAN          1740
#define IDC_TASK_LBLCURRENTDIR    1741
#define IDC_TASK_LBLMODULENAME    1742
#define IDC_TASK_LBLFILENOS       1743
#define IDC_TASK_LBLFREEDSPACE    1744
