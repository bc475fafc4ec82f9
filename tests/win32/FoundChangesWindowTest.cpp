// The changes viewer opened modally on real changes files in a temporary work folder, with
// the real file system and the shell's type names and icons; the settings and the registry
// keys are fakes, and what would start programs is recorded.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "FoundChangesDriver.h"
#include "UiDriver.h"
#include "app/resource.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32Shell.h"
#include "review/frmFoundChanges.h"
#include "shell/Settings.h"
#include "support/FakeMachine.h"
#include "support/FakeShell.h"
#include "ui/Control.h"
#include "ui/StatusBar.h"
#include "ui/SystemImageList.h"
#include "ui/TabControl.h"
#include "ui/Window.h"

namespace quillon::review {
namespace {

constexpr const char* Caption = "Changes found  -Quillon";
const std::string Sep(1, settings::ListSeparator);

// The real shell, except that opening documents and help is only written down.
class RecordingShell final : public Shell {
public:
    Status specialFolder(int csidl, std::string& path) override { return real_.specialFolder(csidl, path); }
    Status tempPath(std::string& path) override { return real_.tempPath(path); }
    Status longPathName(std::string_view path, std::string& longPath) override {
        return real_.longPathName(path, longPath);
    }
    FileOpResult fileOperation(const FileOperation&) override { return {Status::AccessDenied, false}; }
    Status deleteAtRestart(std::string_view) override { return Status::AccessDenied; }
    Status emptyRecycleBin(WindowRef, std::string_view, std::uint32_t) override { return Status::AccessDenied; }
    Status execute(WindowRef owner, std::string_view verb, std::string_view file, std::string_view parameters,
                   std::string_view folder, int show) override {
        executed.push_back({std::string(verb), std::string(file), std::string(parameters), std::string(folder), show,
                            owner});
        return Status::Ok;
    }
    Status fileType(std::string_view path, FileTypeInfo& out) override { return real_.fileType(path, out); }
    Status help(WindowRef owner, std::string_view helpFile, std::uint32_t command, std::string_view keyword) override {
        helpCalls.push_back({std::string(helpFile), command, std::string(keyword), owner});
        return Status::Ok;
    }

    std::vector<fakes::ExecuteCall> executed;
    std::vector<fakes::HelpCall> helpCalls;

private:
    win32::Win32Shell real_;
};

std::vector<std::string> columnTexts(const ui::ListView& list, int column) {
    std::vector<std::string> texts;
    for (int row = 0; row < list.count(); ++row) texts.push_back(list.text(row, column));
    return texts;
}

std::vector<std::string> headers(const ui::ListView& list) {
    std::vector<std::string> titles;
    for (int column = 0; column < list.columnCount(); ++column) {
        char text[128] = {};
        LVCOLUMNA info{};
        info.mask = LVCF_TEXT;
        info.pszText = text;
        info.cchTextMax = sizeof text;
        SendMessageA(list.hwnd(), LVM_GETCOLUMNA, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&info));
        titles.emplace_back(text);
    }
    return titles;
}

// A click as the mouse makes it: both halves are queued before the control sees the first,
// so a control that waits for the button's release finds it.
void clickAt(HWND target, const RECT& r) {
    const LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    PostMessageA(target, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageA(target, WM_LBUTTONUP, 0, at);
}

void clickRow(const ui::ListView& list, int row) {
    RECT r{};
    r.left = LVIR_LABEL;
    SendMessageA(list.hwnd(), LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&r));
    clickAt(list.hwnd(), r);
}

void clickHeader(const ui::ListView& list, int column) {
    HWND header = reinterpret_cast<HWND>(SendMessageA(list.hwnd(), LVM_GETHEADER, 0, 0));
    RECT r{};
    SendMessageA(header, HDM_GETITEMRECT, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&r));
    clickAt(header, r);
}

// What the list notifies its parent of a double-click on its first row.
void doubleClickFirstRow(HWND dialog, const ui::ListView& list) {
    NMITEMACTIVATE activate{};
    activate.hdr.hwndFrom = list.hwnd();
    activate.hdr.idFrom = static_cast<UINT_PTR>(list.id());
    activate.hdr.code = static_cast<UINT>(NM_DBLCLK);
    activate.iItem = 0;
    SendMessageA(dialog, WM_NOTIFY, activate.hdr.idFrom, reinterpret_cast<LPARAM>(&activate));
}

