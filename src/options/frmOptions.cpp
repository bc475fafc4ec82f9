#include "options/frmOptions.h"

#include <algorithm>
#include <array>
#include <optional>
#include <span>
#include <utility>

#include "options/frmOptionsIds.h"
#include "shell/DriveList.h"
#include "shell/Folders.h"
#include "ui/ComboBox.h"
#include "ui/Layout.h"
#include "ui/SystemImageList.h"
#include "ui/TabControl.h"
#include "ui/UpDown.h"

namespace quillon::options {

namespace {

constexpr int W = 360;
constexpr int TabX = 7;
constexpr int TabY = 7;
constexpr int TabW = W - 14;
constexpr int X = TabX + 7;  // the pages' left edge
constexpr int Y = TabY + 20;  // the pages' top edge
constexpr int PW = TabW - 14;  // the pages' width
constexpr int LeftW = 176;  // the option buttons in two columns inside a frame
constexpr int RightX = X + 8 + LeftW + 6;
constexpr int RightW = X + PW - 8 - RightX;
// The registry ignore list closes the Advanced page, the fullest; the lists of the General and
// Setup Detection pages take the height it adds.
constexpr int KeysY = Y + 178;
constexpr int KeyListY = KeysY + 11;
constexpr int KeyListH = 48;
constexpr int KeyButtonsY = KeyListY + KeyListH + 5;
constexpr int TabH = KeyButtonsY + ui::Metrics::buttonHeight + 7 - TabY;
constexpr int Taller = TabH - 200;
constexpr int ButtonY = TabY + TabH + 7;
constexpr int H = ButtonY + ui::Metrics::buttonHeight + 7;

// One column of paths, without a header.
constexpr ui::ControlSpec folderList(int id, int x, int y, int width, int height) {
    ui::ControlSpec desc = ui::listView(id, x, y, width, height, false);
    desc.style |= LVS_NOCOLUMNHEADER;
    return desc;
}
constexpr ui::ControlSpec numberBox(int id, int x, int y, int width) {
    return ui::edit(id, x, y, width, ui::Metrics::editHeight, ES_NUMBER | ES_RIGHT);
}

constexpr std::array<ui::ControlSpec, 58> Controls{{
    ui::tabControl(IDC_OPT_TABOPTIONS, TabX, TabY, TabW, TabH),
    // General
    ui::label(IDC_OPT_LABEL6, "While scanning, Quillon will ignore the following directories:", X, Y, PW),
    folderList(IDC_OPT_LVWFOLDERSTOIGNORE, X, Y + 11, PW, 110 + Taller),
    ui::button(IDC_OPT_CMDADD, "Add to list...", X, Y + Taller + 126, 70),
    ui::button(IDC_OPT_CMDREMOVE, "Remove from list", X + 76, Y + Taller + 126, 70),
    ui::checkBox(IDC_OPT_CHKENABLESCHEDULER, "Load the Quillon Scheduler on startup", X, Y + Taller + 148, PW),
    ui::checkBox(IDC_OPT_CHKSHOWALLSCANS, "Show the duplicate-file and unused-DLL scans in System clean-up", X,
                 Y + Taller + 161, PW),
    // Advanced
    ui::groupBox(IDC_OPT_FRAQUICKSCAN, "Fast scanning", X, Y, PW, 40),
    ui::radioButton(IDC_OPT_OPTSCANALL, "Scan all folders", true, X + 8, Y + 12, LeftW),
    ui::radioButton(IDC_OPT_OPTSCANWINONLY, "Scan only Windows folder", false, RightX, Y + 12, RightW),
    ui::radioButton(IDC_OPT_OPTSCANWINPROGONLY, "Scan only Windows and Program Files folders", false, X + 8, Y + 25,
                    LeftW),
    ui::radioButton(IDC_OPT_OPTSCANPROGONLY, "Scan only Program Files folder", false, RightX, Y + 25, RightW),
    ui::groupBox(IDC_OPT_FRADELETEMODE, "Delete mode", X, Y + 46, PW, 40),
    ui::radioButton(IDC_OPT_OPTRECYCLEBIN, "Send to Recycle Bin", true, X + 8, Y + 58, LeftW),
    ui::radioButton(IDC_OPT_OPTDELETE, "Delete from hard disk", false, RightX, Y + 58, RightW),
    ui::radioButton(IDC_OPT_OPTMOVE, "Move files to default folder", false, X + 8, Y + 71, LeftW),
    ui::radioButton(IDC_OPT_OPTZIP, "Zip files to default folder", false, RightX, Y + 71, RightW),
    ui::groupBox(IDC_OPT_FRAADVANCEDSCANNING, "Advanced scanning", X, Y + 92, PW, 81),
    ui::checkBox(IDC_OPT_CHKSCANREG, "Scan changes in the windows registry", X + 8, Y + 104, PW - 16),
    ui::radioButton(IDC_OPT_OPTCOMPLETEREG, "Complete Registry", true, X + 20, Y + 117, LeftW - 12),
    ui::radioButton(IDC_OPT_OPTSOFTWARE, "Only the \\Software sections", false, RightX, Y + 117, RightW),
    ui::checkBox(IDC_OPT_CHKCLASSESSCAN, "Include file types and components", X + 20, Y + 130, LeftW - 12),
    ui::checkBox(IDC_OPT_CHKSYSTEMFILESSCAN, "Scan changes in system files", X + 8, Y + 144, 112),
    ui::label(IDC_OPT_LBLSYSFILESINFO, "(Win.ini, System.ini, Config.sys and Autoexec.bat)", X + 122, Y + 145,
              PW - 130),
    ui::checkBox(IDC_OPT_CHKAUTOUPDATEDB, "Update Database while finding changes", X + 8, Y + 158, PW - 16),
    ui::label(IDC_OPT_LBLKEYSTOIGNORE, "While comparing the registry, Quillon will pass over these keys:", X, KeysY,
              PW),
    folderList(IDC_OPT_LVWKEYSTOIGNORE, X, KeyListY, PW, KeyListH),
    ui::button(IDC_OPT_CMDADDKEY, "Add to list...", X, KeyButtonsY, 70),
    ui::button(IDC_OPT_CMDREMOVEKEY, "Remove from list", X + 76, KeyButtonsY, 70),
    // Scheduler
    ui::label(IDC_OPT_LBLSELECTDRIVE, "Select the drive on which to run:", X, Y + 2, 116),
    ui::dropDownList(IDC_OPT_CMBDRIVES, X + 118, Y, 150),
    ui::groupBox(IDC_OPT_FRARUNSCHEDULER, "Run Scheduler", X, Y + 20, 160, 64),
    ui::radioButton(IDC_OPT_OPTEVERYDAY, "Every day when Windows starts", true, X + 8, Y + 33, 146),
    ui::radioButton(IDC_OPT_OPTWEEKLY, "Weekly, on every", false, X + 8, Y + 49, 70),
    ui::dropDownList(IDC_OPT_CMBDAYSOFWEEK, X + 80, Y + 47, 72),
    ui::radioButton(IDC_OPT_OPTMONTHLY, "Once every", false, X + 8, Y + 66, 52),
    numberBox(IDC_OPT_TXTMONTHDATE, X + 62, Y + 64, 30),
    ui::upDown(IDC_OPT_UPDNDAYSOFMONTH),
    ui::label(IDC_OPT_LBLEVERYMONTH, "days", X + 96, Y + 66, 30),
    ui::groupBox(IDC_OPT_FRMSCHTASKS, "Scheduler tasks", X + 166, Y + 20, PW - 166, 88),
    ui::checkBox(IDC_OPT_CHKSCHTEMPFILES, "Scan for and delete temporary files", X + 174, Y + 32, PW - 182),
    ui::checkBox(IDC_OPT_CHKSCHTEMPFOLDERS, "Scan for and delete temporary folders", X + 174, Y + 44, PW - 182),
    ui::checkBox(IDC_OPT_CHKSCHDLLFILES, "Scan for and move unused DLL files", X + 174, Y + 56, PW - 182),
    ui::checkBox(IDC_OPT_CHKSCHSCANDISK, "Scan disk for errors", X + 174, Y + 68, PW - 182),
    ui::checkBox(IDC_OPT_CHKSCHDEFRAG, "Defragment the disk drive", X + 174, Y + 80, PW - 182),
    ui::checkBox(IDC_OPT_CHKCHNGSSTRT, "Find Changes at startup", X + 174, Y + 92, PW - 182),
    ui::checkBox(IDC_OPT_CHKOLDDEL, "Delete only those files which", X, Y + 118, 112),
    ui::label(IDC_OPT_LBLOLD1, "are over", X + 114, Y + 119, 32),
    numberBox(IDC_OPT_TXTOLDDEL, X + 148, Y + 116, 36),
    ui::upDown(IDC_OPT_UPDNOLDDEL),
    ui::label(IDC_OPT_LBLOLD2, "days old", X + 188, Y + 119, 40),
    // Setup Detection
    ui::checkBox(IDC_OPT_CHKSETUPDETECT, "Enable automatic Setup detection", X, Y, PW),
    ui::label(IDC_OPT_LBLIGNOREEXES,
              "Quillon will ignore the following programs (will always consider them as non-setup programs):", X,
              Y + 16, PW, 16),
    ui::listView(IDC_OPT_LVWEXESTOIGNORE, X, Y + 34, PW, 120 + Taller, false),
    ui::button(IDC_OPT_CMDREMOVEEXESETUP, "Remove from list", X, Y + Taller + 160, 70),
    // Below the tabs
    ui::defaultButton(IDC_OPT_CMDOK, "OK", W - 7 - 3 * ui::Metrics::buttonWidth - 8, ButtonY),
    ui::button(IDC_OPT_CMDCANCEL, "Cancel", W - 7 - 2 * ui::Metrics::buttonWidth - 4, ButtonY),
    ui::button(IDC_OPT_CMDHELP, "Help", W - 7 - ui::Metrics::buttonWidth, ButtonY),
}};

// Each tab's controls are those of one id range.
constexpr std::array<ui::PageRange, 4> Pages{{
    {"General", IDC_OPT_LABEL6, IDC_OPT_CHKSHOWALLSCANS},
    {"Advanced", IDC_OPT_FRAQUICKSCAN, IDC_OPT_CMDREMOVEKEY},
    {"Scheduler", IDC_OPT_LBLSELECTDRIVE, IDC_OPT_LBLOLD2},
    {" Setup Detection", IDC_OPT_CHKSETUPDETECT, IDC_OPT_CMDREMOVEEXESETUP},
}};

template <typename Value, std::size_t N>
struct Choice {
    std::array<std::pair<int, Value>, N> buttons;
    Value of(HWND hwnd, Value none) const {
        for (const auto& [id, value] : buttons)
            if (IsDlgButtonChecked(hwnd, id) == BST_CHECKED) return value;
        return none;
    }
    void select(HWND hwnd, Value value) const {
        for (const auto& [id, each] : buttons) CheckDlgButton(hwnd, id, each == value ? BST_CHECKED : BST_UNCHECKED);
    }
};
constexpr Choice<ScanMode, 4> ScanModes{{{{IDC_OPT_OPTSCANALL, ScanMode::All},
                                          {IDC_OPT_OPTSCANWINPROGONLY, ScanMode::WindowsAndProgramFiles},
                                          {IDC_OPT_OPTSCANWINONLY, ScanMode::WindowsOnly},
                                          {IDC_OPT_OPTSCANPROGONLY, ScanMode::ProgramFilesOnly}}}};
constexpr Choice<DeleteMode, 4> DeleteModes{{{{IDC_OPT_OPTRECYCLEBIN, DeleteMode::RecycleBin},
                                              {IDC_OPT_OPTDELETE, DeleteMode::Delete},
                                              {IDC_OPT_OPTMOVE, DeleteMode::Move},
                                              {IDC_OPT_OPTZIP, DeleteMode::Zip}}}};
constexpr Choice<Schedule, 3> Schedules{{{{IDC_OPT_OPTEVERYDAY, Schedule::EveryDay},
                                          {IDC_OPT_OPTWEEKLY, Schedule::Weekly},
                                          {IDC_OPT_OPTMONTHLY, Schedule::Monthly}}}};

// The check boxes that map one flag each.
struct Flag {
    int id;
    bool OptionsSettings::*field;
};
constexpr std::array<Flag, 13> Flags{{
    {IDC_OPT_CHKENABLESCHEDULER, &OptionsSettings::enabled},
    {IDC_OPT_CHKSHOWALLSCANS, &OptionsSettings::showAllScans},
    {IDC_OPT_CHKSCANREG, &OptionsSettings::regScan},
    {IDC_OPT_CHKCLASSESSCAN, &OptionsSettings::classesScan},
    {IDC_OPT_CHKSYSTEMFILESSCAN, &OptionsSettings::systemFilesScan},
    {IDC_OPT_CHKAUTOUPDATEDB, &OptionsSettings::autoUpdateDb},
    {IDC_OPT_CHKSCHTEMPFILES, &OptionsSettings::tempFiles},
    {IDC_OPT_CHKSCHTEMPFOLDERS, &OptionsSettings::tempFolders},
    {IDC_OPT_CHKSCHDLLFILES, &OptionsSettings::dllFiles},
    {IDC_OPT_CHKSCHSCANDISK, &OptionsSettings::scanDisk},
    {IDC_OPT_CHKSCHDEFRAG, &OptionsSettings::defragmentor},
    {IDC_OPT_CHKCHNGSSTRT, &OptionsSettings::changesStartup},
    {IDC_OPT_CHKOLDDEL, &OptionsSettings::oldDel},
}};

constexpr std::array<ui::ColumnSpec, 1> FolderColumns{{{"", 100}}};
constexpr std::array<ui::ColumnSpec, 4> ProgramColumns{
    {{"Executable name", 30}, {"In Folder", 42}, {"Added on", 28}, {"Size (hidden from user)", 0}}};

ui::DialogSpec windowLayout() {
    ui::DialogSpec layout;
    layout.title = "Options -Quillon";
    layout.width = W;
    layout.height = H;
    return layout;
}

}  // namespace

frmOptions::frmOptions(Ports& ports, std::vector<std::string> driveEntries)
    : Dialog(windowLayout()), ports_(ports), driveEntries_(std::move(driveEntries)) {}

ui::ListView frmOptions::foldersList() const noexcept { return ui::ListView(hwnd(), IDC_OPT_LVWFOLDERSTOIGNORE); }
ui::ListView frmOptions::programsList() const noexcept { return ui::ListView(hwnd(), IDC_OPT_LVWEXESTOIGNORE); }
ui::ListView frmOptions::keysList() const noexcept { return ui::ListView(hwnd(), IDC_OPT_LVWKEYSTOIGNORE); }

bool frmOptions::checked(int id) const noexcept { return IsDlgButtonChecked(hwnd(), id) == BST_CHECKED; }
void frmOptions::check(int id, bool on) const noexcept {
    CheckDlgButton(hwnd(), id, on ? BST_CHECKED : BST_UNCHECKED);
}

void frmOptions::onCreate() {
    ui::createControls(hwnd(), Controls);
    const ui::TabControl tabs(hwnd(), IDC_OPT_TABOPTIONS);
    for (const ui::PageRange& page : Pages) tabs.addTab(page.caption);

    foldersList().addColumns(FolderColumns);
    keysList().addColumns(FolderColumns);
    keysList().setFullRowSelect(true);
    programsList().addColumns(ProgramColumns);
    for (const ui::ListView& list : {foldersList(), programsList()}) {
        list.setSmallImages(ui::systemSmallImages());
        list.setFullRowSelect(true);
    }
    const ui::ComboBox drives(hwnd(), IDC_OPT_CMBDRIVES);
    for (const std::string& entry : driveEntries_) drives.add(entry);
    const ui::ComboBox days(hwnd(), IDC_OPT_CMBDAYSOFWEEK);
    for (const char* day : DayNames) days.add(day);
    ui::UpDown(hwnd(), IDC_OPT_UPDNDAYSOFMONTH).setRange(MinMonthDays, MaxMonthDays);
    ui::UpDown(hwnd(), IDC_OPT_UPDNOLDDEL).setRange(MinOldDelDays, MaxOldDelDays);
    ui::Edit(hwnd(), IDC_OPT_TXTMONTHDATE).setLimit(2);
    ui::Edit(hwnd(), IDC_OPT_TXTOLDDEL).setLimit(3);

    show(readOptions(ports_.registry, ports_.files));
    tabs.setCurrent(0);
    showPage(0);
    setDefaultButton(IDC_OPT_CMDOK);
}

void frmOptions::show(const OptionsSettings& options) {
    for (const std::string& folder : options.foldersToIgnore) addFolderRow(folder);
    for (const std::string& key : options.keysToIgnore) keysList().addRow({key});
    for (const IgnoredProgram& program : options.programsToIgnore) addProgramRow(program);
    for (const Flag& flag : Flags) check(flag.id, options.*flag.field);
    check(IDC_OPT_CHKSETUPDETECT, options.setupDetect);
    ScanModes.select(hwnd(), options.scanMode);
    DeleteModes.select(hwnd(), options.deleteMode);
    check(IDC_OPT_OPTCOMPLETEREG, options.regFullScan);
    check(IDC_OPT_OPTSOFTWARE, !options.regFullScan);
    Schedules.select(hwnd(), options.schedule);
    const ui::ComboBox drives(hwnd(), IDC_OPT_CMBDRIVES);
    drives.select(static_cast<int>(shell::entryIndex(driveEntries_, options.driveName)));
    ui::ComboBox(hwnd(), IDC_OPT_CMBDAYSOFWEEK).select(options.weekDay - 1);
    ui::UpDown(hwnd(), IDC_OPT_UPDNDAYSOFMONTH).setPosition(options.monthDays);
    ui::UpDown(hwnd(), IDC_OPT_UPDNOLDDEL).setPosition(options.oldDelDays);
    enableRegistryOptions();
    enableProgramList();
}

OptionsSettings frmOptions::chosen() const {
    OptionsSettings options;
    const ui::ListView folders = foldersList();
    for (int row = 0; row < folders.count(); ++row) options.foldersToIgnore.push_back(folders.text(row));
    options.keysToIgnore = listedKeys();
    const ui::ListView programs = programsList();
    for (int row = 0; row < programs.count(); ++row)
        options.programsToIgnore.push_back(
            {programs.text(row, 0), programs.text(row, 1), programs.text(row, 2), programs.text(row, 3)});
    for (const Flag& flag : Flags) options.*flag.field = checked(flag.id);
    options.setupDetect = checked(IDC_OPT_CHKSETUPDETECT);
    options.scanMode = ScanModes.of(hwnd(), ScanMode::All);
    options.deleteMode = DeleteModes.of(hwnd(), DeleteMode::RecycleBin);
    options.regFullScan = !checked(IDC_OPT_OPTSOFTWARE);
    options.schedule = Schedules.of(hwnd(), Schedule::None);
    options.driveName = ui::ComboBox(hwnd(), IDC_OPT_CMBDRIVES).selectedText();
    options.weekDay = dayNumber(ui::ComboBox(hwnd(), IDC_OPT_CMBDAYSOFWEEK).selectedText());
    options.monthDays =
        std::clamp(ui::UpDown(hwnd(), IDC_OPT_UPDNDAYSOFMONTH).position(), MinMonthDays, MaxMonthDays);
    options.oldDelDays = std::clamp(ui::UpDown(hwnd(), IDC_OPT_UPDNOLDDEL).position(), MinOldDelDays, MaxOldDelDays);
    return options;
}

void frmOptions::showPage(int page) { ui::showPage(hwnd(), Controls, Pages, page); }

void frmOptions::addFolderRow(const std::string& folder) {
    FileTypeInfo type;
    static_cast<void>(ports_.shell.fileType(folder, type));  // a path the shell cannot name keeps the generic type
    foldersList().addRow({folder}, type.iconIndex);
}

void frmOptions::addProgramRow(const IgnoredProgram& program) {
    FileTypeInfo type;
    static_cast<void>(ports_.shell.fileType(program.folder + program.name, type));  // a path the shell cannot name keeps the generic type
    programsList().addRow({program.name, program.folder, program.addedOn, program.size}, type.iconIndex);
}

void frmOptions::addFolder() {
    const std::string folder =
        shell::withBackslash(ports_.prompter.browseForFolder("Choose the folder you want Quillon to ignore while scanning:"));
    // A cancelled browser, a drive root and a folder listed already are passed over.
    if (folder == "\\" || folder.size() == 3) return;
    const ui::ListView folders = foldersList();
    for (int row = 0; row < folders.count(); ++row)
        if (folders.text(row) == folder) return;
    addFolderRow(folder);
}

std::vector<std::string> frmOptions::listedKeys() const {
    std::vector<std::string> keys;
    const ui::ListView list = keysList();
    for (int row = 0; row < list.count(); ++row) keys.push_back(list.text(row));
    return keys;
}

void frmOptions::addKey() {
    const std::optional<std::string> typed = ports_.prompter.inputBox(
        "Type the full path of the key to pass over, beginning with HKEY_CURRENT_USER\\ or HKEY_LOCAL_MACHINE\\:",
        "Add a key to ignore", "");
    if (!typed || typed->find_first_not_of(" \t") == std::string::npos) return;
    const KeyEntry entry = keyEntry(*typed, listedKeys());
    if (!entry.problem) {
        keysList().addRow({entry.row});
        return;
    }
    // A key listed already is passed over, as a folder listed already is.
    if (*entry.problem == KeyEntryProblem::Listed) return;
    const char* why = *entry.problem == KeyEntryProblem::AlwaysCompared
                          ? "This key is always compared: programs register themselves there."
                          : "Type the full path of a key, beginning with HKEY_CURRENT_USER\\ or HKEY_LOCAL_MACHINE\\.";
    ports_.prompter.message({why, "Options -Quillon", MsgIcon::Exclamation, MsgButtons::Ok});
}

void frmOptions::removeSelected(const ui::ListView& list) {
    const std::vector<int> rows = list.selectedRows();
    if (!rows.empty()) list.deleteRow(rows.front());
}

void frmOptions::enableRegistryOptions() {
    const bool on = checked(IDC_OPT_CHKSCANREG);
    for (int id : {IDC_OPT_OPTCOMPLETEREG, IDC_OPT_OPTSOFTWARE, IDC_OPT_CHKCLASSESSCAN})
        EnableWindow(GetDlgItem(hwnd(), id), on);
}

void frmOptions::enableProgramList() {
    const bool on = checked(IDC_OPT_CHKSETUPDETECT);
    for (int id : {IDC_OPT_LVWEXESTOIGNORE, IDC_OPT_CMDREMOVEEXESETUP}) EnableWindow(GetDlgItem(hwnd(), id), on);
}

void frmOptions::showHelp() {
    const std::string file = shell::withBackslash(shell::programFolder(ports_.desktop)) + "Quillon.hlp";
    static_cast<void>(ports_.shell.help(ref(), file, HelpCommand::Key, "Options"));  // the help engine tells the user itself when it finds nothing
}

void frmOptions::onCommand(int id, int code, HWND control) {
    switch (id) {
        case IDC_OPT_CMDOK:
            writeOptions(ports_.registry, chosen(), shell::withBackslash(shell::programFolder(ports_.desktop)));
            endModal(IDOK);
            return;
        case IDC_OPT_CMDADD: addFolder(); return;
        case IDC_OPT_CMDREMOVE: removeSelected(foldersList()); return;
        case IDC_OPT_CMDADDKEY: addKey(); return;
        case IDC_OPT_CMDREMOVEKEY: removeSelected(keysList()); return;
        case IDC_OPT_CMDREMOVEEXESETUP: removeSelected(programsList()); return;
        case IDC_OPT_CHKSCANREG: enableRegistryOptions(); return;
        case IDC_OPT_CHKSETUPDETECT: enableProgramList(); return;
        case IDC_OPT_CMDHELP: showHelp(); return;
        default: Dialog::onCommand(id, code, control);
    }
}

std::optional<LRESULT> frmOptions::onNotify(const NMHDR& header) {
    const ui::TabControl tabs(hwnd(), IDC_OPT_TABOPTIONS);
    if (tabs.isSelectionChange(header)) {
        showPage(tabs.current());
        return 0;
    }
    return std::nullopt;
}

std::optional<LRESULT> frmOptions::onMessage(UINT msg, WPARAM wp, LPARAM lp) {
    // Labels, check boxes, option buttons and frames on a page show the page's background.
    if (msg == WM_CTLCOLORSTATIC) {
        const ui::TabControl tabs(hwnd(), IDC_OPT_TABOPTIONS);
        if (const auto brush = tabs.pageBackground(wp, lp, IDC_OPT_LABEL6, IDC_OPT_CMDREMOVEEXESETUP)) return brush;
    }
    return Dialog::onMessage(msg, wp, lp);
}

}  // namespace quillon::options
