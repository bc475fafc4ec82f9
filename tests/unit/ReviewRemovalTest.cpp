#include <gtest/gtest.h>

#include <deque>

#include "ReviewScriptedInUse.h"
#include "review/ChangeRemoval.h"
#include "review/DllChoice.h"
#include "review/RemovalSafety.h"
#include "review/SharedDll.h"
#include "shell/Settings.h"
#include "support/FakeMachine.h"
#include "support/TextLines.h"

namespace quillon::review {
namespace {

void countShared(fakes::FakeRegistry& registry, std::string_view path, std::uint32_t count) {
    std::string data(4, '\0');
    for (int i = 0; i < 4; ++i) data[static_cast<std::size_t>(i)] = static_cast<char>((count >> (8 * i)) & 0xff);
    registry.setValue(Hive::LocalMachine, SharedDllsKey, path, {RegType::Dword, data});
}

FileRow fileRow(std::string folder, std::string name) {
    FileRow row;
    row.folder = std::move(folder);
    row.name = std::move(name);
    return row;
}

class ReviewRemoval : public ::testing::Test {
protected:
    fakes::FakeMachine m;
    shell::RemovalPorts ports{m.registry, m.files, m.shell, m.desktop, m.prompter, m.run, "C:\\Program Files\\Quillon\\"};
    ScriptedInUse inUse;
    RemovalContext context{ports, inUse, {"C:\\Windows\\", "C:\\", "C:\\"}};
    ChangeSet changes;
    Selection selection;