std::vector<int> selectedRows(const ui::ListView& list) { return list.selectedRows(); }

class FoundChangesWindow : public ::testing::Test {
protected:
    fakes::FakeMachine m;
    win32::Win32FileSystem files;
    RecordingShell shell;
    Ports ports{m.registry, files, shell, m.desktop, m.prompter, m.clock};
    std::string work;

    // Sizes chosen so that their texts sort differently from their sizes.
    static constexpr std::uint64_t SmallBytes = 1500;                        // 1KB
    static constexpr std::uint64_t MidBytes = 12 * 1024 + 100;               // 12KB
    static constexpr std::uint64_t TwoMegBytes = 2 * 1024 * 1024 + 300 * 1024;  // 2MB
    static constexpr std::uint64_t HugeBytes = 1280ull * 1024 * 1024;        // 1GB, sparse
    static constexpr std::uint64_t InnerBytes = 5 * 1024 + 10;               // 5KB, inside the new folder

    void SetUp() override {
        char temp[MAX_PATH] = {};
        GetTempPathA(MAX_PATH, temp);
        work = std::string(temp) + "QuillonViewerTest\\";
        wipe();
        ASSERT_TRUE(CreateDirectoryA(work.c_str(), nullptr));
        ASSERT_TRUE(CreateDirectoryA((work + "Apps").c_str(), nullptr));
        ASSERT_TRUE(CreateDirectoryA((work + "NewDir").c_str(), nullptr));
        makeFile("Apps\\small.txt", SmallBytes);
        makeFile("Apps\\mid.dat", MidBytes);
        makeFile("Apps\\two.bin", TwoMegBytes);
        makeFile("Apps\\huge.bin", HugeBytes);
        makeFile("NewDir\\inner.txt", InnerBytes);
        writeLines("changes.qdb", {work + "Apps\\{", "small.txt", "gone.txt", "two.bin", "huge.bin", "mid.dat", "}",
                                   "!" + work + "NewDir\\{", "}"});
        writeLines("sysChanges.qdb", {"Win.ini{", "load=a.exe" + Sep + "run=b.exe" + Sep, "load=" + Sep + " " + Sep,
                                      "}"});
        writeLines("hkcuchanges.qdb", {"Software\\ViewerTest\\Added", "Software\\ViewerTest\\Vanished"});
        writeLines("hklmchanges.qdb", {"TopLevelKey"});
        m.registry.createKey(Hive::CurrentUser, "Software\\ViewerTest\\Added");
        m.registry.createKey(Hive::LocalMachine, "TopLevelKey");
        for (const char* name : {"RegScan", "WinIniScan", "AutoexecScan", "ConfigSysScan"}) {
            m.registry.setString(Hive::CurrentUser, settings::ScanningKey, name, "1");
        }
        m.registry.setString(Hive::CurrentUser, settings::ScanningKey, "SystemIniScan", "0");
    }
    void TearDown() override {
        wipe();
        uitest::drainQuit();
    }

