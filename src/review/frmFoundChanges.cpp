#include "review/frmFoundChanges.h"

#include <numeric>
#include <span>
#include <utility>
#include <vector>

#include "platform/ScopedFlag.h"
#include "review/ChangeReport.h"
#include "review/LoadChanges.h"
#include "review/SaveSelected.h"
#include "review/SelectionSize.h"
#include "review/ViewerExport.h"
#include "review/frmFoundChangesIds.h"
#include "review/frmInUseDLL.h"
#include "review/frmPreviewDetails.h"
#include "shell/Folders.h"
#include "shell/modGeneral.h"
#include "ui/Layout.h"
#include "ui/StatusBar.h"
#include "ui/SystemImageList.h"
#include "ui/TabControl.h"
#include "ui/WaitCursor.h"

namespace quillon::review {

namespace {

// Posted at creation: the load starts once the modal loop runs, so the window is on screen,
// its owner is disabled, and the user can watch (and close) it while large files are read.
constexpr UINT LoadMessage = WM_APP + 1;
// Posted at a click on a list (wParam: the list): a click on a row that was already selected
// changes the selection only after the list has reported the click.
constexpr UINT ClickedMessage = WM_APP + 2;

constexpr int W = 432;
constexpr int TabX = 7;
constexpr int TabY = 20;
constexpr int TabW = 348;
constexpr int TabH = 212;
constexpr int PageX = TabX + 7;
constexpr int PageW = TabW - 14;
constexpr int HeadingY = TabY + 20;
constexpr int ListY = HeadingY + 12;
constexpr int ListH = TabY + TabH - 7 - ListY;
constexpr int SizeLabelW = 120;
constexpr int ButtonX = TabX + TabW + 7;
constexpr int ButtonW = W - 7 - ButtonX;
constexpr int StatusBarRoom = 14;
constexpr int ClientH = TabY + TabH + 7 + StatusBarRoom;

constexpr ui::ControlSpec sizeLabel(int id, int x, int y, int width) {
    return {id, "STATIC", "", SS_RIGHT, x, y, width, ui::Metrics::labelHeight};
}
constexpr ui::ControlSpec changesList(int id) { return ui::virtualListView(id, PageX, ListY, PageW, ListH, true); }
// Line lists are not sortable: their headers are not buttons.
constexpr ui::ControlSpec lineList(int id) {
    ui::ControlSpec desc = changesList(id);
    desc.style |= LVS_NOSORTHEADER;
    return desc;
}

constexpr std::array<ui::ControlSpec, 27> Controls{{
    ui::label(IDC_FOUND_LABEL1,
              "Quillon found the following changes to your system since the last update to the drive database:", 7, 7,
              W - 14),
    ui::tabControl(IDC_FOUND_TABCHANGESMADE, TabX, TabY, TabW, TabH),
    ui::label(IDC_FOUND_LBLADDED, "The following files and folders were added", PageX, HeadingY, PageW - SizeLabelW),
    sizeLabel(IDC_FOUND_LBLFILESIZE, PageX + PageW - SizeLabelW, HeadingY, SizeLabelW),
    ui::label(IDC_FOUND_LABEL2, "The following keys were added to your Registry", PageX, HeadingY, PageW),
    ui::label(IDC_FOUND_LBLLINESADDEDWININI, "The following lines were added to the Win.ini file", PageX, HeadingY,
              PageW),
    ui::label(IDC_FOUND_LBLADDEDTOSYSINI, "The following lines were added to the System.ini file", PageX, HeadingY,
              PageW),
    ui::label(IDC_FOUND_LBLLINESADDEDAUTOEXEC, "The following lines were added to the Autoexec.bat file", PageX,
              HeadingY, PageW),
    ui::label(IDC_FOUND_LBLADDEDTOCONFIGSYS, "The following lines were added to the Config.sys file", PageX, HeadingY,
              PageW),
    ui::label(IDC_FOUND_LBLVALUESCHANGED, "The following values were added, changed or removed in existing keys", PageX,
              HeadingY, PageW),
    changesList(IDC_FOUND_LVWFILESADDED),
    changesList(IDC_FOUND_LVWREGADDED),
    lineList(IDC_FOUND_LVWWININILINES),
    lineList(IDC_FOUND_LVWSYSINILINES),
    lineList(IDC_FOUND_LVWAUTOEXECLINES),
    lineList(IDC_FOUND_LVWCONFIGSYSLINES),
    changesList(IDC_FOUND_LVWVALUESCHANGED),
    ui::defaultButton(IDC_FOUND_CMDOK, "&OK", ButtonX, TabY, ButtonW),
    ui::button(IDC_FOUND_CMDSELECTALL, "Select &All", ButtonX, TabY + 24, ButtonW),
    ui::button(IDC_FOUND_CMDINVSEL, "&Invert selection", ButtonX, TabY + 42, ButtonW),
    ui::button(IDC_FOUND_CMDSAVE, "&Save selected", ButtonX, TabY + 66, ButtonW),
    ui::button(IDC_FOUND_CMDDELETE, "&Delete selected", ButtonX, TabY + 84, ButtonW),
    ui::button(IDC_FOUND_CMDMOVE, "&Move selected", ButtonX, TabY + 102, ButtonW),
    ui::button(IDC_FOUND_CMDPRINT, "&Print selected", ButtonX, TabY + 120, ButtonW),
    ui::button(IDC_FOUND_CMDEXPORT, "&Export...", ButtonX, TabY + 144, ButtonW),
    ui::button(IDC_FOUND_CMDPREVIEW, "Pre&view...", ButtonX, TabY + 162, ButtonW),
    ui::button(IDC_FOUND_CMDHELP, "&Help", ButtonX, TabY + TabH - ui::Metrics::buttonHeight, ButtonW),
}};

// Captioned by ViewerTabs, in the same order.
struct Page {
    int listId;
    std::array<int, 2> labelIds;  // 0: none
};
constexpr std::array<Page, ChangesListCount> Pages{{
    {IDC_FOUND_LVWFILESADDED, {IDC_FOUND_LBLADDED, IDC_FOUND_LBLFILESIZE}},
    {IDC_FOUND_LVWREGADDED, {IDC_FOUND_LABEL2, 0}},
    {IDC_FOUND_LVWWININILINES, {IDC_FOUND_LBLLINESADDEDWININI, 0}},
    {IDC_FOUND_LVWSYSINILINES, {IDC_FOUND_LBLADDEDTOSYSINI, 0}},
    {IDC_FOUND_LVWAUTOEXECLINES, {IDC_FOUND_LBLLINESADDEDAUTOEXEC, 0}},
    {IDC_FOUND_LVWCONFIGSYSLINES, {IDC_FOUND_LBLADDEDTOCONFIGSYS, 0}},
    {IDC_FOUND_LVWVALUESCHANGED, {IDC_FOUND_LBLVALUESCHANGED, 0}},
}};
static_assert(ViewerTabs.size() == Pages.size());

constexpr std::array<ui::ColumnSpec, 5> FileColumns{{
    {"Name", 24, ui::Align::Left},
    {"In folder", 38, ui::Align::Left},
    {"Size", 11, ui::Align::Right},
    {"Type", 23, ui::Align::Left},
    {"Hidden column size (in KB) for sorting", 0, ui::Align::Left},
}};
constexpr std::array<ui::ColumnSpec, 2> KeyColumns{
    {{"Key name", 36, ui::Align::Left}, {"In Parent Key", 60, ui::Align::Left}}};
constexpr std::array<ui::ColumnSpec, 2> LineColumns{{{"Lines added", 52, ui::Align::Left},
                                             {"Replacing lines", 44, ui::Align::Left}}};
constexpr std::array<ui::ColumnSpec, 5> ValueColumns{{
    {"Value", 15, ui::Align::Left},
    {"In key", 35, ui::Align::Left},
    {"Change", 10, ui::Align::Left},
    {"New data", 18, ui::Align::Left},
    {"Old data", 18, ui::Align::Left},
}};

struct HelpText {
    int id;
    const char* text;
};
constexpr std::array<HelpText, 16> HelpTexts{{
    {IDC_FOUND_CMDOK, " Return to the main screen"},
    {IDC_FOUND_CMDSELECTALL, " Select all the new additions made to your system"},
    {IDC_FOUND_CMDSAVE, " Save the selected change(s) for future deletion"},
    {IDC_FOUND_CMDDELETE, " Delete all the selected changes made"},
    {IDC_FOUND_CMDMOVE, " Move the selected files to a different folder"},
    {IDC_FOUND_CMDEXPORT, " Write every change listed to a CSV file or a web page"},
    {IDC_FOUND_CMDPREVIEW, " Shows what an uninstall of this removal list would do now, entry by entry"},
    {IDC_FOUND_CMDHELP, " Launch the Quillon Help file"},
    {IDC_FOUND_TABCHANGESMADE, " Shows you what new files have been added, as well as changes to system files"},
    {IDC_FOUND_LVWFILESADDED, " Shows you what new files have been added"},
    {IDC_FOUND_LVWREGADDED, " Shows you what new keys have been added to your registry"},
    {IDC_FOUND_LVWWININILINES, " Shows you what new lines have been added to your Win.ini file"},
    {IDC_FOUND_LVWSYSINILINES, " Shows you what new lines have been added to your System.ini file"},
    {IDC_FOUND_LVWAUTOEXECLINES, " Shows you what new lines have been added to your Autoexec.bat files"},
    {IDC_FOUND_LVWCONFIGSYSLINES, " Shows you what new lines have been added to your Config.sys file"},
    {IDC_FOUND_LVWVALUESCHANGED, " Shows you what values have been added, changed or removed in your registry"},
}};

constexpr ChangesLists::ListIds listIds() {
    ChangesLists::ListIds ids{};
    for (std::size_t i = 0; i < ChangesListCount; ++i) ids[i] = Pages[i].listId;
    return ids;
}

// The load's yields, with the rows read so far put on show now and then, so that the first
// ones can be looked at (and the window closed) while the rest come in.
class ShowingRows final : public RunContext {
public:
    ShowingRows(RunContext& inner, const ChangesLists& lists) : inner_(inner), lists_(lists) {}
    void yield() override {
        inner_.yield();
        if (showing_.due(GetTickCount())) lists_.showRows();
    }
    bool stopRequested() const override { return inner_.stopRequested(); }

private:
    RunContext& inner_;
    const ChangesLists& lists_;
    ui::PumpThrottle showing_{100};
};

// The rows of `before` that are not in `after`. A removal takes rows out and keeps the order
// of the others, so one pass in step over both lists finds them.
template <typename Row, typename Key>
std::vector<std::size_t> missingRows(const std::vector<Row>& before, const std::vector<Row>& after, Key key) {
    std::vector<std::size_t> gone;
    std::size_t next = 0;
    for (std::size_t i = 0; i < before.size(); ++i) {
        if (next < after.size() && key(before[i]) == key(after[next])) {
            ++next;
        } else {
            gone.push_back(i);
        }
    }
    return gone;
}

Selection rowsMissingFrom(const ChangeSet& before, const ChangeSet& after) {
    Selection gone;
    gone.files = missingRows(before.files, after.files, [](const FileRow& row) { return row.fullPath(); });
    gone.keys = missingRows(before.keys, after.keys, [](const KeyRow& row) { return row.fullKey(); });
    gone.values =
        missingRows(before.values, after.values, [](const ValueRow& row) { return std::pair(row.key, row.name); });
    for (std::size_t i = 0; i < ConfigListCount; ++i) {
        gone.lines[i] = missingRows(before.lines[i], after.lines[i],
                                    [](const LineRow& row) { return std::pair(row.added, row.replaced); });
    }
    return gone;
}

bool isButtonPress(WPARAM event) {
    switch (LOWORD(event)) {
        case WM_LBUTTONDOWN:
        case WM_MBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_XBUTTONDOWN: return true;
        default: return false;
    }
}

bool shiftAlone() {
    return GetKeyState(VK_SHIFT) < 0 && GetKeyState(VK_CONTROL) >= 0 && GetKeyState(VK_MENU) >= 0;
}

ui::DialogSpec windowLayout() {
    ui::DialogSpec layout;
    layout.title = "Changes found  -Quillon";
    layout.width = W;
    layout.height = ClientH;
    return layout;
}

}  // namespace

frmFoundChanges::frmFoundChanges(Ports& ports, FoundChangesInput input, ClosingHandler closing)
    : Dialog(windowLayout()),
      ports_(ports),
      input_(std::move(input)),
      installedBy_(input_.listSaved.value_or(ports.clock.now())),
      closing_(std::move(closing)),
      lists_(changes_, ports.shell, listIds()) {}

void frmFoundChanges::onCreate() {
    ui::createControls(hwnd(), Controls);
    HWND bar = ui::createControl(hwnd(), ui::statusBar(IDC_FOUND_STAFOUNDCHANGES, false), ui::DialogUnits::of(hwnd()),
                                 font());
    const ui::StatusBar staFoundChanges(bar);
    const std::array<int, 1> panels{ui::StatusBar::fill};
    staFoundChanges.setPanels(panels);
    help_.setBar(staFoundChanges, 0);
    for (const HelpText& entry : HelpTexts) help_.add(entry.id, entry.text);
    help_.setIdleText("");
    useStatusHelp(&help_);

    const ui::TabControl tabs(hwnd(), IDC_FOUND_TABCHANGESMADE);
    for (const std::string_view caption : ViewerTabs) tabs.addTab(caption);
    lists_.attach(hwnd());
    createColumns();
    for (ChangesList which : {ChangesList::Files, ChangesList::Registry}) list(which).setSmallImages(ui::systemSmallImages());
    for (std::size_t i = 0; i < ChangesListCount; ++i) list(static_cast<ChangesList>(i)).setFullRowSelect(true);
    // Only a list under review has an uninstall to preview.
    ShowWindow(item(IDC_FOUND_CMDPREVIEW), input_.listPath.empty() ? SW_HIDE : SW_SHOW);
    tabs.setCurrent(0);
    showPage(0);
    setDefaultButton(IDC_FOUND_CMDOK);
    stop_.clear();
    PostMessageW(hwnd(), LoadMessage, 0, 0);
}

void frmFoundChanges::createColumns() {
    using enum ChangesList;
    list(Files).addColumns(FileColumns);
    list(Registry).addColumns(KeyColumns);
    for (ChangesList lines : {WinIni, SystemIni, AutoexecBat, ConfigSys}) list(lines).addColumns(LineColumns);
    list(Values).addColumns(ValueColumns);
}

std::optional<LRESULT> frmFoundChanges::onMessage(UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == LoadMessage) {
        load();
        return 0;
    }
    if (msg == ClickedMessage) {
        const auto which = static_cast<ChangesList>(wp);
        if (which == ChangesList::Files) {
            updateSelectionSize();
        } else if (wp < ChangesListCount) {
            lists_.deselectPlaceholder(which);
        }
        return 0;
    }
    if (msg == WM_CTLCOLORSTATIC) {
        const ui::TabControl tabs(hwnd(), IDC_FOUND_TABCHANGESMADE);
        if (const auto brush = tabs.pageBackground(wp, lp, IDC_FOUND_LBLADDED, IDC_FOUND_LBLVALUESCHANGED)) return brush;
    }
    if (msg == WM_PARENTNOTIFY) notePress(wp, lp);
    if (msg == WM_DESTROY) useStatusHelp(nullptr);
    return Dialog::onMessage(msg, wp, lp);
}

