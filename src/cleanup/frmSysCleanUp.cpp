#include "cleanup/frmSysCleanUp.h"

#include <algorithm>
#include <array>
#include <utility>

#include "cleanup/AlsoScanLists.h"
#include "cleanup/DuplicateScan.h"
#include "cleanup/JunkScans.h"
#include "cleanup/UnusedDllScan.h"
#include "cleanup/frmSysCleanUpIds.h"
#include "platform/ScopedFlag.h"
#include "shell/DriveList.h"
#include "shell/RecentRemovalLists.h"
#include "shell/RowOrder.h"
#include "shell/Settings.h"
#include "shell/modGeneral.h"
#include "shell/modRegistry.h"
#include "ui/Animation.h"
#include "ui/ComboBox.h"
#include "ui/Dpi.h"
#include "ui/Layout.h"
#include "ui/Menu.h"
#include "ui/ScopeGuards.h"
#include "ui/SystemImageList.h"
#include "ui/TabControl.h"
#include "ui/WaitCursor.h"

namespace quillon::cleanup {

namespace {

constexpr UINT ScanMessage = WM_APP + 1;     // wParam: the chosen scan's menu id
constexpr UINT ClickedMessage = WM_APP + 2;  // the result list's selection may have changed

constexpr int W = 330;
constexpr int TabX = 7;
constexpr int TabY = 7;
constexpr int TabW = 258;
constexpr int TabH = 150;
constexpr int X = TabX + 7;   // the pages' left edge
constexpr int Y = TabY + 20;  // the pages' top edge
constexpr int PW = TabW - 14;
// The type boxes in three columns, the first widest for "MSCREATE.DIR files": the check mark takes
// more of a box at 200% than its text's dialog units allow for.
constexpr std::array<int, 3> ColX{3, 89, 169};
constexpr std::array<int, 3> ColW{84, 78, 74};
constexpr int ListW = PW - 58;
constexpr int SideX = X + ListW + 6;
constexpr int ButtonX = TabX + TabW + 7;
constexpr int ButtonW = W - 7 - ButtonX;
constexpr int DriveY = TabY + TabH + 8;
constexpr int TotalsY = DriveY + 18;
constexpr int ResultsY = TotalsY + 12;
constexpr int StatusBarRoom = 14;
constexpr int DesignH = DriveY + 14 + 6 + StatusBarRoom;

constexpr ui::ControlSpec typeBox(int id, const char* text, int index) {
    const auto column = static_cast<std::size_t>(index % 3);
    return ui::checkBox(id, text, X + ColX[column], Y + 12 + (index / 3) * 12, ColW[column]);
}
constexpr ui::ControlSpec oneColumnList(int id, int y, int height) {
    ui::ControlSpec desc = ui::listView(id, X, y, ListW, height, true);
    desc.style |= LVS_NOCOLUMNHEADER;
    return desc;
}
constexpr ui::ControlSpec note(int id, const char* text, int y, int lines) {
    return ui::label(id, text, X, y, PW, lines * 9);
}

// The type boxes, in the order of JunkTypes.
constexpr std::array<int, JunkTypes.size()> TypeBoxes{
    IDC_CLEAN_CHKBAKFILES,    IDC_CLEAN_CHKOLDFILES,     IDC_CLEAN_CHKTMPFILES,      IDC_CLEAN_CHKGIDFILES,
    IDC_CLEAN_CHKPREVCOMPRESSED, IDC_CLEAN_CHKCHKFILES,  IDC_CLEAN_CHKDOLLARFILES,   IDC_CLEAN_CHKTIDLEFILES,
    IDC_CLEAN_CHKCHKLISTFILES, IDC_CLEAN_CHKMSCREATEFILES, IDC_CLEAN_CHKLOGFILES,   IDC_CLEAN_CHKFTSFILES};

constexpr std::array<ui::ControlSpec, 52> Controls{{
    ui::tabControl(IDC_CLEAN_TABFILELIST, TabX, TabY, TabW, TabH),
    // Temporary files
    ui::groupBox(IDC_CLEAN_FRATEMPFILE, "Files to scan for", X, Y, PW, 62),
    typeBox(IDC_CLEAN_CHKBAKFILES, "*.BAK files", 0),
    typeBox(IDC_CLEAN_CHKOLDFILES, "*.OLD files", 1),
    typeBox(IDC_CLEAN_CHKTMPFILES, "*.TMP files", 2),
    typeBox(IDC_CLEAN_CHKGIDFILES, "*.Gid files", 3),
    typeBox(IDC_CLEAN_CHKPREVCOMPRESSED, "*.--- files", 4),
    typeBox(IDC_CLEAN_CHKCHKFILES, "*.CHK files", 5),
    typeBox(IDC_CLEAN_CHKDOLLARFILES, "*.??$ files", 6),
    typeBox(IDC_CLEAN_CHKTIDLEFILES, "*.~?? files", 7),
    typeBox(IDC_CLEAN_CHKCHKLISTFILES, "CHKLIST.* files", 8),
    typeBox(IDC_CLEAN_CHKMSCREATEFILES, "MSCREATE.DIR files", 9),
    typeBox(IDC_CLEAN_CHKLOGFILES, "Windows LOG files", 10),
    typeBox(IDC_CLEAN_CHKFTSFILES, "*.FTS/*.FTG files", 11),
    ui::label(IDC_CLEAN_LBLALSOFILES, "Also scan for these files :", X, Y + 67, PW),
    oneColumnList(IDC_CLEAN_LVWALSOFINDFILES, Y + 77, 46),
    ui::button(IDC_CLEAN_CMDADDFILES, "&Add...", SideX, Y + 77, 52),
    ui::button(IDC_CLEAN_CMDREMOVEFILES, "&Remove", SideX, Y + 95, 52),
    // Temporary folders
    ui::groupBox(IDC_CLEAN_FRATEMPFOLDERS, "Folders to scan for", X, Y, PW, 50),
    ui::checkBox(IDC_CLEAN_CHKTEMPFOLDER, "&Temporary folder:", X + 8, Y + 12, 72),
    ui::label(IDC_CLEAN_LBLTEMPPATH, "", X + 82, Y + 13, PW - 90),
    ui::checkBox(IDC_CLEAN_CHKINTERNETCACHE, "Temporary &Internet files", X + 8, Y + 24, PW - 16),
    ui::checkBox(IDC_CLEAN_CHKRECYCLEBIN, "&Recycle Bin", X + 8, Y + 36, PW - 16),
    ui::label(IDC_CLEAN_LBLALSOFOLDERS, "Also scan for these folders :", X, Y + 55, PW),
    oneColumnList(IDC_CLEAN_LVWALSOFINDFOLDERS, Y + 65, 58),
    ui::button(IDC_CLEAN_CMDADDFOLDERS, "&Add...", SideX, Y + 65, 52),
    ui::button(IDC_CLEAN_CMDREMOVEFOLDERS, "&Remove", SideX, Y + 83, 52),
    // Duplicate files
    ui::groupBox(IDC_CLEAN_FRADUPLICATEFILES, "Duplicate files", X, Y, PW, 100),
    ui::label(IDC_CLEAN_LBLNAMED, "&Named:", X + 8, Y + 15, 60),
    {IDC_CLEAN_CBODUPLICATENAMED, "COMBOBOX", "", CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_VSCROLL | WS_TABSTOP, X + 70,
     Y + 12, 150, 80},
    ui::label(IDC_CLEAN_LBLCONTAININGTEXT, "&Containing text:", X + 8, Y + 32, 60),
    ui::edit(IDC_CLEAN_TXTCONTAININGTXT, X + 70, Y + 29, 150),
    ui::checkBox(IDC_CLEAN_CHKSAMEDATETIME, "Require same &date/time", X + 8, Y + 50, PW - 16),
    ui::checkBox(IDC_CLEAN_CHKSAMESIZE, "Require same &size", X + 8, Y + 62, PW - 16),
    ui::checkBox(IDC_CLEAN_CHKSKIPZEROLENGTH, "Skip &zero length files", X + 8, Y + 74, PW - 16),
    ui::checkBox(IDC_CLEAN_CHKSKIPSYSBCKUP, "Skip SYSBCKUP &folder", X + 8, Y + 86, PW - 16),
    // DLL files
    note(IDC_CLEAN_LBLDLL1,
         "          DLL files, found in the windows\\System directory are application extensions installed by "
         "various programs to provide enhanced functionality.",
         Y, 3),
    note(IDC_CLEAN_LBLDLL2,
         "Over time, as old programs are deleted, some shared DLL files associated with these programs remain in the "
         "windows\\System directory. Scanning for and removing these files can free up considerable disk space.",
         Y + 30, 4),
    note(IDC_CLEAN_LBLDLL3,
         "WARNING: It is however recommended that instead of deleting these files, you move them to an alternative "
         "storage/backup medium, like floppy disks or tape drives.",
         Y + 69, 3),
    note(IDC_CLEAN_LBLDLL4,
         "To start scanning for unused DLL files, click on &Scan and then click on Scan for unused DLL files.", Y + 99,
         2),
    // Outside the tabs
    ui::label(IDC_CLEAN_LBLSCANDRIVE, "Select the drive to be scanned:", TabX, DriveY + ui::Metrics::labelOffset, 110),
    ui::dropDownList(IDC_CLEAN_CMBDRIVES, TabX + 112, DriveY, TabW - 112),
    ui::defaultButton(IDC_CLEAN_CMDSCAN, "&Scan Now", ButtonX, TabY, ButtonW),
    ui::button(IDC_CLEAN_CMDSTOP, "S&top", ButtonX, TabY + 18, ButtonW),
    ui::button(IDC_CLEAN_CMDSELECTALL, "Select &All", ButtonX, TabY + 42, ButtonW),
    ui::button(IDC_CLEAN_CMDDELETE, "&Delete", ButtonX, TabY + 60, ButtonW),
    ui::button(IDC_CLEAN_CMDMOVE, "&Move", ButtonX, TabY + 78, ButtonW),
    ui::animation(IDC_CLEAN_ANISCAN, ButtonX, TabY + 98, ButtonW, 30),
    ui::button(IDC_CLEAN_CMDHELP, "&Help", ButtonX, TabY + TabH - ui::Metrics::buttonHeight, ButtonW),
    ui::label(IDC_CLEAN_LBLFILENO, "", TabX, TotalsY, 120),
    ui::label(IDC_CLEAN_LBLFILESIZE, "", TabX + 126, TotalsY, 140),
    ui::virtualListView(IDC_CLEAN_LVWSCANNEDFILES, TabX, ResultsY, W - 14, 40, true),
}};

// Each tab's controls are those of one id range.
constexpr std::array<ui::PageRange, 4> Pages{{
    {"Temporary files", IDC_CLEAN_FRATEMPFILE, IDC_CLEAN_CMDREMOVEFILES},
    {"Temporary folders", IDC_CLEAN_FRATEMPFOLDERS, IDC_CLEAN_CMDREMOVEFOLDERS},
    {"Duplicate files", IDC_CLEAN_FRADUPLICATEFILES, IDC_CLEAN_CHKSKIPSYSBCKUP},
    {"DLL files", IDC_CLEAN_LBLDLL1, IDC_CLEAN_LBLDLL4},
}};

constexpr std::array<ui::MenuItemSpec, 4> ScanMenu{{
    {0, IDM_CLEAN_TEMPFILES, "Scan for temporary files"},
    {0, IDM_CLEAN_TEMPFOLDERS, "Scan for temporary folders"},
    {0, IDM_CLEAN_DUPLICATEFILES, "Scan for &duplicate files"},
    {0, IDM_CLEAN_DLLFILES, "Scan for unused DLL files"},
}};
// How far the pointer moves down, at 100% scaling, so that it rests on the tab's own entry of the menu.
constexpr std::array<int, 4> PointerDrop{22, 40, 55, 74};

struct Flag {
    int id;
    bool CleanUpSettings::*field;
};
constexpr std::array<Flag, 7> Flags{{
    {IDC_CLEAN_CHKTEMPFOLDER, &CleanUpSettings::tempFolder},
    {IDC_CLEAN_CHKINTERNETCACHE, &CleanUpSettings::cacheFolder},
    {IDC_CLEAN_CHKRECYCLEBIN, &CleanUpSettings::recycleBin},
    {IDC_CLEAN_CHKSKIPZEROLENGTH, &CleanUpSettings::skipZeroLength},
    {IDC_CLEAN_CHKSKIPSYSBCKUP, &CleanUpSettings::skipSysbckup},
    {IDC_CLEAN_CHKSAMESIZE, &CleanUpSettings::sameSize},
    {IDC_CLEAN_CHKSAMEDATETIME, &CleanUpSettings::sameDateTime},
}};

constexpr std::array<ui::ColumnSpec, 5> ResultColumns{{
    {"Name", 24},
    {"In Folder", 42},
    {"Size", 11, ui::Align::Right},
    {"Type", 23},
    {"Hidden size in KB for sort", 0},
}};
constexpr std::array<ui::ColumnSpec, 1> OneColumn{{{"", 100}}};

struct HelpText {
    int id;
    const char* text;
};
constexpr std::array<HelpText, 28> HelpTexts{{
    {IDC_CLEAN_CMDSCAN, "Start scanning"},
    {IDC_CLEAN_CMDSELECTALL, "Select all the scanned files"},
    {IDC_CLEAN_CMDHELP, "Launch the Quillon Help file"},
    {IDC_CLEAN_CMDDELETE, "Delete all the selected files"},
    {IDC_CLEAN_CHKBAKFILES, "*.Bak files are earlier versions of saved files"},
    {IDC_CLEAN_CHKCHKFILES, "*.Chk files are lost cluster files created by Chkdsk.exe"},
    {IDC_CLEAN_CHKDOLLARFILES, "*.??$ files are created for temporary use by various programs"},
    {IDC_CLEAN_CHKLOGFILES, "*.Log files are files created by various programs when an error occurs"},
    {IDC_CLEAN_CHKFTSFILES, "*.Fts/*.Ftg files are files created by certain applications to speed up word research"},
    {IDC_CLEAN_CHKMSCREATEFILES, "Mscreate.dir files are zero length files created by Setup programs"},
    {IDC_CLEAN_CHKCHKLISTFILES, "Chklist.* files are lost cluster files created by Chkdsk.exe"},
    {IDC_CLEAN_CHKTIDLEFILES, "*.~?? files are files created for temporary use by various programs"},
    {IDC_CLEAN_CHKGIDFILES, "*.Gid files are files created by Windows Help files to speed up index lookup"},
    {IDC_CLEAN_CHKOLDFILES, "*.Old files are earlier versions of saved files"},
    {IDC_CLEAN_CHKPREVCOMPRESSED, "*.--- files are compressed copies of files before installation"},
    {IDC_CLEAN_CHKTMPFILES, "*.Tmp files are created for temporary use by various programs"},
    {IDC_CLEAN_CMDADDFILES, "Add your own file types to scan for"},
    {IDC_CLEAN_LVWALSOFINDFILES, "Add your own file types to scan for"},
    {IDC_CLEAN_CMDREMOVEFILES, "Remove the selected file types from the 'Also scan for these files' list"},
    {IDC_CLEAN_CHKTEMPFOLDER, "Files created for temporary use are stored here. You can safely delete all these files"},
    {IDC_CLEAN_CHKINTERNETCACHE, "Contains temporary files created by Microsoft Internet Explorer and Netscape Navigator"},
    {IDC_CLEAN_CHKRECYCLEBIN, "Permanently delete files in your Recycle Bin"},
    {IDC_CLEAN_CMDADDFOLDERS, "Add your own folders to scan for"},
    {IDC_CLEAN_LVWALSOFINDFOLDERS, "Add your own folders to scan for"},
    {IDC_CLEAN_CMDREMOVEFOLDERS, "Remove the selected folders from the 'Also scan for these folders' list"},
    {IDC_CLEAN_CHKSKIPZEROLENGTH, "Skips duplicate zero length MSCREATE.DIR files"},
    {IDC_CLEAN_CHKSKIPSYSBCKUP, "Skips scanning the windows\\Sysbckup folder"},
    {IDC_CLEAN_CHKSAMESIZE, "Finds duplicate files of the same size"},
}};
// The window itself and the frames show the idle text.
constexpr const char* IdleText = "Select the type of files or folders you want to scan for, and click on Scan Now";

// An inch is 1440 twips, whatever the monitor's scaling.
int twipsToPixels(HWND window, int twips) { return MulDiv(twips, static_cast<int>(ui::dpiOf(window)), 1440); }

// Shows the walk's folder in the status panel and lets the list grow while rows come in.
class ScanStatus final : public ScanProgress {
public:
    ScanStatus(ui::StatusBar bar, ui::VirtualListView list, const ScanResults& results)
        : bar_(bar), list_(list), results_(results) {}
    void showFolder(std::string_view folder) override {
        bar_.setText(0, "Scanning: " + std::string(folder));
        if (growing_.due(GetTickCount())) list_.setRowCount(results_.size());
    }
    void showStatus(std::string_view text) override { bar_.setText(0, text); }

private:
    ui::StatusBar bar_;
    ui::VirtualListView list_;
    const ScanResults& results_;
    ui::PumpThrottle growing_{100};
};

ui::DialogSpec windowLayout() {
    ui::DialogSpec layout;
    layout.title = "Quillon System Clean-up";
    layout.width = W;
    layout.height = DesignH;
    layout.style |= WS_THICKFRAME | WS_MINIMIZEBOX;
    return layout;
}

}  // namespace

frmSysCleanUp::frmSysCleanUp(Ports& ports, std::vector<std::string> driveEntries, CleanUpFolders folders)
    : Dialog(windowLayout()),
      ports_(ports),
      driveEntries_(std::move(driveEntries)),
      dataFolder_(std::move(folders.data)),
      workFolder_(std::move(folders.work)) {}

ui::VirtualListView frmSysCleanUp::resultList() const noexcept {
    return ui::VirtualListView(hwnd(), IDC_CLEAN_LVWSCANNEDFILES);
}

void frmSysCleanUp::onCreate() {
    ui::createControls(hwnd(), Controls);
    const ui::StatusBar bar(
        ui::createControl(hwnd(), ui::statusBar(IDC_CLEAN_STAFRMSYSCLEANUP, true), ui::DialogUnits::of(hwnd()), font()));
    const std::array<int, 1> panels{ui::StatusBar::fill};
    bar.setPanels(panels);
    help_.setBar(bar, 0);
    for (const HelpText& entry : HelpTexts) help_.add(entry.id, entry.text);
    help_.add(IDC_CLEAN_CHKSAMEDATETIME, "Finds duplicate files created on the samed date and time");
    help_.setIdleText(IdleText);
    useStatusHelp(&help_);

    // The duplicate and DLL scans are offered only to those who asked for them.
    const shell::KeyPtr sysClean = shell::openKey(ports_.registry, Hive::CurrentUser, settings::SysCleanKey);
    const bool allScans = shell::queryValue(sysClean.get(), settings::sysclean::ShowAllScans) == "1";
    const ui::TabControl tabs(hwnd(), IDC_CLEAN_TABFILELIST);
    for (std::size_t i = 0; i < (allScans ? Pages.size() : 2); ++i) tabs.addTab(Pages[i].caption);
    scanMenu_ = ui::buildPopupMenu(ScanMenu);
    if (!allScans)
        for (int id : {IDM_CLEAN_DUPLICATEFILES, IDM_CLEAN_DLLFILES}) DeleteMenu(scanMenu_.get(), id, MF_BYCOMMAND);
    const ui::ComboBox named(hwnd(), IDC_CLEAN_CBODUPLICATENAMED);
    named.add("*.*");
    named.select(0);

    const ui::VirtualListView results = resultList();
    results.addColumns(ResultColumns);
    for (int id : {IDC_CLEAN_LVWALSOFINDFILES, IDC_CLEAN_LVWALSOFINDFOLDERS}) ui::ListView(hwnd(), id).addColumns(OneColumn);
    for (int id : {IDC_CLEAN_LVWSCANNEDFILES, IDC_CLEAN_LVWALSOFINDFOLDERS}) {
        ui::ListView(hwnd(), id).setSmallImages(ui::systemSmallImages());
        ui::ListView(hwnd(), id).setFullRowSelect(true);
    }
    const ui::ComboBox drives(hwnd(), IDC_CLEAN_CMBDRIVES);
    for (const std::string& entry : driveEntries_) drives.add(entry);
    const shell::KeyPtr general = shell::openKey(ports_.registry, Hive::CurrentUser, settings::GeneralKey);
    drives.select(static_cast<int>(
        shell::entryIndex(driveEntries_, shell::queryValue(general.get(), settings::general::DriveName))));

    show(readCleanUpSettings(ports_.registry));
    ui::Label(hwnd(), IDC_CLEAN_LBLTEMPPATH).setText(shell::temporaryFolder(ports_.shell));

    for (int id : {IDC_CLEAN_LVWSCANNEDFILES, IDC_CLEAN_LBLFILENO, IDC_CLEAN_LBLFILESIZE, IDC_CLEAN_ANISCAN})
        ui::Control(hwnd(), id).show(false);
    ui::Button(hwnd(), IDC_CLEAN_CMDSTOP).enable(false);
    RECT frame{};
    GetWindowRect(hwnd(), &frame);
    designSize_ = {frame.right - frame.left, frame.bottom - frame.top};
    scanHeight_ = MulDiv(designSize_.cy, 6645, 5145);
    dpi_ = ui::dpiOf(hwnd());
    tabs.setCurrent(0);
    showPage(0);
    setDefaultButton(IDC_CLEAN_CMDSCAN);
}

void frmSysCleanUp::show(const CleanUpSettings& settings) {
    for (std::size_t i = 0; i < TypeBoxes.size(); ++i) ui::Button(hwnd(), TypeBoxes[i]).setChecked(settings.types[i]);
    for (const Flag& flag : Flags) ui::Button(hwnd(), flag.id).setChecked(settings.*flag.field);
    const ui::ListView files(hwnd(), IDC_CLEAN_LVWALSOFINDFILES);
    for (const std::string& row : settings.alsoFiles) files.addRow({row});
    showFolderRows(settings.alsoFolders);
}

CleanUpSettings frmSysCleanUp::chosen() const {
    CleanUpSettings settings;
    for (std::size_t i = 0; i < TypeBoxes.size(); ++i) settings.types[i] = ui::Button(hwnd(), TypeBoxes[i]).isChecked();
    for (const Flag& flag : Flags) settings.*flag.field = ui::Button(hwnd(), flag.id).isChecked();
    const ui::ListView files(hwnd(), IDC_CLEAN_LVWALSOFINDFILES);
    for (int row = 0; row < files.count(); ++row) settings.alsoFiles.push_back(files.text(row));
    const ui::ListView folders(hwnd(), IDC_CLEAN_LVWALSOFINDFOLDERS);
    for (int row = 0; row < folders.count(); ++row) settings.alsoFolders.push_back(folders.text(row));
    return settings;
}

void frmSysCleanUp::showFolderRows(const std::vector<std::string>& folders) const {
    const ui::ListView list(hwnd(), IDC_CLEAN_LVWALSOFINDFOLDERS);
    list.clear();
    for (const std::string& folder : folders) {
        FileTypeInfo type;
        if (!succeeded(ports_.shell.fileType(folder, type))) type.iconIndex = ui::closedFolderImage();
        list.addRow({folder}, type.iconIndex);
    }
}

void frmSysCleanUp::showPage(int page) const { ui::showPage(hwnd(), Controls, Pages, page); }

std::string frmSysCleanUp::cell(std::size_t row, int column) {
    if (row >= results_.size()) return {};
    return results_.cell(row, static_cast<ResultColumn>(column));
}

int frmSysCleanUp::image(std::size_t row) {
    return row < results_.size() ? results_.typeInfo(results_.rows()[row]).iconIndex : -1;
}

// The menu opens where the pointer will rest on the current tab's own scan, so one more click
// starts it.
void frmSysCleanUp::openScanMenu() {
    kind_ = ResultKind::JunkFiles;
    const int tab = std::clamp(ui::TabControl(hwnd(), IDC_CLEAN_TABFILELIST).current(), 0, 3);
    POINT pointer{};
    if (GetCursorPos(&pointer)) SetCursorPos(pointer.x, pointer.y + ui::scaled(hwnd(), PointerDrop[static_cast<std::size_t>(tab)]));
    SetForegroundWindow(hwnd());
    const RECT button = ui::Control(hwnd(), IDC_CLEAN_CMDSCAN).bounds();
    POINT at{button.left + twipsToPixels(hwnd(), 670), button.top + twipsToPixels(hwnd(), 370)};
    ClientToScreen(hwnd(), &at);
    const int chosen = TrackPopupMenu(scanMenu_.get(), TPM_CENTERALIGN | TPM_LEFTBUTTON | TPM_RETURNCMD, at.x, at.y, 0,
                                      hwnd(), nullptr);
    // Started from the queue, once the menu has gone and the click has been handled.
    if (chosen != 0) PostMessageW(hwnd(), ScanMessage, static_cast<WPARAM>(chosen), 0);
}

void frmSysCleanUp::runScan(int menuId) {
    if (scanning_ || removing_) return;
    startScan();
    ui::MessagePump pump(stop_, hwnd());
    ScanStatus status(ui::StatusBar(hwnd(), IDC_CLEAN_STAFRMSYSCLEANUP), resultList(), results_);
    ScanPorts ports{{ports_.files, ports_.shell, pump, status}, ports_.clock, ref()};
    switch (menuId) {
        case IDM_CLEAN_TEMPFILES: scanTemporaryFiles(ports); break;
        case IDM_CLEAN_TEMPFOLDERS: scanTemporaryFolders(ports); break;
        case IDM_CLEAN_DUPLICATEFILES: scanDuplicateFiles(ports.walk); break;
        case IDM_CLEAN_DLLFILES: scanDllFiles(ports.walk); break;
        default: break;
    }
    stopScan();
    showScanTotals();
    if (closePending_) close();
}

void frmSysCleanUp::scanTemporaryFiles(ScanPorts& ports) {
    const shell::KeyPtr scanning = shell::openKey(ports_.registry, Hive::CurrentUser, settings::ScanningKey);
    const shell::IgnoreList ignore = junkIgnoreList(shell::specialFolder(ports_.shell, Csidl::Windows),
                                                    shell::queryValue(scanning.get(), settings::scanning::FoldersToIgnore));
    cleanup::scanTemporaryFiles(ports, chosen(), driveToken(), ignore, results_);
}

void frmSysCleanUp::scanTemporaryFolders(ScanPorts& ports) {
    cleanup::scanTemporaryFolders(ports, [this] { return chosen(); }, findTemporaryFolders(ports_.shell, ports_.files),
                                  results_);
}

// The rows come sorted as the list was last sorted, by name when it never was.
void frmSysCleanUp::scanDuplicateFiles(WalkPorts& ports) {
    kind_ = ResultKind::Duplicates;
    DuplicateOptions options;
    options.named = ui::Control(hwnd(), IDC_CLEAN_CBODUPLICATENAMED).text();
    options.containing = ui::Control(hwnd(), IDC_CLEAN_TXTCONTAININGTXT).text();
    const CleanUpSettings boxes = chosen();
    options.sameDateTime = boxes.sameDateTime;
    options.sameSize = boxes.sameSize;
    options.skipZeroLength = boxes.skipZeroLength;
    options.skipSysbckup = boxes.skipSysbckup;
    const DuplicateFolders folders{workFolder_, shell::specialFolder(ports_.shell, Csidl::Windows)};
    const DuplicateOutcome outcome = scanDuplicates(ports, options, folders, driveToken(), results_);
    if (!sorted_) sorted_ = ascending_ = true;
    results_.sortBy(sortColumn_, ascending_);
    if (outcome == DuplicateOutcome::WorkFileFailed)
        ports_.prompter.message({"The duplicate file scan could not run: its work file could not be written in " +
                                     workFolder_ + ".",
                                 "Scan for duplicate files", MsgIcon::Exclamation, MsgButtons::Ok});
}

void frmSysCleanUp::scanDllFiles(WalkPorts& ports) {
    kind_ = ResultKind::UnusedDlls;
    ui::StatusBar(hwnd(), IDC_CLEAN_STAFRMSYSCLEANUP).setText(0, "Scanning for unused DLL files. Please wait...");
    scanUnusedDlls(ports, ports_.registry, results_);
}

std::string frmSysCleanUp::driveToken() const {
    return shell::driveToken(ui::ComboBox(hwnd(), IDC_CLEAN_CMBDRIVES).selectedText());
}

void frmSysCleanUp::startScan() {
    results_.clear();
    const ui::VirtualListView list = resultList();
    list.setRowCount(0);
    ui::Button(hwnd(), IDC_CLEAN_CMDSCAN).enable(false);
    ui::Button(hwnd(), IDC_CLEAN_CMDSTOP).enable(true);
    setDefaultButton(IDC_CLEAN_CMDSTOP);
    for (int id : {IDC_CLEAN_CMDDELETE, IDC_CLEAN_CMDMOVE, IDC_CLEAN_CMDSELECTALL}) ui::Button(hwnd(), id).enable(false);
    if (!listShown_) {
        listShown_ = true;
        list.show(true);
        SetWindowPos(hwnd(), nullptr, 0, 0, designSize_.cx, scanHeight_, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    layoutResults();
    for (int id : {IDC_CLEAN_LBLFILENO, IDC_CLEAN_LBLFILESIZE}) ui::Label(hwnd(), id).show(false);
    const ui::Animation animation(hwnd(), IDC_CLEAN_ANISCAN);
    animation.show(true);
    const std::string clip = shell::withBackslash(shell::programFolder(ports_.desktop)) + "scan.avi";
    if (existsWith(ports_.files, clip, 0) && animation.open(clip)) animation.play();
    stop_.clear();
    scanning_ = true;
    help_.setEnabled(false);
}

void frmSysCleanUp::stopScan() {
    stop_.request();
    ui::Button(hwnd(), IDC_CLEAN_CMDSTOP).enable(false);
    ui::Button(hwnd(), IDC_CLEAN_CMDSCAN).enable(true);
    setDefaultButton(IDC_CLEAN_CMDSCAN);
    for (int id : {IDC_CLEAN_CMDSELECTALL, IDC_CLEAN_CMDDELETE, IDC_CLEAN_CMDMOVE}) ui::Button(hwnd(), id).enable(true);
    const ui::Animation animation(hwnd(), IDC_CLEAN_ANISCAN);
    animation.stop();
    animation.close();
    animation.show(false);
    scanning_ = false;
    help_.setEnabled(true);
    ui::StatusBar(hwnd(), IDC_CLEAN_STAFRMSYSCLEANUP).setText(0, "Scan complete");
}

void frmSysCleanUp::showScanTotals() {
    resultList().setRowCount(results_.size());
    ui::Label(hwnd(), IDC_CLEAN_LBLFILENO).setText("Total files:" + std::to_string(results_.totals().files));
    ui::Label(hwnd(), IDC_CLEAN_LBLFILESIZE).setText("Total size:" + shell::formatSize(results_.totals().bytes, true));
    for (int id : {IDC_CLEAN_LBLFILENO, IDC_CLEAN_LBLFILESIZE}) ui::Label(hwnd(), id).show(true);
}

// The result list reaches from its place down to the status bar.
void frmSysCleanUp::layoutResults() const {
    const ui::StatusBar bar(hwnd(), IDC_CLEAN_STAFRMSYSCLEANUP);
    bar.fit();
    RECT client{};
    GetClientRect(hwnd(), &client);
    const RECT place = ui::DialogUnits::of(hwnd()).rect(TabX, ResultsY, W - 2 * TabX, 0);
    const int bottom = client.bottom - bar.height() - 2;
    resultList().move(place.left, place.top, place.right - place.left, std::max(0, bottom - static_cast<int>(place.top)));
}

// Before the first scan the window keeps its size; afterwards only its height may change.
void frmSysCleanUp::limitSize(MINMAXINFO& limits) const {
    if (designSize_.cx == 0) return;
    limits.ptMinTrackSize.x = limits.ptMaxTrackSize.x = designSize_.cx;
    limits.ptMinTrackSize.y = designSize_.cy;
    if (!listShown_) limits.ptMaxTrackSize.y = designSize_.cy;
}

void frmSysCleanUp::onSize(int, int) {
    if (listShown_) layoutResults();
    else ui::StatusBar(hwnd(), IDC_CLEAN_STAFRMSYSCLEANUP).fit();
}

void frmSysCleanUp::addFileType() {
    const auto answer =
        ports_.prompter.inputBox("Enter the file extension of the file type to scan for:", "Enter file type", "");
    if (!answer) return;
    std::vector<std::string> rows = chosen().alsoFiles;
    if (cleanup::addFileType(rows, *answer)) ui::ListView(hwnd(), IDC_CLEAN_LVWALSOFINDFILES).addRow({rows.back()});
}

void frmSysCleanUp::addFolder() {
    std::vector<std::string> rows = chosen().alsoFolders;
    if (cleanup::addFolder(rows, ports_.prompter.browseForFolder("Choose the folder you wish to scan :")))
        showFolderRows(rows);
}

void frmSysCleanUp::removeSelected(int listId, bool all) const {
    const ui::ListView list(hwnd(), listId);
    const std::vector<int> rows = list.selectedRows();
    if (!all && !rows.empty()) {
        list.deleteRow(rows.front());
        return;
    }
    for (auto row = rows.rbegin(); row != rows.rend(); ++row) list.deleteRow(*row);
}

std::vector<std::size_t> frmSysCleanUp::selectedResults() const { return resultList().selectedIndices(); }

void frmSysCleanUp::selectAll() {
    resultList().selectAll();
    showSelectionTotals();
}

void frmSysCleanUp::showSelectionTotals() {
    const ScanTotals selected = selectionTotals(results_, selectedResults());
    ui::Label(hwnd(), IDC_CLEAN_LBLFILESIZE).setText("Size: " + shell::formatSize(selected.bytes, true));
    ui::Label(hwnd(), IDC_CLEAN_LBLFILENO).setText("Files: " + std::to_string(selected.files));
}

// Each click reverses the last order, whatever column it sorted; the selection stays with its
// rows.
void frmSysCleanUp::sortResults(int column) {
    if (scanning_ || column < 0 || column > 3) return;
    ascending_ = !ascending_;
    sorted_ = true;
    sortColumn_ = static_cast<ResultColumn>(column);
    resultList().carrySelection(shell::newPlaces(results_.sortBy(sortColumn_, ascending_)), results_.size());
}

void frmSysCleanUp::openSelected() {
    const std::string workFolder = shell::windowsRoot(ports_.shell);
    for (const std::size_t row : selectedResults())
        if (row < results_.size())
            static_cast<void>(shell::openWithAssociatedProgram(ports_.shell, results_.rows()[row].fullPath(), workFolder, ref()));  // the shell tells the user itself when it cannot open a document
}

void frmSysCleanUp::deleteSelected() {
    runRemoval([this](shell::RemovalPorts& removal, const std::vector<std::size_t>& selected) {
        cleanup::deleteSelected(removal, kind_, results_, selected);
    });
}

void frmSysCleanUp::moveSelected() {
    runRemoval([this](shell::RemovalPorts& removal, const std::vector<std::size_t>& selected) {
        cleanup::moveSelected(removal, results_, selected);
    });
}

// Rows whose files went leave the list, and the selection with them.
void frmSysCleanUp::runRemoval(const RemovalCommand& command) {
    // The shell's questions and progress pump messages: no second command meanwhile.
    if (scanning_ || removing_) return;
    const std::size_t before = results_.size();
    {
        const ScopedFlag busy(removing_);
        ui::StopFlag never;
        ui::MessagePump pump(never, hwnd());
        shell::RemovalPorts removal{ports_.registry, ports_.files, ports_.shell, ports_.desktop, ports_.prompter,
                                    pump,           ports_.clock,  dataFolder_, ref()};
        command(removal, selectedResults());
    }
    const ui::VirtualListView list = resultList();
    if (results_.size() != before) {
        list.setSelected(-1, false);
        list.setRowCount(results_.size());
    }
    list.refresh();
    showSelectionTotals();
}

void frmSysCleanUp::showHelp() {
    const std::string file = shell::withBackslash(shell::programFolder(ports_.desktop)) + "Quillon.hlp";
    static_cast<void>(ports_.shell.help(ref(), file, HelpCommand::Key, "System cleaner"));  // the help engine tells the user itself when it finds nothing
}

void frmSysCleanUp::onCommand(int id, int code, HWND control) {
    switch (id) {
        case IDC_CLEAN_CMDSCAN: openScanMenu(); return;
        case IDC_CLEAN_CMDSTOP: stop_.request(); return;
        case IDC_CLEAN_CMDSELECTALL: selectAll(); return;
        case IDC_CLEAN_CMDDELETE: deleteSelected(); return;
        case IDC_CLEAN_CMDMOVE: moveSelected(); return;
        case IDC_CLEAN_CMDHELP: showHelp(); return;
        case IDC_CLEAN_CMDADDFILES: addFileType(); return;
        case IDC_CLEAN_CMDREMOVEFILES: removeSelected(IDC_CLEAN_LVWALSOFINDFILES, true); return;
        case IDC_CLEAN_CMDADDFOLDERS: addFolder(); return;
        case IDC_CLEAN_CMDREMOVEFOLDERS: removeSelected(IDC_CLEAN_LVWALSOFINDFOLDERS, false); return;
        case IDCANCEL: close(); return;
        case IDOK: return;  // Enter presses the default button, never closes the window
        default: Dialog::onCommand(id, code, control);
    }
}

std::optional<LRESULT> frmSysCleanUp::onNotify(const NMHDR& header) {
    const ui::VirtualListView list = resultList();
    if (const auto answered = list.answer(header, *this)) return answered;
    if (list.isHiddenColumnResize(header)) return TRUE;
    const ui::TabControl tabs(hwnd(), IDC_CLEAN_TABFILELIST);
    if (tabs.isSelectionChange(header)) {
        showPage(tabs.current());
        return 0;
    }
    if (!list.sent(header)) return std::nullopt;
    if (const int column = list.clickedColumn(header); column >= 0) {
        sortResults(column);
        return 0;
    }
    switch (header.code) {
        case NM_CLICK: PostMessageW(hwnd(), ClickedMessage, 0, 0); break;
        case NM_DBLCLK: openSelected(); break;
        case LVN_KEYDOWN:
            if (reinterpret_cast<const NMLVKEYDOWN&>(header).wVKey == VK_DELETE &&
                ui::Button(hwnd(), IDC_CLEAN_CMDDELETE).isEnabled())
                deleteSelected();
            break;
        default: break;
    }
    return std::nullopt;
}

std::optional<LRESULT> frmSysCleanUp::onMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case ScanMessage: runScan(static_cast<int>(wp)); return 0;
        case ClickedMessage: showSelectionTotals(); return 0;
        case WM_GETMINMAXINFO: limitSize(*reinterpret_cast<MINMAXINFO*>(lp)); return 0;
        case WM_CTLCOLORSTATIC:
            if (const auto brush = ui::TabControl(hwnd(), IDC_CLEAN_TABFILELIST)
                                       .pageBackground(wp, lp, IDC_CLEAN_FRATEMPFILE, IDC_CLEAN_LBLDLL4))
                return brush;
            break;
        case WM_DESTROY: useStatusHelp(nullptr); break;
        case ui::DpiChangedMessage: followScaling(HIWORD(wp)); break;  // the dialog manager scales the rest
        default: break;
    }
    return Dialog::onMessage(msg, wp, lp);
}

// The sizes kept in pixels, which bound the window's size, follow a move to a monitor of another scaling.
void frmSysCleanUp::followScaling(UINT dpi) {
    if (dpi_ == 0 || dpi == 0) return;
    const auto grow = [&](LONG pixels) { return MulDiv(pixels, static_cast<int>(dpi), static_cast<int>(dpi_)); };
    designSize_ = {grow(designSize_.cx), grow(designSize_.cy)};
    scanHeight_ = grow(scanHeight_);
    dpi_ = dpi;
}

void frmSysCleanUp::onClose() { close(); }

// A running scan is stopped first; it closes the window when it has returned.
void frmSysCleanUp::close() {
    if (scanning_) {
        closePending_ = true;
        stop_.request();
        ShowWindow(hwnd(), SW_HIDE);
        return;
    }
    if (removing_) return;
    static_cast<void>(writeCleanUpSettings(ports_.registry, chosen()));
    endModal(IDCANCEL);
}

void showSysCleanUp(Ports& ports, HWND owner, std::vector<std::string> driveEntries, CleanUpFolders folders) {
    frmSysCleanUp window(ports, std::move(driveEntries), std::move(folders));
    window.showModal(owner);
}

}  // namespace quillon::cleanup
