// The changes viewer opened modally on real changes files in a temporary work folder, with the
// real file system (and, where files are removed, the real shell); the settings, the registry
// keys and what would start programs are fakes.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "UiDriver.h"
#include "app/resource.h"
#include "review/frmFoundChangesIds.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32Shell.h"
#include "review/SharedDll.h"
#include "review/frmFoundChanges.h"
#include "shell/Settings.h"
#include "support/FakeMachine.h"
#include "ui/Control.h"
#include "ui/TabControl.h"

namespace quillon::review {
namespace {

using Names = std::vector<std::string>;
constexpr const char* Caption = "Changes found  -Quillon";
const std::string LongLine = "run=" + std::string(1000, 'x');  // longer than the first read buffer

Names column(const ui::ListView& list, int index = 0) {
    Names texts;
    for (int row = 0; row < list.count(); ++row) texts.push_back(list.text(row, index));
    return texts;
}

void select(const ui::ListView& list, const Names& wanted) {
    for (int row = 0; row < list.count(); ++row)
        list.setSelected(row, std::find(wanted.begin(), wanted.end(), list.text(row, 0)) != wanted.end());
}

// A click as the mouse makes it: both halves are queued before the control sees the first, so a
// control that waits for the button's release finds it.
void clickAt(HWND target, const RECT& r) {
    const LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    PostMessageA(target, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageA(target, WM_LBUTTONUP, 0, at);
}

void clickRow(const ui::ListView& list, const std::string& name) {
    const Names names = column(list);
    RECT r{LVIR_LABEL, 0, 0, 0};
    const auto row = static_cast<WPARAM>(std::find(names.begin(), names.end(), name) - names.begin());
    SendMessageA(list.hwnd(), LVM_GETITEMRECT, row, reinterpret_cast<LPARAM>(&r));
    clickAt(list.hwnd(), r);
}

void clickHeader(const ui::ListView& list, int index) {
    HWND header = reinterpret_cast<HWND>(SendMessageA(list.hwnd(), LVM_GETHEADER, 0, 0));
    RECT r{};
    SendMessageA(header, HDM_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&r));
    clickAt(header, r);
}

// What a control notifies the viewer of: a double-click on a list, a new page of the tabs.
void notify(HWND dialog, HWND control, int code) {
    NMITEMACTIVATE event{};
    event.hdr = {control, static_cast<UINT_PTR>(GetDlgCtrlID(control)), static_cast<UINT>(code)};
    SendMessageA(dialog, WM_NOTIFY, event.hdr.idFrom, reinterpret_cast<LPARAM>(&event));
}

class FoundChanges : public ::testing::Test {
protected:
    fakes::FakeMachine m;
    win32::Win32FileSystem files;
    win32::Win32Shell shell;
    std::string work;

    void SetUp() override {
        char temp[MAX_PATH] = {};
        GetTempPathA(MAX_PATH, temp);
        work = std::string(temp) + "QuillonViewerTest\\";
        std::error_code ignored;
        std::filesystem::remove_all(work, ignored);
        for (const char* folder : {"Apps", "NewDir\\Deeper", "Moved"})
            ASSERT_TRUE(std::filesystem::create_directories(work + folder));
        // Sizes chosen so that their texts sort differently from their sizes; the big ones sparse.
        using Size = std::pair<const char*, std::uintmax_t>;
        for (const auto& [name, bytes] : {Size{"Apps\\small.txt", 1500}, Size{"Apps\\mid.dat", 12 * 1024 + 100},
                                          Size{"Apps\\two.bin", 2300 * 1024}, Size{"Apps\\huge.bin", 1280ull << 20},
                                          Size{"Apps\\c.dll", 2 * 1024 + 10}, Size{"NewDir\\Deeper\\inner.txt", 5 * 1024 + 10}}) {
            std::ofstream(work + name).close();
            std::filesystem::resize_file(work + name, bytes);
        }
        const std::string sep(1, settings::ListSeparator);
        writeLines("changes.qdb", {work + "Apps\\{", "small.txt", "gone.txt", "two.bin", "huge.bin", "mid.dat", "c.dll",
                                   "}", "!" + work + "NewDir\\{", "}"});
        writeLines("sysChanges.qdb", {"Win.ini{", "load=a.exe" + sep + LongLine + sep, "load=" + sep + " " + sep, "}"});
        writeLines("hkcuchanges.qdb", {"Software\\ViewerTest\\Added", "Software\\ViewerTest\\Vanished"});
        writeLines("hklmchanges.qdb", {"TopLevelKey"});
        m.registry.createKey(Hive::CurrentUser, "Software\\ViewerTest\\Added\\Below");
        m.registry.createKey(Hive::LocalMachine, "TopLevelKey");
        for (const char* name : {"RegScan", "WinIniScan", "AutoexecScan", "ConfigSysScan"})
            m.registry.setString(Hive::CurrentUser, settings::ScanningKey, name, "1");
        m.registry.setString(Hive::CurrentUser, settings::ScanningKey, "SystemIniScan", "0");
        // For good: nothing goes to the desktop's trash. Three programs share the DLL.
        m.registry.setString(Hive::CurrentUser, settings::GeneralKey, settings::general::DeleteMode, "1");
        m.registry.setValue(Hive::LocalMachine, SharedDllsKey, work + "Apps\\c.dll",
                            {RegType::Dword, std::string{'\3', '\0', '\0', '\0'}});
        m.desktop.setNtFamily(true);
    }
    void TearDown() override {
        std::error_code ignored;
        std::filesystem::remove_all(work, ignored);
        uitest::drainQuit();
    }