void frmFoundChanges::load() {
    if (loading_ || loaded_) return;
    {
        const ScopedFlag busy(loading_);
        if (input_.dataFileDate.empty()) {
            const DateTime now = ports_.clock.now();
            input_.dataFileDate = ports_.clock.shortDate(now) + " " + ports_.clock.timeText(now);
        }
        ui::MessagePump pump(stop_, hwnd());
        ShowingRows run(pump, lists_);
        LoadPorts loadPorts{ports_.files, ports_.registry, ports_.shell, run};
        loadChanges(loadPorts, input_.workFolder, changes_);
        lists_.showRows();
        cutShort_ = closePending_;
        ui::Label(hwnd(), IDC_FOUND_LBLFILESIZE).setText("(Total size: " + shell::formatSize(changes_.totalBytes, true) + ")");
    }
    loaded_ = true;
    if (closePending_) close();
}

void frmFoundChanges::showPage(int page) {
    for (std::size_t i = 0; i < Pages.size(); ++i) {
        const bool visible = static_cast<int>(i) == page;
        std::vector<int> ids{Pages[i].listId};
        for (int label : Pages[i].labelIds) {
            if (label != 0) ids.push_back(label);
        }
        ui::showControls(hwnd(), ids, visible);
    }
}

Selection frmFoundChanges::selection() const { return lists_.selection(); }

