#include "shell/frmMain.h"

#include <array>

#include "app/resource.h"
#include "shell/frmMainIds.h"
#include "shell/Addresses.h"
#include "shell/DriveList.h"
#include "shell/Folders.h"
#include "shell/ToolsMenu.h"
#include "shell/frmAboutProgram.h"
#include "ui/Layout.h"

namespace quillon::shell {

namespace {

constexpr UINT_PTR ClockTimer = 1;
constexpr int UninstallMenuPosition = 1;
constexpr int ToolsMenuPosition = 2;

constexpr int FileMenuPosition = 0;

constexpr std::array<ui::MenuItemSpec, 31> MenuTable{{
    {0, 0, "&File"},
    {1, IDM_MAIN_UPDATEDBASE, "&Update database"},
    {1, IDM_MAIN_FINDCHANGES, "&Find changes..."},
    {1, IDM_MAIN_UNDO, "Und&o last removal..."},
    {1, 0, "-"},
    {1, IDM_MAIN_EXIT, "&Exit"},
    {0, 0, "&Uninstall"},
    {1, IDM_MAIN_EMPTY, "(Empty)"},
    {1, IDM_MAIN_NAME1, "1st user defined"},
    {1, IDM_MAIN_NAME2, "2nd user defined"},
    {1, IDM_MAIN_NAME3, "3rd user defined"},
    {1, IDM_MAIN_NAME4, "4th user defined"},
    {0, 0, "&Tools"},
    {1, IDM_MAIN_SYSCLEANUP, "&System clean-up..."},
    {1, 0, "-"},
    {1, IDM_MAIN_CLEANUP, "Disk &Cleanup"},
    {1, IDM_MAIN_SYSFILECHECKER, "System &File Checker"},
    {1, IDM_MAIN_DEFRAG, "&Disk Defragmenter"},
    {1, IDM_MAIN_SCANDISK, "&ScanDisk"},
    {1, IDM_MAIN_DRVSPACE, "&DriveSpace"},
    {1, IDM_MAIN_MAINTAINWIZ, "&Maintainence wizard"},
    {1, 0, "-"},
    {1, IDM_MAIN_OPTIONS, "&Options..."},
    {0, 0, "&Help"},
    {1, IDM_MAIN_HELPTOPICS, "&Help Topics..."},
    {1, 0, "-"},
    {1, 0, "Quillon &Online"},
    {2, IDM_MAIN_WWW, "Quillon &Web Site"},
    {2, IDM_MAIN_SUPPORT, "&Support Pages"},
    {2, IDM_MAIN_UPDATE, "&Upgrade Quillon"},
    {2, IDM_MAIN_EMAIL, "&E-mail"},
}};
// The about entry follows the online sub-menu after a separator.
constexpr std::array<ui::MenuItemSpec, 2> MenuTail{{{1, 0, "-"}, {1, IDM_MAIN_ABOUT, "&About Quillon..."}}};

constexpr int W = 276;
constexpr std::array<ui::ControlSpec, 10> Controls{{
    ui::groupBox(IDC_MAIN_FRAME, "", 7, 4, W - 14, 46),
    ui::label(IDC_MAIN_LBLSCANDRIVE, "Scan drive", 14, 17, 50),
    ui::dropDownList(IDC_MAIN_CMBDRIVES, 68, 15, W - 82, 120),
    ui::label(IDC_MAIN_LBLLASTSCAN, "Last scan", 14, 34, 50),
    ui::label(IDC_MAIN_LBLSCANDATE, "", 68, 34, W - 82),
    ui::button(IDC_MAIN_CMDUPDATEDBASE, "Update database", 7, 58, 128, 18),
    ui::button(IDC_MAIN_CMDFINDCHANGES, "Find changes", 141, 58, 128, 18),
    ui::button(IDC_MAIN_CMDUNINSTALL, "View && delete changes", 7, 82, 128, 18),
    ui::button(IDC_MAIN_CMDSYSCLEANUP, "System clean-up", 141, 82, 128, 18),
    ui::button(IDC_MAIN_CMDOPTIONS, "Options", 74, 106, 128, 18),
}};
constexpr int ClientHeight = 142;  // the status bar takes the last rows

struct ToolEntry {
    int menuId;
    Tool tool;
};
constexpr std::array<ToolEntry, 6> ToolEntries{{
    {IDM_MAIN_CLEANUP, Tool::DiskCleanup},
    {IDM_MAIN_SYSFILECHECKER, Tool::SystemFileChecker},
    {IDM_MAIN_DEFRAG, Tool::Defragmenter},
    {IDM_MAIN_SCANDISK, Tool::ScanDisk},
    {IDM_MAIN_DRVSPACE, Tool::DriveSpace},
    {IDM_MAIN_MAINTAINWIZ, Tool::MaintenanceWizard},
}};

constexpr std::array<int, 4> RecentMenuIds{IDM_MAIN_NAME1, IDM_MAIN_NAME2, IDM_MAIN_NAME3, IDM_MAIN_NAME4};

void centerOnWorkArea(HWND window) {
    RECT area{};
    RECT box{};
    if (!SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0) || !GetWindowRect(window, &box)) return;
    const int width = box.right - box.left;
    const int height = box.bottom - box.top;
    SetWindowPos(window, nullptr, area.left + (area.right - area.left - width) / 2,
                 area.top + (area.bottom - area.top - height) / 2, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
}

win32::MenuHandle buildMainMenu() {
    std::vector<ui::MenuItemSpec> items(MenuTable.begin(), MenuTable.end());
    items.insert(items.end(), MenuTail.begin(), MenuTail.end());
    return ui::buildMenuBar(items);
}

}  // namespace

frmMain::frmMain(Ports& ports, MainOperations& operations, MainState& state)
    : ports_(ports), operations_(operations), state_(state) {}

bool frmMain::open(int showCommand) {
    ui::WindowSpec desc;
    desc.className = "QuillonMainWindow";
    desc.title = "Quillon";
    desc.style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
    desc.clientWidth = W;
    desc.clientHeight = ClientHeight;
    desc.menu = buildMainMenu().release();
    desc.icon = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_QUILLON));
    if (!create(desc)) return false;
    centerOnWorkArea(hwnd());
    ShowWindow(hwnd(), showCommand);
    UpdateWindow(hwnd());
    return true;
}

