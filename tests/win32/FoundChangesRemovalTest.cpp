// The viewer's Delete, Move and Save on real files in a temporary work folder: the real file
// system and shell do the work, the settings and registry keys are fakes.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
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
#include "review/SharedDll.h"
#include "review/frmFoundChanges.h"
#include "shell/FormatSize.h"
#include "shell/Settings.h"
#include "support/FakeMachine.h"
#include "ui/Control.h"
#include "ui/Win32Prompter.h"
#include "ui/Window.h"

namespace quillon::review {
namespace {

constexpr const char* InUseTitle = "DLL file in use";
constexpr std::uint64_t DllBytes = 2 * 1024 + 10;

std::vector<std::string> names(const ui::ListView& list) {
    std::vector<std::string> texts;
    for (int row = 0; row < list.count(); ++row) texts.push_back(list.text(row, 0));
    return texts;
}

void select(const ui::ListView& list, const std::vector<std::string>& wanted) {
    for (int row = 0; row < list.count(); ++row) {
        const std::string name = list.text(row, 0);
        list.setSelected(row, std::find(wanted.begin(), wanted.end(), name) != wanted.end());
    }
}

// The texts of a message box's children, one per line.
BOOL CALLBACK collectText(HWND child, LPARAM out) noexcept {
    try {
        *reinterpret_cast<std::string*>(out) += ui::windowText(child) + "\n";
    } catch (...) {
        return FALSE;
    }
    return TRUE;
}

class FoundChangesRemoval : public ::testing::Test {
protected:
    fakes::FakeMachine m;
    win32::Win32FileSystem files;
    win32::Win32Shell shell;
    ui::Win32Prompter systemPrompter;
    std::string work;

    void SetUp() override {
        char temp[MAX_PATH] = {};
        GetTempPathA(MAX_PATH, temp);
        work = std::string(temp) + "QuillonRemovalTest\\";
        std::error_code ignored;
        std::filesystem::remove_all(work, ignored);
        ASSERT_TRUE(std::filesystem::create_directories(work + "Apps"));
        ASSERT_TRUE(std::filesystem::create_directories(work + "NewDir\\Deeper"));
        ASSERT_TRUE(std::filesystem::create_directories(work + "Moved"));
        for (const char* name : {"Apps\\a.txt", "Apps\\b.txt", "Apps\\d.txt", "Apps\\e.txt", "NewDir\\Deeper\\f.txt"})
            makeFile(name, 100);
        makeFile("Apps\\c.dll", DllBytes);
        writeLines("changes.qdb", {work + "Apps\\{", "a.txt", "b.txt", "c.dll", "d.txt", "e.txt", "}",
                                   "!" + work + "NewDir\\{", "}"});
        writeLines("hkcuchanges.qdb", {"Software\\RemovalTest\\Added", "Software\\RemovalTest\\Kept"});
        writeLines("hklmchanges.qdb", {});
        m.registry.createKey(Hive::CurrentUser, "Software\\RemovalTest\\Added\\Below");
        m.registry.createKey(Hive::CurrentUser, "Software\\RemovalTest\\Kept");
        m.registry.setString(Hive::CurrentUser, settings::ScanningKey, "RegScan", "1");
        for (const char* name : {"WinIniScan", "SystemIniScan", "AutoexecScan", "ConfigSysScan"})
            m.registry.setString(Hive::CurrentUser, settings::ScanningKey, name, "0");
        // For good: nothing goes to the desktop's trash.
        m.registry.setString(Hive::CurrentUser, settings::GeneralKey, settings::general::DeleteMode, "1");
        // Three programs share the DLL.
        const std::string count{'\3', '\0', '\0', '\0'};
        m.registry.setValue(Hive::LocalMachine, SharedDllsKey, work + "Apps\\c.dll", {RegType::Dword, count});
        m.desktop.setNtFamily(true);
    }
    void TearDown() override {
        std::error_code ignored;
        std::filesystem::remove_all(work, ignored);
        uitest::drainQuit();
    }

    void makeFile(const std::string& name, std::uint64_t bytes) {
        std::ofstream out(work + name, std::ios::binary);
        out << std::string(bytes, 'x');
        ASSERT_TRUE(out.good()) << name;
    }
    void writeLines(const std::string& name, const std::vector<std::string>& lines) {
        std::ofstream out(work + name, std::ios::binary);
        for (const auto& line : lines) out << line << "\r\n";
        ASSERT_TRUE(out.good()) << name;
    }
    bool exists(const std::string& name) const {
        return GetFileAttributesA((work + name).c_str()) != INVALID_FILE_ATTRIBUTES;
    }