void frmFoundChanges::removeRows(const Selection& rows) { lists_.removeRows(rows); }

void frmFoundChanges::selectAll() {
    lists_.selectAll();
    updateSelectionSize();
}

void frmFoundChanges::invertSelection() {
    lists_.invertSelection();
    updateSelectionSize();
}

void frmFoundChanges::updateSelectionSize() {
    // Summing folders pumps messages: a click meanwhile must not start a second sum.
    if (sizing_) return;
    double bytes = 0;
    {
        const ScopedFlag busy(sizing_);
        ui::StopFlag never;
        ui::MessagePump pump(never, hwnd());
        bytes = selectionSize(ports_.files, pump, changes_.files, selection().files);
    }
    ui::Label(hwnd(), IDC_FOUND_LBLFILESIZE).setText("(Size: " + shell::formatSize(bytes, true) + ")");
}

void frmFoundChanges::openSelectedFiles() {
    for (std::size_t index : selection().files) {
        if (index < changes_.files.size()) {
            static_cast<void>(shell::openWithAssociatedProgram(ports_.shell, changes_.files[index].fullPath(), input_.workFolder, ref()));  // the shell tells the user itself when it cannot open a document
        }
    }
}

void frmFoundChanges::startRegistryEditor(ChangesList from) {
    if (list(from).count() == 0) return;
    const std::string editor = shell::specialFolder(ports_.shell, Csidl::Windows) + "regedit.exe";
    FileInfo info;
    if (!succeeded(ports_.files.info(editor, info)) || (info.attributes & FileAttr::Directory) != 0) return;
    if (!succeeded(ports_.desktop.startProgram("\"" + editor + "\"", false)))
        ports_.prompter.message({"Quillon could not start " + editor + ".", "Quillon", MsgIcon::Exclamation, MsgButtons::Ok});
}