    void writeLines(const std::string& name, const Names& lines) {
        std::ofstream out(work + name, std::ios::binary);
        for (const auto& line : lines) out << line << "\r\n";
        ASSERT_TRUE(out.good()) << name;
    }
    bool exists(const std::string& name) const {
        return GetFileAttributesA((work + name).c_str()) != INVALID_FILE_ATTRIBUTES;
    }

    // Opens the viewer modally with `prompter` answering its questions, runs `body` once it has
    // loaded, then closes it with OK. Fails when it never appears, never loads or stays open.
    void whileShown(Shell& withShell, Prompter& prompter, const std::function<void(frmFoundChanges&, HWND)>& body) {
        Ports ports{m.registry, files, withShell, m.desktop, prompter, m.clock, m.printer};
        frmFoundChanges viewer(ports, FoundChangesInput{work, "", "", work + "Moved\\"});
        uitest::WindowScript script(20000);
        script.when(Caption, [&](HWND dialog) {
            body(viewer, dialog);
            uitest::postClick(dialog, IDC_FOUND_CMDOK);
        }, [&] { return viewer.isLoaded(); });
        script.start();
        viewer.showModal(nullptr);
        EXPECT_TRUE(script.finished()) << script.failure();
        EXPECT_EQ(viewer.hwnd(), nullptr) << "OK must close the viewer";
    }
};

// Model and list show the same rows.
void expectListFollowsTheModel(const frmFoundChanges& viewer) {
    const ui::VirtualListView filesList = viewer.list(ChangesList::Files);
    ASSERT_EQ(static_cast<std::size_t>(filesList.count()), viewer.changes().files.size());
    for (int row = 0; row < filesList.count(); ++row)
        EXPECT_EQ(viewer.changes().files[static_cast<std::size_t>(row)].name, filesList.text(row, 0));
}

TEST_F(FoundChanges, ShowsEveryListAndSelectsSizesSortsAndOpensItsRows) {
    whileShown(m.shell, m.prompter, [&](frmFoundChanges& viewer, HWND dialog) {
        const ui::VirtualListView filesList = viewer.list(ChangesList::Files);
        const ui::VirtualListView keys = viewer.list(ChangesList::Registry);
        const ui::VirtualListView systemIni = viewer.list(ChangesList::SystemIni);
        const ui::Label size(dialog, IDC_FOUND_LBLFILESIZE);
        // The vanished file and key are gone; the new folder follows the files.
        EXPECT_EQ(column(filesList), (Names{"small.txt", "two.bin", "huge.bin", "mid.dat", "c.dll", "NewDir"}));
        EXPECT_EQ(column(filesList, 2), (Names{"1KB", "2MB", "1GB", "12KB", "2KB", "5KB"}));
        EXPECT_EQ(size.text(), "(Total size: 1.2 GB)");
        EXPECT_EQ(column(viewer.list(ChangesList::WinIni), 1), (Names{"load=", " "}));
        EXPECT_EQ(column(systemIni), Names{"Scanning not enabled."});

        uitest::postClick(dialog, IDC_FOUND_CMDSELECTALL);
        ASSERT_TRUE(uitest::pumpUntil([&] { return size.text() == "(Size: 1.2 GB)"; })) << size.text();
        EXPECT_EQ(countSelectedChanges(viewer.selection()), 10u) << "Select All passes over the placeholder";
        // Printed: the rows shown, under the date of the load.
        uitest::postClick(dialog, IDC_FOUND_CMDPRINT);
        ASSERT_TRUE(uitest::pumpUntil([&] { return !m.printer.calls.empty(); }));
        for (const std::string& text : {"0*/14:File name: \n0*/14:File log creation date: " + viewer.dataFileDate() + "\n",
                                        std::string("\n1000:TopLevelKey 6360:HKEY_LOCAL_MACHINE\\\n")})
            EXPECT_NE(m.printer.page.find(text), std::string::npos) << text;
        uitest::postClick(dialog, IDC_FOUND_CMDINVSEL);
        ASSERT_TRUE(uitest::pumpUntil([&] { return size.text() == "(Size: 0KB)"; })) << size.text();
        EXPECT_EQ(countSelectedChanges(viewer.selection()), 0u) << "inverting passes over the placeholder";
        clickRow(filesList, "NewDir");
        EXPECT_TRUE(uitest::pumpUntil([&] { return size.text() == "(Size: 5KB)"; })) << "a clicked folder sizes its files";
        // Each tab shows its own list only; a placeholder that got selected is let go at a click.
        ui::TabControl(dialog, IDC_FOUND_TABCHANGESMADE).setCurrent(3);
        notify(dialog, GetDlgItem(dialog, IDC_FOUND_TABCHANGESMADE), TCN_SELCHANGE);
        EXPECT_TRUE(systemIni.isVisible() && !filesList.isVisible());
        systemIni.setSelected(0, true);
        clickRow(systemIni, "Scanning not enabled.");
        EXPECT_TRUE(uitest::pumpUntil([&] { return !systemIni.isSelected(0); }));

        // The order flips at every click, also when another column was sorted before.
        const Names bySize{"small.txt", "c.dll", "NewDir", "mid.dat", "two.bin", "huge.bin"};
        const Names bySizeDown(bySize.rbegin(), bySize.rend());
        const Names byName{"c.dll", "huge.bin", "mid.dat", "NewDir", "small.txt", "two.bin"};
        for (const auto& [index, order] : {std::pair{2, &bySize}, std::pair{2, &bySizeDown}, std::pair{0, &byName},
                                           std::pair{2, &bySizeDown}}) {
            clickHeader(filesList, index);
            EXPECT_TRUE(uitest::pumpUntil([&] { return column(filesList) == *order; }))
                << "column " << index << ": " << testing::PrintToString(column(filesList));
        }
        expectListFollowsTheModel(viewer);
        for (const Names& order : {Names{"Added", "TopLevelKey"}, Names{"TopLevelKey", "Added"}}) {
            clickHeader(keys, 0);
            EXPECT_TRUE(uitest::pumpUntil([&] { return column(keys) == order; })) << testing::PrintToString(column(keys));
        }
        EXPECT_EQ(viewer.list(ChangesList::WinIni).text(1, 0), LongLine);

        // A double-click opens every selected file; on a key it starts the registry editor.
        select(filesList, {"huge.bin", "NewDir"});
        m.files.addFile(work + "Apps\\huge.bin");  // the fake shell opens what the fake file system holds
        m.files.addFolder(work + "NewDir");
        notify(dialog, filesList.hwnd(), NM_DBLCLK);
        ASSERT_EQ(m.shell.executed().size(), 2u);
        EXPECT_EQ(m.shell.executed()[1].file, work + "NewDir");
        notify(dialog, keys.hwnd(), NM_DBLCLK);
        ASSERT_EQ(m.desktop.started().size(), 1u);
        EXPECT_EQ(m.desktop.started()[0].commandLine, "\"C:\\Windows\\regedit.exe\"");
    });
}

// Saving is driven end to end.
TEST_F(FoundChanges, MoveAndDeleteWorkOnTheSelectedRowsAndAskBeforeASharedDll) {
    m.prompter.answerFolder("");  // cancelled: nothing moves
    m.prompter.answerFolder(work + "Moved");
    whileShown(shell, m.prompter, [&](frmFoundChanges& viewer, HWND dialog) {
        const ui::VirtualListView filesList = viewer.list(ChangesList::Files);
        const ui::VirtualListView keys = viewer.list(ChangesList::Registry);
        select(filesList, {"mid.dat", "NewDir"});
        select(keys, {"Added"});
        uitest::postClick(dialog, IDC_FOUND_CMDMOVE);
        ASSERT_TRUE(uitest::pumpUntil([&] { return m.prompter.folderTitles().size() == 1; }));
        EXPECT_EQ(filesList.count(), 6) << "a cancelled move moves nothing";
        uitest::postClick(dialog, IDC_FOUND_CMDMOVE);
        ASSERT_TRUE(uitest::pumpUntil([&] { return filesList.count() == 4; }, 15000));
        EXPECT_TRUE(exists("Moved\\mid.dat") && exists("Moved\\NewDir\\Deeper\\inner.txt") && !exists("Apps\\mid.dat"));
        EXPECT_EQ(keys.count(), 2) << "a move leaves the keys alone";

        select(filesList, {"small.txt", "c.dll"});
        select(keys, {"Added"});
        // Gone meanwhile, not selected: its row goes all the same.
        ASSERT_TRUE(DeleteFileA((work + "Apps\\two.bin").c_str()));
        HWND promptOwner = nullptr;
        uitest::WindowScript prompts(10000);
        prompts.when("DLL file in use", [&](HWND question) {
            promptOwner = GetWindow(question, GW_OWNER);
            uitest::postClick(question, IDC_INUSE_CMDSKIP);
        });
        // Deleting for good, the shell asks first.
        prompts.when("Confirm file deletion", [](HWND question) { uitest::postClick(question, IDYES); });
        prompts.start();
        uitest::postClick(dialog, IDC_FOUND_CMDDELETE);
        ASSERT_TRUE(uitest::pumpUntil([&] { return filesList.count() == 2; }, 15000)) << testing::PrintToString(column(filesList));
        EXPECT_TRUE(prompts.finished()) << prompts.failure();
        EXPECT_EQ(promptOwner, dialog) << "the question belongs to the viewer";
        EXPECT_EQ(column(filesList), (Names{"huge.bin", "c.dll"}));
        EXPECT_FALSE(exists("Apps\\small.txt"));
        EXPECT_TRUE(exists("Apps\\c.dll")) << "skipped";
        EXPECT_EQ(column(keys), Names{"TopLevelKey"});
        EXPECT_FALSE(m.registry.keyExists(Hive::CurrentUser, "Software\\ViewerTest\\Added"));
        expectListFollowsTheModel(viewer);
        // The skipped DLL's row is still selected, and the size shows it alone.
        EXPECT_EQ(filesList.selectedRows(), std::vector<int>{1});
        EXPECT_EQ(ui::Label(dialog, IDC_FOUND_LBLFILESIZE).text(), "(Size: 2KB)");
        EXPECT_TRUE(m.prompter.messages().empty()) << m.prompter.messages().front().text;
    });
}

// A mouse press as the system reports it to the viewer (before the button sees it), with exactly
// these keys held in this thread. Real input under Wine and Xvfb loses the first press now and then:
// the X server's answer to the cursor warp moves the cursor between press and release.
void pressWithKeys(HWND dialog, int controlId, const std::vector<BYTE>& keys, UINT press) {
    BYTE state[256] = {};
    for (BYTE key : keys) state[key] = 0x80;
    SetKeyboardState(state);
    RECT r{};
    GetWindowRect(GetDlgItem(dialog, controlId), &r);
    POINT at{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    ScreenToClient(dialog, &at);
    SendMessageA(dialog, WM_PARENTNOTIFY, press, MAKELPARAM(at.x, at.y));
    SetKeyboardState(std::array<BYTE, 256>{}.data());
}

TEST_F(FoundChanges, PermanentDeleteFollowsShiftAloneAtEachMousePressOnTheButton) {
    for (int i = 0; i < 4; ++i) m.prompter.answer(MsgAnswer::Ok);  // nothing selected: each click is refused
    whileShown(shell, m.prompter, [&](frmFoundChanges& viewer, HWND dialog) {
        struct Case {
            const char* what;
            std::vector<BYTE> keys;
            int control;  // 0: the button is clicked without the mouse
            UINT press;   // a left press clicks the button
            bool expected;
        };
        const Case cases[] = {
            {"Shift", {VK_SHIFT}, IDC_FOUND_CMDDELETE, WM_LBUTTONDOWN, true},
            {"keyboard click keeps it", {}, 0, 0, true},
            {"Ctrl+Shift", {VK_CONTROL, VK_SHIFT}, IDC_FOUND_CMDDELETE, WM_LBUTTONDOWN, false},
            {"right button with Shift", {VK_SHIFT}, IDC_FOUND_CMDDELETE, WM_RBUTTONDOWN, true},
            {"Alt+Shift on another button keeps it", {VK_MENU, VK_SHIFT}, IDC_FOUND_CMDMOVE, WM_RBUTTONDOWN, true},
            {"no key", {}, IDC_FOUND_CMDDELETE, WM_LBUTTONDOWN, false},
        };
        std::size_t refusals = 0;
        for (const Case& c : cases) {
            SCOPED_TRACE(c.what);
            if (c.control) pressWithKeys(dialog, c.control, c.keys, c.press);
            EXPECT_EQ(viewer.permanentDelete(), c.expected);
            if (c.press == WM_RBUTTONDOWN) continue;
            uitest::postClick(dialog, IDC_FOUND_CMDDELETE);
            ASSERT_TRUE(uitest::pumpUntil([&] { return m.prompter.messages().size() == refusals + 1; }));
            ++refusals;
        }
        EXPECT_EQ(m.prompter.messages()[0].text, "No files or system changes selected. Select a file or a system change "
                                                 "and then click on Delete selected.");
        EXPECT_EQ(viewer.list(ChangesList::Files).count(), 6) << "Shift deletes nothing by itself";
    });
}

// The hook of this thread's window activations, unhooked when it goes.
struct HookTraits {
    static HHOOK empty() noexcept { return nullptr; }
    static void close(HHOOK hook) noexcept { UnhookWindowsHookEx(hook); }
};

// Posts WM_CLOSE to the viewer as it is shown: queued behind the message that starts its load,
// so the load's first look at the queue finds it whatever the speed of the machine.
LRESULT CALLBACK closeWhenShown(int code, WPARAM wp, LPARAM lp) noexcept {
    char title[64] = {};
    if (code == HCBT_ACTIVATE && GetWindowTextA(reinterpret_cast<HWND>(wp), title, sizeof title) &&
        std::string_view(title) == Caption)
        PostMessageA(reinterpret_cast<HWND>(wp), WM_CLOSE, 0, 0);
    return CallNextHookEx(nullptr, code, wp, lp);
}

TEST_F(FoundChanges, ClosingDuringTheLoadEndsItWithoutTheHandler) {
    Ports ports{m.registry, files, shell, m.desktop, m.prompter, m.clock, m.printer};
    int closings = 0;
    frmFoundChanges viewer(ports, FoundChangesInput{work, "", "", ""}, [&](frmFoundChanges&) { ++closings; });
    const win32::UniqueHandle<HHOOK, HookTraits> hook(SetWindowsHookExA(WH_CBT, closeWhenShown, nullptr, GetCurrentThreadId()));
    ASSERT_TRUE(hook);
    // Should the close not arrive, the script ends the window once it has loaded.
    uitest::WindowScript script(20000);
    script.when(Caption, [](HWND dialog) { PostMessageA(dialog, WM_CLOSE, 0, 0); }, [&] { return viewer.isLoaded(); });
    script.start();
    viewer.showModal(nullptr);
    EXPECT_FALSE(script.finished()) << "the close did not arrive during the load";
    EXPECT_EQ(closings, 0) << "a handler given half the rows would write back half a list";
    EXPECT_TRUE(viewer.changes().files.empty()) << "the load went on";
    EXPECT_EQ(viewer.hwnd(), nullptr);
}

}  // namespace
}  // namespace quillon::review