    // Opens the viewer modally with `prompter` answering its questions, runs `body` once it
    // has loaded, then closes it. Fails when the viewer never appears or never loads.
    void whileShown(Prompter& prompter, const std::function<void(frmFoundChanges&, HWND)>& body) {
        Ports ports{m.registry, files, shell, m.desktop, prompter, m.clock};
        FoundChangesInput input;
        input.workFolder = work;
        input.dataFolder = work + "Moved\\";
        frmFoundChanges viewer(ports, input);
        uitest::whileViewerShown(viewer, [&](HWND dialog) { body(viewer, dialog); });
    }
    void whileShown(const std::function<void(frmFoundChanges&, HWND)>& body) { whileShown(m.prompter, body); }
};

// Model and list show the same rows.
void expectListFollowsModel(const frmFoundChanges& viewer) {
    const ui::TaggedListView files = viewer.list(ChangesList::Files);
    ASSERT_EQ(static_cast<std::size_t>(files.count()), viewer.changes().files.size());
    for (int row = 0; row < files.count(); ++row)
        EXPECT_EQ(viewer.changes().files[static_cast<std::size_t>(files.tag(row))].name, files.text(row, 0));
    const ui::TaggedListView keys = viewer.list(ChangesList::Registry);
    ASSERT_EQ(static_cast<std::size_t>(keys.count()), viewer.changes().keys.size());
    for (int row = 0; row < keys.count(); ++row)
        EXPECT_EQ(viewer.changes().keys[static_cast<std::size_t>(keys.tag(row))].name, keys.text(row, 0));
}

TEST_F(FoundChangesRemoval, DeleteRemovesTheSelectedItemsAndTheirRowsAndAsksBeforeASharedDll) {
    whileShown([&](frmFoundChanges& viewer, HWND dialog) {
        const ui::TaggedListView filesList = viewer.list(ChangesList::Files);
        const ui::TaggedListView keys = viewer.list(ChangesList::Registry);
        ASSERT_EQ(names(filesList), (std::vector<std::string>{"a.txt", "b.txt", "c.dll", "d.txt", "e.txt", "NewDir"}));
        select(filesList, {"a.txt", "c.dll", "NewDir"});
        select(keys, {"Added"});
        // Gone meanwhile, not selected: its row goes all the same.
        ASSERT_TRUE(DeleteFileA((work + "Apps\\e.txt").c_str()));

        HWND promptOwner = nullptr;
        uitest::WindowScript prompt(10000);
        prompt.when(InUseTitle, [&](HWND question) {
            promptOwner = GetWindow(question, GW_OWNER);
            uitest::postClick(question, IDC_INUSE_CMDSKIP);
        });
        // Deleting for good, the shell asks first (its text is painted, no child holds it).
        prompt.when("Confirm file deletion", [](HWND question) { uitest::postClick(question, IDYES); });
        prompt.start();
        uitest::postClick(dialog, IDC_FOUND_CMDDELETE);
        ASSERT_TRUE(uitest::pumpUntil([&] { return filesList.count() == 3; }, 15000)) << ::testing::PrintToString(names(filesList));
        EXPECT_TRUE(prompt.finished()) << prompt.failure();
        EXPECT_EQ(promptOwner, dialog) << "the question belongs to the viewer";

        EXPECT_EQ(names(filesList), (std::vector<std::string>{"b.txt", "c.dll", "d.txt"}));
        EXPECT_FALSE(exists("Apps\\a.txt"));
        EXPECT_FALSE(exists("NewDir")) << "a folder goes with everything below it";
        EXPECT_TRUE(exists("Apps\\c.dll")) << "skipped";
        EXPECT_TRUE(exists("Apps\\b.txt"));
        EXPECT_TRUE(exists("Apps\\d.txt"));
        EXPECT_FALSE(exists("Moved\\a.txt")) << "DeleteMode 1 deletes; it keeps nothing aside";

        EXPECT_EQ(names(keys), std::vector<std::string>{"Kept"});
        EXPECT_FALSE(m.registry.keyExists(Hive::CurrentUser, "Software\\RemovalTest\\Added"));
        EXPECT_TRUE(m.registry.keyExists(Hive::CurrentUser, "Software\\RemovalTest\\Kept"));
        expectListFollowsModel(viewer);

        // The skipped DLL's row is still selected, and the size shows it alone.
        EXPECT_EQ(filesList.selectedRows(), std::vector<int>{1});
        EXPECT_EQ(ui::Label(dialog, IDC_FOUND_LBLFILESIZE).text(),
                  "(Size: " + shell::formatSize(static_cast<double>(DllBytes), true) + ")");
        EXPECT_TRUE(m.prompter.messages().empty()) << m.prompter.messages().front().text;
    });
}

TEST_F(FoundChangesRemoval, DeleteWithNothingSelectedShowsTheMessageAndRemovesNothing) {
    whileShown(systemPrompter, [&](frmFoundChanges& viewer, HWND dialog) {
        std::string text = "\n";
        HWND boxOwner = nullptr;
        uitest::WindowScript box(10000);
        box.when("Error deleting files", [&](HWND message) {
            EnumChildWindows(message, collectText, reinterpret_cast<LPARAM>(&text));
            boxOwner = GetWindow(message, GW_OWNER);
            uitest::postClick(message, IDOK);
        });
        box.start();
        uitest::postClick(dialog, IDC_FOUND_CMDDELETE);
        ASSERT_TRUE(uitest::pumpUntil([&] { return box.finished() && !uitest::findThreadWindow("Error deleting files"); }))
            << box.failure();
        EXPECT_NE(text.find("\nNo files or system changes selected. Select a file or a system change and then click "
                            "on Delete selected.\n"),
                  std::string::npos)
            << text;
        EXPECT_EQ(boxOwner, dialog);
        EXPECT_EQ(viewer.list(ChangesList::Files).count(), 6);
        EXPECT_EQ(viewer.list(ChangesList::Registry).count(), 2);
        for (const char* name : {"Apps\\a.txt", "Apps\\b.txt", "Apps\\c.dll", "Apps\\d.txt", "Apps\\e.txt", "NewDir"})
            EXPECT_TRUE(exists(name)) << name;
    });
}

INPUT keyInput(WORD key, DWORD flags) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.dwFlags = flags;
    return input;
}

INPUT mouseInput(DWORD flags) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flags;
    return input;
}