void frmFoundChanges::showHelp() {
    const std::string file = shell::withBackslash(shell::programFolder(ports_.desktop)) + "Quillon.hlp";
    static_cast<void>(ports_.shell.help(ref(), file, HelpCommand::Key, "Find Changes"));  // the help engine tells the user itself when it finds nothing
}

void frmFoundChanges::onCommand(int id, int code, HWND control) {
    switch (id) {
        case IDC_FOUND_CMDOK:
        case IDOK:
        case IDCANCEL: close(); return;
        case IDC_FOUND_CMDSELECTALL: selectAll(); return;
        case IDC_FOUND_CMDINVSEL: invertSelection(); return;
        case IDC_FOUND_CMDSAVE: saveSelected(); return;
        case IDC_FOUND_CMDDELETE: deleteSelected(); return;
        case IDC_FOUND_CMDMOVE: moveSelected(); return;
        case IDC_FOUND_CMDPRINT: printSelected(); return;
        case IDC_FOUND_CMDEXPORT: exportAll(); return;
        case IDC_FOUND_CMDPREVIEW: showPreview(); return;
        case IDC_FOUND_CMDHELP: showHelp(); return;
        default: break;
    }
    Dialog::onCommand(id, code, control);
}

std::optional<LRESULT> frmFoundChanges::onNotify(const NMHDR& header) {
    if (const auto answered = lists_.answer(header)) return answered;
    const ui::VirtualListView files = list(ChangesList::Files);
    if (files.isHiddenColumnResize(header)) return TRUE;
    const ui::TabControl tabs(hwnd(), IDC_FOUND_TABCHANGESMADE);
    if (tabs.isSelectionChange(header)) {
        showPage(tabs.current());
        return 0;
    }
    const ui::VirtualListView keys = list(ChangesList::Registry);
    const ui::VirtualListView values = list(ChangesList::Values);
    // While the load adds rows, or a removal works on a copy of them that it matches back in
    // order, the model is not to be reordered.
    const bool rowsHeld = loading_ || removing_;
    if (const int column = files.clickedColumn(header); column >= 0) {
        if (!rowsHeld) lists_.sortFiles(column);
        return 0;
    }
    if (const int column = keys.clickedColumn(header); column >= 0) {
        if (!rowsHeld) lists_.sortKeys(column);
        return 0;
    }
    if (const int column = values.clickedColumn(header); column >= 0) {
        if (!rowsHeld) lists_.sortValues(column);
        return 0;
    }
    if (header.code == static_cast<UINT>(NM_DBLCLK)) {
        if (files.sent(header)) openSelectedFiles();
        if (keys.sent(header)) startRegistryEditor(ChangesList::Registry);
        if (values.sent(header)) startRegistryEditor(ChangesList::Values);
        return std::nullopt;
    }
    if (header.code != static_cast<UINT>(NM_CLICK)) return std::nullopt;
    for (std::size_t i = 0; i < ChangesListCount; ++i) {
        if (list(static_cast<ChangesList>(i)).sent(header)) PostMessageW(hwnd(), ClickedMessage, i, 0);
    }
    return std::nullopt;
}