    void SetUp() override {
        m.registry.setString(Hive::CurrentUser, settings::GeneralKey, settings::general::DeleteMode, "0");
    }
    void addFiles(std::initializer_list<const char*> paths) {
        for (const char* p : paths) {
            const std::string path = p;
            const std::size_t slash = path.rfind('\\');
            m.files.addFile(path, "x");
            changes.files.push_back(fileRow(path.substr(0, slash + 1), path.substr(slash + 1)));
        }
    }
    std::vector<std::string> filePaths() const {
        std::vector<std::string> out;
        for (const auto& row : changes.files) out.push_back(row.fullPath());
        return out;
    }
};

TEST_F(ReviewRemoval, SharedDllFollowsTheCountAndTheProtectedNames) {
    countShared(m.registry, "C:\\Apps\\none.dll", 0);
    countShared(m.registry, "C:\\Apps\\one.dll", 1);
    countShared(m.registry, "c:\\apps\\three.dll", 3);
    countShared(m.registry, "C:\\Apps\\twelve.dll", 12);
    countShared(m.registry, "C:\\Windows\\System\\comctl32.ocx", 5);
    countShared(m.registry, "C:\\Windows\\System\\libstdc++-6.dll", 5);
    struct Row { const char* path; bool shared; };
    const Row rows[] = {
        {"C:\\Apps\\none.dll", false},
        {"C:\\Apps\\one.dll", false},
        {"C:\\Apps\\three.dll", true},     // name compared without case
        {"C:\\Apps\\twelve.dll", true},    // "12" is still more than one
        {"C:\\Windows\\System\\comctl32.ocx", false},
        {"C:\\Windows\\System\\libstdc++-6.dll", false},
        {"C:\\Apps\\unlisted.dll", false},
    };
    for (const auto& r : rows) EXPECT_EQ(isSharedDll(m.registry, r.path), r.shared) << r.path;

    fakes::FakeMachine bare;  // no SharedDLLs key at all
    EXPECT_FALSE(isSharedDll(bare.registry, "C:\\Apps\\three.dll"));
}

TEST_F(ReviewRemoval, InUsePromptEndCodesAnswerSkipUnlessAButtonSaidOtherwise) {
    struct Row { std::intptr_t code; InUseAnswer answer; };
    const Row rows[] = {
        {InUseEndCode::Delete, InUseAnswer::Delete},
        {InUseEndCode::DeleteAll, InUseAnswer::DeleteAll},
        {InUseEndCode::Skip, InUseAnswer::Skip},
        {2, InUseAnswer::Skip},   // the close box (IDCANCEL)
        {0, InUseAnswer::Skip},
        {-1, InUseAnswer::Skip},  // the dialog could not be shown
    };
    for (const auto& r : rows) EXPECT_EQ(inUseAnswerFor(r.code), r.answer) << r.code;
    EXPECT_EQ(inUseMessage("C:\\Apps\\x.dll"),
              "The DLL file C:\\Apps\\x.dll may be in use by other applications. Delete it?");
}

TEST_F(ReviewRemoval, DllChoiceAsksForSharedDllsOnlyAndHonoursDeleteAll) {
    for (const char* dll : {"C:\\Apps\\a.dll", "C:\\Apps\\b.OCX", "C:\\Apps\\c.dll", "C:\\Apps\\d.dll"})
        countShared(m.registry, dll, 3);
    const std::vector<std::string> candidates = {"C:\\Apps\\a.dll", "C:\\Apps\\readme.txt", "C:\\Apps\\b.OCX",
                                                 "C:\\Apps\\c.dll", "C:\\Apps\\d.dll"};
    struct Row {
        const char* what;
        std::vector<InUseAnswer> answers;
        std::vector<std::string> asked;
        std::vector<std::string> chosen;
    };
    const Row rows[] = {
        {"skip, delete, then all",
         {InUseAnswer::Skip, InUseAnswer::Delete, InUseAnswer::DeleteAll},
         {"C:\\Apps\\a.dll", "C:\\Apps\\b.OCX", "C:\\Apps\\c.dll"},
         {"C:\\Apps\\readme.txt", "C:\\Apps\\b.OCX", "C:\\Apps\\c.dll", "C:\\Apps\\d.dll"}},
        {"all at the first",
         {InUseAnswer::DeleteAll},
         {"C:\\Apps\\a.dll"},
         {"C:\\Apps\\a.dll", "C:\\Apps\\readme.txt", "C:\\Apps\\b.OCX", "C:\\Apps\\c.dll", "C:\\Apps\\d.dll"}},
        {"skip everything",
         {InUseAnswer::Skip, InUseAnswer::Skip, InUseAnswer::Skip, InUseAnswer::Skip},
         {"C:\\Apps\\a.dll", "C:\\Apps\\b.OCX", "C:\\Apps\\c.dll", "C:\\Apps\\d.dll"},
         {"C:\\Apps\\readme.txt"}},
    };
    for (const auto& r : rows) {
        ScriptedInUse prompt;
        for (auto a : r.answers) prompt.answer(a);
        EXPECT_EQ(chooseDeletions(m.registry, prompt, candidates), r.chosen) << r.what;
        EXPECT_EQ(prompt.asked(), r.asked) << r.what;
    }
    ScriptedInUse again;  // "Delete All" of an earlier pass does not carry over
    again.answer(InUseAnswer::Skip);
    EXPECT_EQ(chooseDeletions(m.registry, again, {"C:\\Apps\\a.dll"}), std::vector<std::string>{});
}

TEST_F(ReviewRemoval, GuardRefusesDangerousPaths) {
    const RemovalGuard guard(m.shell);
    m.shell.setTempPath("C:\\PROGRA~1\\", "C:\\Program Files\\");
    struct Row { const char* path; bool allowed; };
    const Row rows[] = {
        {"C:\\Apps\\x.txt", true},
        {"C:\\Apps\\Sub\\", true},
        {"C:\\Windows\\Temp\\setup.log", true},
        {"C:\\Apps\\?.txt", false},
        {"C:\\Apps\\*", false},
        {"C:\\", false},
        {"c:", false},
        {"D:\\\\", false},
        {"C:\\Windows", false},
        {"c:\\WINDOWS\\", false},
        {"C:\\Windows\\System32\\\\", false},
        {"C:\\Program Files", false},
        {"C:\\PROGRA~1", false},              // short spelling of a protected folder
        {"Apps\\x.txt", false},               // relative
        {"\\Apps\\x.txt", false},             // no drive
        {"\\\\server\\share\\x", false},
        {"C:Apps\\x.txt", false},
        {"C:\\Apps\\..\\Windows", false},
        {"C:\\Apps\\.\\x.txt", false},
        {"C:\\Apps\\\\x.txt", false},
        {"C:/Windows", false},
        {"", false},
    };
    for (const auto& r : rows) EXPECT_EQ(guard.allowsPath(r.path), r.allowed) << r.path;
}

TEST_F(ReviewRemoval, KeyEntriesAndTheirGuard) {
    struct Row { const char* entry; Hive hive; const char* path; bool allowed; };
    const Row rows[] = {
        {"HKEY_CURRENT_USER\\Software\\New\\Sub", Hive::CurrentUser, "Software\\New\\Sub", true},
        {"HKEY_LOCAL_MACHINE\\Software\\New\\", Hive::LocalMachine, "Software\\New", true},
        {"HKEY_CLASSES_ROOT\\x\\y", Hive::LocalMachine, "x\\y", true},  // anything else is the machine hive
        {"HKEY_LOCAL_MACHINE\\Software", Hive::LocalMachine, "Software", false},
        {"HKEY_CURRENT_USER\\System\\", Hive::CurrentUser, "System", false},
        {"HKEY_LOCAL_MACHINE\\", Hive::LocalMachine, "", false},
        {"HKEY_LOCAL_MACHINE", Hive::LocalMachine, "", false},
        {"HKEY_LOCAL_MACHINE\\Software\\\\", Hive::LocalMachine, "Software", false},
        {"HKEY_LOCAL_MACHINE\\\\Software\\x", Hive::LocalMachine, "\\Software\\x", false},
    };
    for (const auto& r : rows) {
        const KeyEntry key = parseKeyEntry(r.entry);
        EXPECT_EQ(key.hive, r.hive) << r.entry;
        EXPECT_EQ(key.path, r.path) << r.entry;
        EXPECT_EQ(allowsKeyRemoval(key.path), r.allowed) << r.entry;
    }
}

TEST_F(ReviewRemoval, RegistryRowNamesItsKey) {
    struct Row { const char* parent; const char* name; Hive hive; const char* path; };
    const Row rows[] = {
        {"HKEY_CURRENT_USER\\Software\\New\\", "Sub", Hive::CurrentUser, "Software\\New\\Sub"},
        {"HKEY_LOCAL_MACHINE\\Software\\", "Vendor", Hive::LocalMachine, "Software\\Vendor"},
        {"HKEY_CURRENT_USER\\", "TopLevel", Hive::CurrentUser, "TopLevel"},
    };
    for (const auto& r : rows) {
        const KeyTarget t = keyTargetOf({r.name, r.parent});
        EXPECT_EQ(t.hive, r.hive) << r.parent;
        EXPECT_EQ(t.path, r.path) << r.parent;
    }
}

TEST_F(ReviewRemoval, NothingSelectedIsRefusedForDeleteAndMove) {
    addFiles({"C:\\Apps\\a.txt"});
    m.prompter.answer(MsgAnswer::Ok);
    m.prompter.answer(MsgAnswer::Ok);
    deleteSelected(context, changes, selection, false);
    moveSelected(context, changes, selection);
    ASSERT_EQ(m.prompter.messages().size(), 2u);
    EXPECT_EQ(m.prompter.messages()[0].text, "No files or system changes selected. Select a file or a system change "
                                             "and then click on Delete selected.");
    EXPECT_EQ(m.prompter.messages()[0].title, "Error deleting files");
    EXPECT_EQ(m.prompter.messages()[0].icon, MsgIcon::Exclamation);
    EXPECT_EQ(m.prompter.messages()[1].text, "No files selected. Select a file and then click on Move selected.");
    EXPECT_EQ(m.prompter.messages()[1].title, "Error moving files");
    EXPECT_TRUE(m.shell.operations().empty());
    EXPECT_TRUE(m.files.exists("C:\\Apps\\a.txt"));
    EXPECT_EQ(changes.files.size(), 1u);
}

TEST_F(ReviewRemoval, DeleteTakesOutDeletedAndVanishedRowsAndKeepsTheRest) {
    addFiles({"C:\\Apps\\1.txt", "C:\\Apps\\2.txt", "C:\\Apps\\3.txt", "C:\\Apps\\4.txt", "C:\\Apps\\5.txt"});
    ASSERT_EQ(m.files.deleteFile("C:\\Apps\\5.txt"), Status::Ok);  // vanished meanwhile
    selection.files = {2};
    deleteSelected(context, changes, selection, false);
    EXPECT_EQ(filePaths(), (std::vector<std::string>{"C:\\Apps\\1.txt", "C:\\Apps\\2.txt", "C:\\Apps\\4.txt"}));
    EXPECT_EQ(m.shell.recycled(), std::vector<std::string>{"C:\\Apps\\3.txt"});
}

TEST_F(ReviewRemoval, SkippedDllsAndUndeletableItemsKeepTheirRows) {
    addFiles({"C:\\Apps\\shared.dll", "C:\\Apps\\free.txt", "C:\\Apps\\other.dll", "C:\\Apps\\held.txt"});
    countShared(m.registry, "C:\\Apps\\shared.dll", 3);
    countShared(m.registry, "C:\\Apps\\other.dll", 2);
    m.files.holdOpen("C:\\Apps\\held.txt");
    m.desktop.setNtFamily(false);  // no restart scheduling: the failure stays a failure
    inUse.answer(InUseAnswer::Skip);
    inUse.answer(InUseAnswer::Delete);
    selection.files = {0, 1, 2, 3};
    deleteSelected(context, changes, selection, false);
    EXPECT_EQ(filePaths(), (std::vector<std::string>{"C:\\Apps\\shared.dll", "C:\\Apps\\held.txt"}));
    EXPECT_TRUE(m.files.exists("C:\\Apps\\shared.dll"));
    EXPECT_FALSE(m.files.exists("C:\\Apps\\other.dll"));
    EXPECT_EQ(inUse.asked(), (std::vector<std::string>{"C:\\Apps\\shared.dll", "C:\\Apps\\other.dll"}));
}

TEST_F(ReviewRemoval, TheShiftFlagDoesNotDeleteForGood) {
    addFiles({"C:\\Apps\\a.txt"});
    selection.files = {0};
    deleteSelected(context, changes, selection, true);
    EXPECT_EQ(m.shell.recycled(), std::vector<std::string>{"C:\\Apps\\a.txt"});
    EXPECT_TRUE(changes.files.empty());
}

TEST_F(ReviewRemoval, DeleteNeverHandsDangerousPathsToTheShell) {
    addFiles({"C:\\Apps\\a.txt", "C:\\Apps\\b.txt"});
    changes.files.push_back(fileRow("C:\\Apps\\", "?.txt"));
    changes.files.push_back(fileRow("C:\\", "Windows"));
    changes.files.push_back(fileRow("", "C:\\"));
    changes.files.push_back(fileRow("Apps\\", "b.txt"));
    selection.files = {2, 3, 4, 5};
    deleteSelected(context, changes, selection, false);
    EXPECT_TRUE(m.shell.operations().empty());
    EXPECT_TRUE(m.files.exists("C:\\Apps\\a.txt"));
    EXPECT_TRUE(m.files.exists("C:\\Apps\\b.txt"));
    EXPECT_TRUE(m.files.exists("C:\\Windows"));
    EXPECT_EQ(changes.files.size(), 6u) << "refused rows keep their place";
}

TEST_F(ReviewRemoval, SelectedLineRowsAreRemovedAndTheFilesRewritten) {
    m.files.addFile("C:\\Windows\\win.ini", fakes::crlfText({"[windows]", "load=new.exe", "run="}));
    m.files.addFile("C:\\config.sys", fakes::crlfText({"FILES=40", "DEVICE=new.sys"}));
    auto& win = changes.linesOf(ConfigList::WinIni);
    win = {{"load=new.exe", "load="}, {"run=", " "}, {"other=1", " "}};
    changes.linesOf(ConfigList::ConfigSys) = {{"DEVICE=new.sys", " "}};
    selection.lines[static_cast<std::size_t>(ConfigList::WinIni)] = {2, 0};
    selection.lines[static_cast<std::size_t>(ConfigList::ConfigSys)] = {0};
    deleteSelected(context, changes, selection, false);
    ASSERT_EQ(win.size(), 1u);
    EXPECT_EQ(win[0].added, "run=") << "the unselected row stays";
    EXPECT_TRUE(changes.linesOf(ConfigList::ConfigSys).empty());
    EXPECT_EQ(m.files.content("C:\\Windows\\win.ini"), fakes::crlfText({"[windows]", "load=", "run="}));
    EXPECT_EQ(m.files.content("C:\\config.sys"), fakes::crlfText({"FILES=40"}));
}

TEST_F(ReviewRemoval, KeysThatCannotBeDeletedKeepTheirRows) {
    m.registry.createKey(Hive::CurrentUser, "Software\\New\\Sub\\Deeper");
    m.registry.createKey(Hive::LocalMachine, "Software\\Locked");
    m.registry.failDeleteTree(Hive::LocalMachine, "Software\\Locked");
    changes.keys = {{"Sub", "HKEY_CURRENT_USER\\Software\\New\\"}, {"Locked", "HKEY_LOCAL_MACHINE\\Software\\"},
                    {"Other", "HKEY_CURRENT_USER\\Software\\"}};
    selection.keys = {0, 1};
    m.prompter.answer(MsgAnswer::Ok);
    deleteSelected(context, changes, selection, false);
    EXPECT_FALSE(m.registry.keyExists(Hive::CurrentUser, "Software\\New\\Sub"));
    EXPECT_TRUE(m.registry.keyExists(Hive::CurrentUser, "Software\\New"));
    ASSERT_EQ(changes.keys.size(), 2u);
    EXPECT_EQ(changes.keys[0].name, "Locked");
    EXPECT_EQ(changes.keys[1].name, "Other");
    ASSERT_EQ(m.prompter.messages().size(), 1u);
    EXPECT_EQ(m.prompter.messages()[0].text, "Error deleting key Software\\Locked. Administrative privileges required");
}

TEST_F(ReviewRemoval, MoveGoesOnlyWhereTheUserChose) {
    addFiles({"C:\\Apps\\a.txt", "C:\\Apps\\b.dll", "C:\\Apps\\c.txt"});
    changes.files.push_back(fileRow("C:\\Apps\\", "*.txt"));
    selection.files = {0, 1, 3};

    m.prompter.answerFolder("");  // cancelled
    moveSelected(context, changes, selection);
    EXPECT_TRUE(m.shell.operations().empty());
    EXPECT_EQ(changes.files.size(), 4u);

    m.files.addFolder("C:\\Kept");
    countShared(m.registry, "C:\\Apps\\b.dll", 3);  // no DLL question when moving
    m.prompter.answerFolder("C:\\Kept");
    moveSelected(context, changes, selection);
    EXPECT_EQ(m.prompter.folderTitles().back(), "Choose the folder in which you want to move the selected files to:");
    EXPECT_EQ(m.files.childNames("C:\\Kept"), (std::vector<std::string>{"a.txt", "b.dll"}));
    EXPECT_EQ(filePaths(), (std::vector<std::string>{"C:\\Apps\\c.txt", "C:\\Apps\\*.txt"}));
    EXPECT_TRUE(m.files.exists("C:\\Apps\\c.txt"));
}

}  // namespace
}  // namespace quillon::review