// A real press and release of a mouse button over the control, with keys held meanwhile.
bool pressWithKeys(HWND control, const std::vector<WORD>& keys, DWORD down, DWORD up) {
    RECT r{};
    GetWindowRect(control, &r);
    const int x = (r.left + r.right) / 2;
    const int y = (r.top + r.bottom) / 2;
    std::vector<INPUT> inputs;
    INPUT move = mouseInput(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE);
    move.mi.dx = MulDiv(x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
    move.mi.dy = MulDiv(y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
    inputs.push_back(move);
    for (WORD key : keys) inputs.push_back(keyInput(key, 0));
    inputs.push_back(mouseInput(down));
    inputs.push_back(mouseInput(up));
    for (auto key = keys.rbegin(); key != keys.rend(); ++key) inputs.push_back(keyInput(*key, KEYEVENTF_KEYUP));
    const auto count = static_cast<UINT>(inputs.size());
    return SendInput(count, inputs.data(), sizeof(INPUT)) == count;
}

TEST_F(FoundChangesRemoval, PermanentDeleteFollowsShiftAloneAtEachMousePressOnTheButton) {
    whileShown(systemPrompter, [&](frmFoundChanges& viewer, HWND dialog) {
        HWND button = GetDlgItem(dialog, IDC_FOUND_CMDDELETE);
        struct Case {
            const char* what;
            std::vector<WORD> keys;
            bool mouse;      // false: the button is clicked without the mouse
            bool left;       // the left button, which also clicks it
            bool expected;
        };
        const Case cases[] = {
            {"Shift", {VK_SHIFT}, true, true, true},
            {"keyboard click keeps it", {}, false, true, true},
            {"Ctrl+Shift", {VK_CONTROL, VK_SHIFT}, true, true, false},
            {"right button with Shift", {VK_SHIFT}, true, false, true},
            {"no key", {}, true, true, false},
        };
        ASSERT_TRUE(uitest::pumpUntil([&] { return GetForegroundWindow() == dialog; })) << "the viewer is not in front";
        for (const Case& c : cases) {
            SCOPED_TRACE(c.what);
            // Nothing is selected, so every click ends in the refusal, which is answered here.
            uitest::WindowScript refusal(10000);
            refusal.when("Error deleting files", [](HWND box) { uitest::postClick(box, IDOK); });
            if (c.left) refusal.start();
            if (!c.mouse) {
                uitest::postClick(dialog, IDC_FOUND_CMDDELETE);
            } else if (c.left) {
                ASSERT_TRUE(pressWithKeys(button, c.keys, MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP));
            } else {
                ASSERT_TRUE(pressWithKeys(button, c.keys, MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP));
            }
            if (c.left) {
                ASSERT_TRUE(uitest::pumpUntil([&] { return refusal.finished() && IsWindowEnabled(dialog); }))
                    << refusal.failure();
            } else {
                ASSERT_TRUE(uitest::pumpUntil([&] { return viewer.permanentDelete() == c.expected; }));
            }
            EXPECT_EQ(viewer.permanentDelete(), c.expected);
        }
        EXPECT_EQ(viewer.list(ChangesList::Files).count(), 6) << "Shift deletes nothing by itself";
    });
}

TEST_F(FoundChangesRemoval, MoveTakesTheSelectedFilesIntoTheChosenFolderUnlessCancelled) {
    m.prompter.answerFolder("");  // cancelled: nothing moves
    m.prompter.answerFolder(work + "Moved");
    whileShown([&](frmFoundChanges& viewer, HWND dialog) {
        const ui::TaggedListView filesList = viewer.list(ChangesList::Files);
        select(filesList, {"b.txt", "NewDir"});
        select(viewer.list(ChangesList::Registry), {"Added"});

        uitest::postClick(dialog, IDC_FOUND_CMDMOVE);
        ASSERT_TRUE(uitest::pumpUntil([&] { return m.prompter.folderTitles().size() == 1; }));
        EXPECT_EQ(filesList.count(), 6);
        EXPECT_TRUE(exists("Apps\\b.txt"));

        uitest::postClick(dialog, IDC_FOUND_CMDMOVE);
        ASSERT_TRUE(uitest::pumpUntil([&] { return filesList.count() == 4; }, 15000));
        EXPECT_EQ(m.prompter.folderTitles().back(), "Choose the folder in which you want to move the selected files to:");
        EXPECT_EQ(names(filesList), (std::vector<std::string>{"a.txt", "c.dll", "d.txt", "e.txt"}));
        EXPECT_TRUE(exists("Moved\\b.txt"));
        EXPECT_TRUE(exists("Moved\\NewDir\\Deeper\\f.txt"));
        EXPECT_FALSE(exists("Apps\\b.txt"));
        EXPECT_EQ(viewer.list(ChangesList::Registry).count(), 2) << "a move leaves the keys alone";
        EXPECT_TRUE(m.registry.keyExists(Hive::CurrentUser, "Software\\RemovalTest\\Added"));
        expectListFollowsModel(viewer);
    });
}

TEST_F(FoundChangesRemoval, SaveWritesTheSelectedRowsAsARemovalListAndKeepsThem) {
    const std::string list = work + "NewApp.qdf";
    m.prompter.answerSaveFile(list);
    whileShown([&](frmFoundChanges& viewer, HWND dialog) {
        select(viewer.list(ChangesList::Files), {"d.txt", "a.txt"});
        select(viewer.list(ChangesList::Registry), {"Kept"});
        uitest::postClick(dialog, IDC_FOUND_CMDSAVE);
        ASSERT_TRUE(uitest::pumpUntil([&] { return exists("NewApp.qdf"); }));
        ASSERT_TRUE(uitest::pumpUntil([&] { return !m.prompter.fileRequests().empty(); }));
        EXPECT_EQ(viewer.list(ChangesList::Files).selectedCount(), 2) << "the rows stay, still selected";
        EXPECT_EQ(viewer.list(ChangesList::Files).count(), 6);
    });
    std::ifstream in(list, std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(text, "Files{\r\n" + work + "Apps\\a.txt\r\n" + work +
                        "Apps\\d.txt\r\n}\r\nRegistry{\r\nHKEY_CURRENT_USER\\Software\\RemovalTest\\Kept\r\n}\r\n"
                        "Win.ini{\r\n}\r\nSystem.ini{\r\n}\r\nAutoexec.bat{\r\n}\r\nConfig.sys{\r\n}\r\n");
    EXPECT_EQ(m.registry.stringValue(Hive::CurrentUser, settings::GeneralKey, settings::general::SavedForDeletion),
              list + std::string(1, settings::ListSeparator));
}

}  // namespace
}  // namespace quillon::review