    FoundChangesInput runInput() const {
        FoundChangesInput input;
        input.workFolder = work;
        return input;
    }
    void makeFile(const std::string& name, std::uint64_t bytes) {
        win32::FileHandle file(CreateFileA((work + name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                           FILE_ATTRIBUTE_NORMAL, nullptr));
        ASSERT_TRUE(file) << name;
        LARGE_INTEGER size{};
        size.QuadPart = static_cast<LONGLONG>(bytes);
        ASSERT_TRUE(SetFilePointerEx(file.get(), size, nullptr, FILE_BEGIN) && SetEndOfFile(file.get())) << name;
    }
    void writeLines(const std::string& name, const std::vector<std::string>& lines) {
        std::ofstream out(work + name, std::ios::binary);
        for (const auto& line : lines) out << line << "\r\n";
        ASSERT_TRUE(out.good()) << name;
    }
    bool exists(const std::string& name) const {
        return GetFileAttributesA((work + name).c_str()) != INVALID_FILE_ATTRIBUTES;
    }
    void wipe() {
        for (const char* name : {"Apps\\small.txt", "Apps\\mid.dat", "Apps\\two.bin", "Apps\\huge.bin",
                                 "NewDir\\inner.txt", "changes.qdb", "sysChanges.qdb", "hkcuchanges.qdb",
                                 "hklmchanges.qdb"}) {
            DeleteFileA((work + name).c_str());
        }
        RemoveDirectoryA((work + "Apps").c_str());
        RemoveDirectoryA((work + "NewDir").c_str());
        RemoveDirectoryA(work.c_str());
    }

    // Opens the viewer modally and runs `body` once it has loaded; then closes it with OK.
    // Fails when the window never appears or never finishes loading.
    void whileShown(frmFoundChanges& viewer, const std::function<void(HWND)>& body) {
        uitest::whileViewerShown(viewer, body);
    }
    void whileShown(const std::function<void(frmFoundChanges&, HWND)>& body) {
        frmFoundChanges viewer(ports, runInput());
        whileShown(viewer, [&](HWND dialog) { body(viewer, dialog); });
    }
};

TEST_F(FoundChangesWindow, ShowsEveryListWithItsColumnsRowsAndPictures) {
    whileShown([&](frmFoundChanges& viewer, HWND dialog) {
        const ui::TabControl tabs(dialog, IDC_FOUND_TABCHANGESMADE);
        std::vector<std::string> captions;
        for (int i = 0; i < tabs.count(); ++i) captions.push_back(tabs.caption(i));
        EXPECT_EQ(captions, (std::vector<std::string>{"Hard drive", "Registry", "Win.ini", "System.ini",
                                                      "Autoexec.bat", "Config.sys"}));

        const ui::TaggedListView filesList = viewer.list(ChangesList::Files);
        EXPECT_EQ(headers(filesList), (std::vector<std::string>{"Name", "In folder", "Size", "Type",
                                                                "Hidden column size (in KB) for sorting"}));
        EXPECT_EQ(filesList.columnWidth(4), 0) << "the sort column stays hidden";
        EXPECT_EQ(headers(viewer.list(ChangesList::Registry)), (std::vector<std::string>{"Key name", "In Parent Key"}));
        for (auto which : {ChangesList::WinIni, ChangesList::SystemIni, ChangesList::AutoexecBat, ChangesList::ConfigSys})
            EXPECT_EQ(headers(viewer.list(which)), (std::vector<std::string>{"Lines added", "Replacing lines"}));

        // The vanished file is gone; the new folder follows the files.
        EXPECT_EQ(columnTexts(filesList, 0),
                  (std::vector<std::string>{"small.txt", "two.bin", "huge.bin", "mid.dat", "NewDir"}));
        const std::string apps = work + "Apps\\";
        EXPECT_EQ(columnTexts(filesList, 1), (std::vector<std::string>{apps, apps, apps, apps, work}));
        EXPECT_EQ(columnTexts(filesList, 2), (std::vector<std::string>{"1KB", "2MB", "1GB", "12KB", "5KB"}));
        EXPECT_EQ(filesList.text(4, 3), "Folder");
        EXPECT_FALSE(filesList.text(0, 3).empty()) << "the shell's type name";
        const int folderImage = ui::closedFolderImage();
        ASSERT_GE(folderImage, 0);
        for (int row = 0; row < filesList.count(); ++row) {
            const FileRow& model = viewer.changes().files[static_cast<std::size_t>(filesList.tag(row))];
            EXPECT_EQ(model.name, filesList.text(row, 0));
            EXPECT_EQ(filesList.imageIndex(row), model.iconIndex) << model.name;
            EXPECT_GE(filesList.imageIndex(row), 0) << model.name << " shows the shell's icon";
        }
        EXPECT_EQ(ui::Label(dialog, IDC_FOUND_LBLFILESIZE).text(), "(Total size: 1.2 GB)");

        const ui::TaggedListView keys = viewer.list(ChangesList::Registry);
        EXPECT_EQ(columnTexts(keys, 0), (std::vector<std::string>{"Added", "TopLevelKey"}));
        EXPECT_EQ(columnTexts(keys, 1),
                  (std::vector<std::string>{"HKEY_CURRENT_USER\\Software\\ViewerTest\\", "HKEY_LOCAL_MACHINE\\"}));
        for (int row = 0; row < keys.count(); ++row) EXPECT_EQ(keys.imageIndex(row), folderImage);

        const ui::TaggedListView winIni = viewer.list(ChangesList::WinIni);
        EXPECT_EQ(columnTexts(winIni, 0), (std::vector<std::string>{"load=a.exe", "run=b.exe"}));
        EXPECT_EQ(columnTexts(winIni, 1), (std::vector<std::string>{"load=", " "}));
        EXPECT_EQ(columnTexts(viewer.list(ChangesList::SystemIni), 0),
                  std::vector<std::string>{"Scanning not enabled."});
        EXPECT_EQ(viewer.list(ChangesList::AutoexecBat).count(), 0);

        for (const char* name : {"changes.qdb", "sysChanges.qdb", "hkcuchanges.qdb", "hklmchanges.qdb"})
            EXPECT_FALSE(exists(name)) << name << " is consumed by the load";

        struct ButtonText {
            int id;
            const char* text;
        };
        for (const ButtonText& b : {ButtonText{IDC_FOUND_CMDOK, "&OK"}, {IDC_FOUND_CMDSELECTALL, "Select &All"},
                                    {IDC_FOUND_CMDINVSEL, "&Invert selection"}, {IDC_FOUND_CMDSAVE, "&Save selected"},
                                    {IDC_FOUND_CMDDELETE, "&Delete selected"}, {IDC_FOUND_CMDMOVE, "&Move selected"},
                                    {IDC_FOUND_CMDPRINT, "&Print selected"}, {IDC_FOUND_CMDHELP, "&Help"}}) {
            EXPECT_EQ(ui::Control(dialog, b.id).text(), b.text);
        }

        // Each tab shows its own list only.
        tabs.setCurrent(3);
        NMHDR change{tabs.hwnd(), static_cast<UINT_PTR>(tabs.id()), static_cast<UINT>(TCN_SELCHANGE)};
        SendMessageA(dialog, WM_NOTIFY, change.idFrom, reinterpret_cast<LPARAM>(&change));
        EXPECT_TRUE(viewer.list(ChangesList::SystemIni).isVisible());
        EXPECT_TRUE(ui::Control(dialog, IDC_FOUND_LBLADDEDTOSYSINI).isVisible());
        EXPECT_FALSE(filesList.isVisible());
        EXPECT_FALSE(ui::Control(dialog, IDC_FOUND_LBLFILESIZE).isVisible());
    });
}

TEST_F(FoundChangesWindow, SelectionCommandsPassOverPlaceholdersAndSizeTheSelection) {
    whileShown([&](frmFoundChanges& viewer, HWND dialog) {
        const ui::Label size(dialog, IDC_FOUND_LBLFILESIZE);
        const ui::TaggedListView filesList = viewer.list(ChangesList::Files);
        const ui::TaggedListView systemIni = viewer.list(ChangesList::SystemIni);

        uitest::postClick(dialog, IDC_FOUND_CMDSELECTALL);
        ASSERT_TRUE(uitest::pumpUntil([&] { return size.text().rfind("(Size: ", 0) == 0; }));
        EXPECT_EQ(size.text(), "(Size: 1.2 GB)");
        EXPECT_EQ(filesList.selectedCount(), 5);
        EXPECT_EQ(viewer.list(ChangesList::Registry).selectedCount(), 2);
        EXPECT_EQ(viewer.list(ChangesList::WinIni).selectedCount(), 2);
        EXPECT_FALSE(systemIni.isSelected(0)) << "Select All never selects a placeholder";
        EXPECT_EQ(countSelectedChanges(viewer.selection()), 9u);

        uitest::postClick(dialog, IDC_FOUND_CMDINVSEL);
        ASSERT_TRUE(uitest::pumpUntil([&] { return size.text() == "(Size: 0KB)"; })) << size.text();
        EXPECT_EQ(filesList.selectedCount(), 0);
        EXPECT_FALSE(systemIni.isSelected(0)) << "inverting never selects a placeholder";
        EXPECT_EQ(countSelectedChanges(viewer.selection()), 0u);

        // A click on a row sizes just that row: a folder by what lies below it.
        struct Click {
            const char* name;
            const char* size;
        };
        for (const Click& c : {Click{"two.bin", "(Size: 2.2 MB)"}, Click{"NewDir", "(Size: 5KB)"}}) {
            const auto names = columnTexts(filesList, 0);
            const int row = static_cast<int>(std::find(names.begin(), names.end(), c.name) - names.begin());
            clickRow(filesList, row);
            EXPECT_TRUE(uitest::pumpUntil([&] { return size.text() == c.size; })) << c.name << ": " << size.text();
            EXPECT_EQ(selectedRows(filesList), std::vector<int>{row});
        }

        // A placeholder that got selected is let go again at the click.
        const ui::TabControl tabs(dialog, IDC_FOUND_TABCHANGESMADE);
        tabs.setCurrent(3);
        NMHDR change{tabs.hwnd(), static_cast<UINT_PTR>(tabs.id()), static_cast<UINT>(TCN_SELCHANGE)};
        SendMessageA(dialog, WM_NOTIFY, change.idFrom, reinterpret_cast<LPARAM>(&change));
        ASSERT_TRUE(systemIni.isVisible());
        systemIni.setSelected(0, true);
        clickRow(systemIni, 0);
        EXPECT_TRUE(uitest::pumpUntil([&] { return !systemIni.isSelected(0); })) << "a click deselects a placeholder";
    });
}

TEST_F(FoundChangesWindow, HeaderClicksSortBySizeAndFlipTheOrderEachTime) {
    whileShown([&](frmFoundChanges& viewer, HWND) {
        const ui::TaggedListView filesList = viewer.list(ChangesList::Files);
        const std::vector<std::string> bySize{"small.txt", "NewDir", "mid.dat", "two.bin", "huge.bin"};
        const std::vector<std::string> bySizeDown(bySize.rbegin(), bySize.rend());
        const std::vector<std::string> byName{"huge.bin", "mid.dat", "NewDir", "small.txt", "two.bin"};
        struct Click {
            int column;
            const std::vector<std::string>* expected;
        };
        // The order flips at every click, also when another column was sorted before.
        for (const Click& c : {Click{2, &bySize}, Click{2, &bySizeDown}, Click{0, &byName}, Click{2, &bySizeDown}}) {
            clickHeader(filesList, c.column);
            EXPECT_TRUE(uitest::pumpUntil([&] { return columnTexts(filesList, 0) == *c.expected; }))
                << "column " << c.column << ": " << ::testing::PrintToString(columnTexts(filesList, 0));
        }
        EXPECT_EQ(filesList.columnWidth(4), 0);

        // Rows still name their model rows, so the commands read what the user sees.
        filesList.setSelected(0, true);
        filesList.setSelected(3, true);
        const Selection selected = viewer.selection();
        ASSERT_EQ(selected.files.size(), 2u);
        EXPECT_EQ(viewer.changes().files[selected.files[0]].name, "huge.bin");
        EXPECT_EQ(viewer.changes().files[selected.files[1]].name, "NewDir");

        const ui::TaggedListView keys = viewer.list(ChangesList::Registry);
        clickHeader(keys, 1);  // parent keys, ascending
        EXPECT_TRUE(uitest::pumpUntil([&] { return keys.text(0, 0) == "Added"; }));
        clickHeader(keys, 1);
        EXPECT_TRUE(uitest::pumpUntil([&] { return keys.text(0, 0) == "TopLevelKey"; }));
    });
}

TEST_F(FoundChangesWindow, RemovedRowsLeaveModelAndListsTogether) {
    whileShown([&](frmFoundChanges& viewer, HWND) {
        const ui::TaggedListView filesList = viewer.list(ChangesList::Files);
        Selection gone;
        gone.files = {1, 3};  // two.bin, mid.dat
        gone.lines[static_cast<std::size_t>(ConfigList::WinIni)] = {0};
        viewer.removeRows(gone);
        EXPECT_EQ(columnTexts(filesList, 0), (std::vector<std::string>{"small.txt", "huge.bin", "NewDir"}));
        ASSERT_EQ(viewer.changes().files.size(), 3u);
        for (int row = 0; row < filesList.count(); ++row)
            EXPECT_EQ(viewer.changes().files[static_cast<std::size_t>(filesList.tag(row))].name, filesList.text(row, 0));
        EXPECT_EQ(columnTexts(viewer.list(ChangesList::WinIni), 0), std::vector<std::string>{"run=b.exe"});
        EXPECT_EQ(viewer.changes().linesOf(ConfigList::WinIni).size(), 1u);
        EXPECT_EQ(viewer.list(ChangesList::Registry).count(), 2);
    });
}

TEST_F(FoundChangesWindow, DoubleClicksAndHelpStartTheirPrograms) {
    whileShown([&](frmFoundChanges& viewer, HWND dialog) {
        const ui::TaggedListView filesList = viewer.list(ChangesList::Files);
        filesList.setSelected(0, true);
        filesList.setSelected(4, true);
        doubleClickFirstRow(dialog, filesList);
        ASSERT_EQ(shell.executed.size(), 2u);
        EXPECT_EQ(shell.executed[0].verb, "open");
        EXPECT_EQ(shell.executed[0].file, work + "Apps\\small.txt");
        EXPECT_EQ(shell.executed[0].folder, work);
        EXPECT_EQ(shell.executed[1].file, work + "NewDir");
        EXPECT_EQ(shell.executed[0].owner, viewer.ref());

        doubleClickFirstRow(dialog, viewer.list(ChangesList::Registry));
        ASSERT_EQ(m.desktop.started().size(), 1u);
        std::string windows;
        ASSERT_TRUE(succeeded(shell.specialFolder(Csidl::Windows, windows)));
        EXPECT_EQ(m.desktop.started()[0].commandLine, "\"" + windows + "\\regedit.exe\"");
        EXPECT_FALSE(m.desktop.started()[0].wait);

        uitest::postClick(dialog, IDC_FOUND_CMDHELP);
        ASSERT_TRUE(uitest::pumpUntil([&] { return !shell.helpCalls.empty(); }));
        EXPECT_EQ(shell.helpCalls[0].helpFile, "C:\\Program Files\\Quillon\\Quillon.hlp");
        EXPECT_EQ(shell.helpCalls[0].command, HelpCommand::Key);
        EXPECT_EQ(shell.helpCalls[0].keyword, "Find Changes");
    });
}

TEST_F(FoundChangesWindow, ClosingDuringTheLoadEndsItWithoutTheHandler) {
    // Enough lines that the load is still reading when the window first appears.
    std::vector<std::string> lines{work + "Apps\\{"};
    for (int i = 0; i < 500; ++i) lines.push_back("missing" + std::to_string(i) + ".txt");
    lines.push_back("small.txt");
    lines.push_back("}");
    writeLines("changes.qdb", lines);

    int closings = 0;
    std::size_t rowsAtClose = 0;
    bool closedEarly = false;
    frmFoundChanges viewer(ports, runInput(), [&](frmFoundChanges& closing) {
        ++closings;
        rowsAtClose = closing.changes().files.size();
    });
    uitest::WindowScript script(10000);
    script.when(Caption, [&](HWND dialog) {
        closedEarly = !viewer.isLoaded();
        PostMessageA(dialog, WM_CLOSE, 0, 0);
    });
    script.start();
    viewer.showModal(nullptr);
    EXPECT_TRUE(script.finished()) << script.failure();
    EXPECT_TRUE(closedEarly) << "the close was meant to arrive during the load";
    EXPECT_EQ(closings, 0) << "a handler given half the rows (" << rowsAtClose << ") would write back half a list";
    EXPECT_LT(viewer.changes().files.size(), 1u) << "the load went on to the end";
    EXPECT_EQ(viewer.hwnd(), nullptr);
}

}  // namespace
}  // namespace quillon::review