void frmFoundChanges::onClose() { close(); }

void frmFoundChanges::close() {
    if (loading_) {
        // The load notices the request at its next line and ends; the window goes then.
        closePending_ = true;
        stop_.request();
        ShowWindow(hwnd(), SW_HIDE);
        return;
    }
    if (closed_) return;
    closed_ = true;
    // A handler given half the rows would take the rest for removed: a reviewed removal list
    // would lose them.
    if (closing_ && !cutShort_) closing_(*this);
    endModal(IDOK);
}

// A press of any mouse button on "&Delete selected" reaches the window before the click.
void frmFoundChanges::notePress(WPARAM event, LPARAM at) {
    if (!isButtonPress(event)) return;
    const POINT point{static_cast<short>(LOWORD(at)), static_cast<short>(HIWORD(at))};
    if (ChildWindowFromPointEx(hwnd(), point, CWP_SKIPINVISIBLE) == item(IDC_FOUND_CMDDELETE))
        permanentDelete_ = shiftAlone();
}

void frmFoundChanges::saveSelected() {
    if (loading_) return;
    const ui::WaitCursor wait(*this);
    SavePorts save{ports_.registry, ports_.files, ports_.prompter};
    review::saveSelected(save, changes_, selection());
}

void frmFoundChanges::deleteSelected() {
    runRemoval([this](RemovalContext& context, ChangeSet& changes, const Selection& selected) {
        review::deleteSelected(context, changes, selected, permanentDelete_);
    });
}