void frmMain::onCreate() {
    ui::createControls(hwnd(), Controls);
    HWND bar = ui::createControl(hwnd(), ui::statusBar(IDC_MAIN_STAFRMMAIN, false), ui::DialogUnits::of(hwnd()), font());
    staFrmMain_ = ui::StatusBar(bar);
    setStatusPanels();
    staFrmMain_.setText(0, "Ready");
    cmbDrives_ = ui::ComboBox(hwnd(), IDC_MAIN_CMBDRIVES);

    help_.setBar(staFrmMain_, 0);
    help_.add(IDC_MAIN_CMDFINDCHANGES, "Find whether any new files were added or changed");
    help_.add(IDC_MAIN_CMDOPTIONS, "Customize Quillon");
    help_.add(IDC_MAIN_CMDSYSCLEANUP, "Get rid of useless system files");
    help_.add(IDC_MAIN_CMDUNINSTALL, "Uninstall a program from a saved data file");
    help_.add(IDC_MAIN_CMDUPDATEDBASE, "Update scan database to reflect the current state of the drive");
    help_.add(IDC_MAIN_CMBDRIVES, "Choose which drive to scan or find changes on");
    help_.setIdleText("");
    useStatusHelp(&help_);

    uninstallMenu_ = std::make_unique<ui::MenuVisibility>(GetSubMenu(GetMenu(hwnd()), UninstallMenuPosition), hwnd());
    ui::Menu(GetMenu(hwnd())).enable(IDM_MAIN_EMPTY, false);
    fillDrives();
    showRecentRemovalLists();
    showDateAndTime();
    SetTimer(hwnd(), ClockTimer, 1000, nullptr);
}

// The date and the time, in pixels at 100% scaling: the bar scales them.
void frmMain::setStatusPanels() {
    const std::array<int, 3> panels{ui::StatusBar::fill, 90, 80};
    staFrmMain_.setPanels(panels);
}

void frmMain::onDpiChanged() { setStatusPanels(); }

void frmMain::fillDrives() {
    cmbDrives_.clear();
    for (const auto& entry : state_.driveEntries) cmbDrives_.add(entry);
    cmbDrives_.select(static_cast<int>(state_.selectedDrive));
    ui::Label(hwnd(), IDC_MAIN_LBLSCANDATE).setText(state_.lastScanned);
}

void frmMain::refreshLastScanned() {
    if (cmbDrives_.selected() >= 0) state_.selectedDrive = static_cast<std::size_t>(cmbDrives_.selected());
    const std::string token = driveToken(cmbDrives_.selectedText());
    state_.lastScanned = lastScannedSentence(ports_.files, ports_.clock, state_.dataFolder, token);
    ui::Label(hwnd(), IDC_MAIN_LBLSCANDATE).setText(state_.lastScanned);
}

void frmMain::showRecentRemovalLists() {
    for (std::size_t i = 0; i < RecentMenuIds.size(); ++i) {
        const bool shown = i < state_.recentLists.size();
        uninstallMenu_->setVisible(RecentMenuIds[i], shown);
        if (shown) ui::Menu(GetMenu(hwnd())).setText(RecentMenuIds[i], state_.recentLists[i].caption);
    }
    uninstallMenu_->setVisible(IDM_MAIN_EMPTY, state_.recentLists.empty());
    DrawMenuBar(hwnd());
}