void frmFoundChanges::moveSelected() {
    runRemoval([](RemovalContext& context, ChangeSet& changes, const Selection& selected) {
        review::moveSelected(context, changes, selected);
    });
}

// The command works on a copy of the rows; what it took out then leaves the model and the
// lists together, so the other rows keep their place and their selection.
void frmFoundChanges::runRemoval(const RemovalCommand& command) {
    // A removal pumps messages (the shell's progress, the in-use question): a second command
    // meanwhile, or one while the lists are still filling, would work on rows about to change.
    if (loading_ || removing_) return;
    ChangeSet after = changes_;
    {
        const ScopedFlag busy(removing_);
        ui::StopFlag never;
        ui::MessagePump pump(never, hwnd());
        shell::RemovalPorts removal = removalPorts(pump);
        InUseDllPrompt inUse(hwnd());
        RemovalContext context{removal, inUse, removalFolders(), installedBy_};
        command(context, after, selection());
    }
    removeRows(rowsMissingFrom(changes_, after));
    updateSelectionSize();
}

shell::RemovalPorts frmFoundChanges::removalPorts(RunContext& run) {
    return {ports_.registry, ports_.files, ports_.shell, ports_.desktop, ports_.prompter,
            run,             ports_.clock, input_.dataFolder, ref()};
}

RemovalFolders frmFoundChanges::removalFolders() const {
    return {shell::specialFolder(ports_.shell, Csidl::Windows), shell::windowsRoot(ports_.shell), input_.workFolder};
}

// What an uninstall of the list under review would do now: shown, never acted on here.
void frmFoundChanges::showPreview() {
    if (loading_ || removing_) return;
    ListPreview read;
    bool readable = false;
    {
        const ui::WaitCursor wait(*this);
        ui::StopFlag never;
        ui::MessagePump pump(never, hwnd());
        shell::RemovalPorts removal = removalPorts(pump);
        readable = previewList(removal, removalFolders(), input_.listPath, false, read);
    }
    if (!readable) {
        ports_.prompter.message({"Quillon could not read the removal list " + input_.listPath + ".",
                                 "Error opening removal list", MsgIcon::Exclamation, MsgButtons::Ok});
        return;
    }
    frmPreviewDetails details(read.preview, ports_.files, ports_.prompter, true);
    details.showModal(hwnd());
}

void frmFoundChanges::printSelected() {
    if (loading_) return;
    const ui::WaitCursor wait(*this);
    const Selection chosen = selection();
    lists_.knowTypes(chosen.files);
    review::printSelected(ports_.printer, ports_.prompter, changes_, chosen, {input_.dataFileName, input_.dataFileDate});
}

void frmFoundChanges::exportAll() {
    if (loading_) return;
    const ui::WaitCursor wait(*this);
    std::vector<std::size_t> files(changes_.files.size());
    std::iota(files.begin(), files.end(), std::size_t{0});
    lists_.knowTypes(files);
    review::exportTable(ports_.files, ports_.prompter, viewerTable(changes_, input_.dataFileName, input_.dataFileDate),
                        viewerExportName(input_.dataFileName));
}

void showFoundChanges(Ports& ports, HWND owner, FoundChangesInput input, frmFoundChanges::ClosingHandler closing) {
    frmFoundChanges window(ports, std::move(input), std::move(closing));
    window.showModal(owner);
}

void showFoundChanges(Ports& ports, HWND owner, std::string workFolder, std::string dataFolder) {
    FoundChangesInput input;
    input.workFolder = std::move(workFolder);
    input.dataFolder = std::move(dataFolder);
    showFoundChanges(ports, owner, std::move(input));
}

}  // namespace quillon::review