void frmMain::disableMissingTools() {
    const ui::Menu menu(GetMenu(hwnd()));
    for (const auto& entry : ToolEntries) {
        if (alwaysEnabled(entry.tool)) continue;
        FileInfo info;
        const ToolProgram program = toolProgram(entry.tool, ports_.shell, ports_.desktop);
        if (!succeeded(ports_.files.info(program.file, info))) menu.enable(entry.menuId, false);
    }
}

void frmMain::startTool(int menuId) {
    for (const auto& entry : ToolEntries) {
        if (entry.menuId != menuId) continue;
        const ToolProgram program = toolProgram(entry.tool, ports_.shell, ports_.desktop);
        FileInfo info;
        if (succeeded(ports_.files.info(program.file, info)) &&
            !succeeded(ports_.desktop.startProgram(program.commandLine, false)))
            ports_.prompter.message({"Quillon could not start " + program.file + ".", "Quillon", MsgIcon::Exclamation,
                                     MsgButtons::Ok});
    }
}

void frmMain::showDateAndTime() {
    const DateTime now = ports_.clock.now();
    staFrmMain_.setText(1, ports_.clock.shortDate(now));
    staFrmMain_.setText(2, ports_.clock.timeText(now));
}

void frmMain::openAddress(std::string_view address) {
    static_cast<void>(ports_.shell.execute(ref(), "", address, "", "", ShowCmd::Normal));  // the shell tells the user itself when it cannot open the address
}

std::optional<LRESULT> frmMain::onMessage(UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_INITMENUPOPUP && reinterpret_cast<HMENU>(wp) == GetSubMenu(GetMenu(hwnd()), ToolsMenuPosition)) {
        disableMissingTools();
        return 0;
    }
    if (msg == WM_INITMENUPOPUP && reinterpret_cast<HMENU>(wp) == GetSubMenu(GetMenu(hwnd()), FileMenuPosition)) {
        ui::Menu(GetMenu(hwnd())).enable(IDM_MAIN_UNDO, operations_.canUndoRemoval());
        return 0;
    }
    if (msg == WM_SIZE) staFrmMain_.fit();
    return Window::onMessage(msg, wp, lp);
}

void frmMain::onCommand(int id, int code, HWND control) {
    switch (id) {
        case IDC_MAIN_CMBDRIVES:
            if (code == CBN_SELCHANGE) refreshLastScanned();
            if (code == CBN_SETFOCUS) help_.showFor(IDC_MAIN_CMBDRIVES);
            return;
        case IDC_MAIN_CMDUPDATEDBASE:
        case IDM_MAIN_UPDATEDBASE:
            operations_.updateDatabase();
            return;
        case IDC_MAIN_CMDFINDCHANGES:
        case IDM_MAIN_FINDCHANGES: operations_.findChanges(); return;
        case IDM_MAIN_UNDO: operations_.undoLastRemoval(); return;
        case IDC_MAIN_CMDUNINSTALL: operations_.reviewRemovalList(); return;
        case IDC_MAIN_CMDSYSCLEANUP:
        case IDM_MAIN_SYSCLEANUP: operations_.systemCleanUp(); return;
        case IDC_MAIN_CMDOPTIONS:
        case IDM_MAIN_OPTIONS: operations_.options(); return;
        case IDM_MAIN_EXIT: onClose(); return;
        case IDM_MAIN_NAME1:
        case IDM_MAIN_NAME2:
        case IDM_MAIN_NAME3:
        case IDM_MAIN_NAME4: {
            const auto index = static_cast<std::size_t>(id - IDM_MAIN_NAME1);
            if (index < state_.recentLists.size()) operations_.uninstallFromDataFile(state_.recentLists[index].path, false);
            return;
        }
        case IDM_MAIN_HELPTOPICS:
            static_cast<void>(ports_.shell.help(ref(), programFolder(ports_.desktop) + "Quillon.hlp", HelpCommand::Finder, ""));  // the help engine tells the user itself when it finds nothing
            return;
        case IDM_MAIN_WWW: openAddress(addresses::WebSite); return;
        case IDM_MAIN_SUPPORT: openAddress(addresses::SupportPages); return;
        case IDM_MAIN_UPDATE: openAddress(addresses::Upgrade); return;
        case IDM_MAIN_EMAIL: openAddress(addresses::SupportMail); return;
        case IDM_MAIN_ABOUT: {
            frmAboutProgram about(ports_.shell);
            about.showModal(hwnd());
            return;
        }
        default: break;
    }
    if (id >= IDM_MAIN_CLEANUP && id <= IDM_MAIN_MAINTAINWIZ) {
        startTool(id);
        return;
    }
    Window::onCommand(id, code, control);
}

void frmMain::onTimer(UINT_PTR id) {
    if (id == ClockTimer) showDateAndTime();
}

void frmMain::onClose() {
    saveSelectedDrive(ports_.registry, cmbDrives_.selectedText());
    DestroyWindow(hwnd());
}

void frmMain::onDestroy() {
    KillTimer(hwnd(), ClockTimer);
    useStatusHelp(nullptr);
    PostQuitMessage(0);
}

}  // namespace quillon::shell
