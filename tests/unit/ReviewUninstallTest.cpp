#include <gtest/gtest.h>

#include <deque>

#include "ReviewScriptedInUse.h"
#include "review/UninstallFromDataFile.h"
#include "review/SharedDll.h"
#include "shell/Settings.h"
#include "support/FakeMachine.h"
#include "support/TextLines.h"

namespace quillon::review {
namespace {

constexpr const char* List = "C:\\L\\NewApp.qdf";
constexpr const char* FailedList = "C:\\temp.qdf";
const std::string Sep(1, settings::ListSeparator);

// A removal list: files, keys and win.ini lines, the other sections empty.
std::string removalList(const std::vector<std::string>& files, const std::vector<std::string>& keys,
                        const std::vector<std::string>& winIni = {}) {
    std::vector<std::string> lines = {"Files{"};
    lines.insert(lines.end(), files.begin(), files.end());
    lines.push_back("}");
    lines.push_back("Registry{");
    lines.insert(lines.end(), keys.begin(), keys.end());
    lines.push_back("}");
    lines.push_back("Win.ini{");
    lines.insert(lines.end(), winIni.begin(), winIni.end());
    for (const char* rest : {"}", "System.ini{", "}", "Autoexec.bat{", "}", "Config.sys{", "}"}) lines.push_back(rest);
    return fakes::crlfText(lines);
}

std::string failedItems(const std::vector<std::string>& files, const std::vector<std::string>& keys) {
    return removalList(files, keys);
}

void countShared(fakes::FakeRegistry& registry, std::string_view path) {
    registry.setValue(Hive::LocalMachine, SharedDllsKey, path, {RegType::Dword, std::string("\x03\0\0\0", 4)});
}

class ReviewUninstall : public ::testing::Test {
protected:
    fakes::FakeMachine m;
    shell::RemovalPorts ports{m.registry, m.files, m.shell, m.desktop, m.prompter, m.run, "C:\\Program Files\\Quillon\\"};
    ScriptedInUse noQuestions;
    RemovalContext context{ports, noQuestions, {"C:\\Windows\\", "C:\\", "C:\\"}};

    void SetUp() override {
        m.registry.setString(Hive::CurrentUser, settings::GeneralKey, settings::general::DeleteMode, "0");
        m.registry.setString(Hive::CurrentUser, settings::GeneralKey, settings::general::SavedForDeletion,
                             "C:\\L\\a.qdf" + Sep + List + Sep);
    }
    void uninstall(std::initializer_list<MsgAnswer> answers) {
        for (auto a : answers) m.prompter.answer(a);
        uninstallFromDataFile(context, List);
    }
    std::optional<std::string> saved() const {
        return m.registry.stringValue(Hive::CurrentUser, settings::GeneralKey, settings::general::SavedForDeletion);
    }
    const MessageRequest& lastMessage() const { return m.prompter.messages().back(); }
};

TEST_F(ReviewUninstall, AsksFirstAndDoesNothingOnNo) {
    m.files.addFile(List, removalList({"C:\\Apps\\a.txt"}, {}));
    m.files.addFile("C:\\Apps\\a.txt", "a");
    uninstall({MsgAnswer::No});
    ASSERT_EQ(m.prompter.messages().size(), 1u);
    const MessageRequest& ask = m.prompter.messages()[0];
    EXPECT_EQ(ask.text, "Are you sure you want to remove NewApp and and all of its components?");
    EXPECT_EQ(ask.title, "Confirm Quillon Uninstall");
    EXPECT_EQ(ask.icon, MsgIcon::Information);
    EXPECT_EQ(ask.buttons, MsgButtons::YesNo);
    EXPECT_TRUE(m.files.exists("C:\\Apps\\a.txt"));
    EXPECT_TRUE(m.files.exists(List));
    EXPECT_EQ(saved(), "C:\\L\\a.qdf" + Sep + List + Sep);
}

TEST_F(ReviewUninstall, NotARemovalListIsRefusedAndKept) {
    struct Row { const char* what; std::optional<std::string> content; };
    const Row rows[] = {
        {"settings file", fakes::crlfText({"[settings]", "Files{"})},
        {"empty file", std::string()},
        {"no file (uninstalled since the menu was made)", std::nullopt},
    };
    for (const auto& r : rows) {
        fakes::FakeMachine fresh;
        shell::RemovalPorts p{fresh.registry, fresh.files, fresh.shell, fresh.desktop, fresh.prompter, fresh.run, ""};
        RemovalContext c{p, noQuestions, {"C:\\Windows\\", "C:\\", "C:\\"}};
        if (r.content) fresh.files.addFile(List, *r.content);
        fresh.prompter.answer(MsgAnswer::Yes);
        fresh.prompter.answer(MsgAnswer::Ok);
        uninstallFromDataFile(c, List);
        ASSERT_EQ(fresh.prompter.messages().size(), 2u) << r.what;
        EXPECT_EQ(fresh.prompter.messages()[1].text, "This is not a valid Quillon data file. The file may be corrupted.");
        EXPECT_EQ(fresh.prompter.messages()[1].title, "Error opening file");
        EXPECT_EQ(fresh.prompter.messages()[1].icon, MsgIcon::Exclamation);
        EXPECT_EQ(fresh.files.exists(List), r.content.has_value()) << r.what;
        EXPECT_FALSE(fresh.files.exists(FailedList)) << r.what;
    }
}

TEST_F(ReviewUninstall, EverythingGoneEndsWithTheListAndItsEntryRemoved) {
    m.files.addFile(List, removalList({"C:\\Apps\\gone.txt", "C:\\Apps\\Gone\\"}, {"HKEY_CURRENT_USER\\Software\\Gone"}));
    uninstall({MsgAnswer::Yes, MsgAnswer::Ok});
    EXPECT_EQ(lastMessage().text, "NewApp has been uninstalled.");
    EXPECT_EQ(lastMessage().title, "Quillon Uninstall complete");
    EXPECT_EQ(lastMessage().icon, MsgIcon::None);
    EXPECT_FALSE(m.files.exists(List));
    EXPECT_FALSE(m.files.exists(FailedList));
    EXPECT_EQ(saved(), "C:\\L\\a.qdf" + Sep);
    EXPECT_TRUE(m.shell.operations().empty()) << "nothing to delete, no shell call";
}

TEST_F(ReviewUninstall, RemovesFilesKeysAndLines) {
    m.files.addFile("C:\\Apps\\a.txt", "a");
    m.files.addFile("C:\\Apps\\Tree\\b.txt", "b");
    m.files.addFile("C:\\Windows\\win.ini", fakes::crlfText({"[windows]", "load=new.exe", "device=x"}));
    m.registry.createKey(Hive::CurrentUser, "Software\\NewApp\\Sub");
    m.registry.createKey(Hive::LocalMachine, "Software\\NewApp");
    m.files.addFile(List, removalList({"C:\\Apps\\a.txt", "C:\\Apps\\Tree"},
                                      {"HKEY_CURRENT_USER\\Software\\NewApp", "HKEY_LOCAL_MACHINE\\Software\\NewApp\\"},
                                      {"load=new.exe" + Sep + "load=" + Sep, "device=x" + Sep + " " + Sep}));
    uninstall({MsgAnswer::Yes, MsgAnswer::Ok});
    EXPECT_EQ(lastMessage().text, "NewApp has been uninstalled.");
    ASSERT_EQ(m.shell.operations().size(), 1u);
    EXPECT_EQ(m.shell.operations()[0].from, (std::vector<std::string>{"C:\\Apps\\a.txt", "C:\\Apps\\Tree"}));
    EXPECT_EQ(m.shell.operations()[0].flags & 0x51u, 0x51u);
    EXPECT_EQ(m.shell.recycled(), (std::vector<std::string>{"C:\\Apps\\a.txt", "C:\\Apps\\Tree"}));
    EXPECT_FALSE(m.registry.keyExists(Hive::CurrentUser, "Software\\NewApp"));
    EXPECT_FALSE(m.registry.keyExists(Hive::LocalMachine, "Software\\NewApp"));
    EXPECT_EQ(m.files.content("C:\\Windows\\win.ini"), fakes::crlfText({"[windows]", "load="}));
}

TEST_F(ReviewUninstall, AKeyThatCannotGoIsAllTheListKeeps) {
    m.files.addFile("C:\\Apps\\a.txt", "a");
    m.registry.createKey(Hive::LocalMachine, "Software\\Locked");
    m.registry.failDeleteTree(Hive::LocalMachine, "Software\\Locked");
    m.files.addFile(List, removalList({"C:\\Apps\\a.txt"}, {"HKEY_LOCAL_MACHINE\\Software\\Locked"}));
    uninstall({MsgAnswer::Yes, MsgAnswer::Ok, MsgAnswer::Ok});
    ASSERT_EQ(m.prompter.messages().size(), 3u);
    EXPECT_EQ(m.prompter.messages()[1].text, "Error deleting key Software\\Locked. Administrative privileges required");
    EXPECT_EQ(lastMessage().text,
              "Uninstall completed. Some items could not be removed because they may be in use. You should manually "
              "remove items related to the application. See the *.qdf file for items that could not be removed.");
    EXPECT_EQ(lastMessage().icon, MsgIcon::Exclamation);
    EXPECT_EQ(m.files.content(List), failedItems({}, {"HKEY_LOCAL_MACHINE\\Software\\Locked"}));
    EXPECT_FALSE(m.files.exists(FailedList));
    EXPECT_FALSE(m.files.exists("C:\\Apps\\a.txt"));
    EXPECT_EQ(saved(), "C:\\L\\a.qdf" + Sep);
}

TEST_F(ReviewUninstall, FilesInUseOnTheNtFamilyAreLeftForTheRestart) {
    m.files.addFile("C:\\Apps\\held.txt", "h");
    m.files.holdOpen("C:\\Apps\\held.txt");
    m.files.addFile(List, removalList({"C:\\Apps\\held.txt"}, {}));
    uninstall({MsgAnswer::Yes, MsgAnswer::Ok});
    EXPECT_EQ(lastMessage().text, "Uninstall completed. Some files could not be removed because they may be in use. "
                                  "These files will be deleted when you restart your computer.");
    EXPECT_EQ(lastMessage().icon, MsgIcon::Exclamation);
    EXPECT_EQ(m.prompter.messages().size(), 2u) << "the removal itself stays silent about the restart";
    EXPECT_EQ(m.shell.restartDeletions(), std::vector<std::string>{"C:\\Apps\\held.txt"});
    EXPECT_FALSE(m.files.exists(List));
    EXPECT_FALSE(m.files.exists(FailedList));
}

TEST_F(ReviewUninstall, FilesInUseElsewhereTakeTheListsPlace) {
    m.desktop.setNtFamily(false);
    m.files.addFile("C:\\Apps\\held.txt", "h");
    m.files.addFile("C:\\Apps\\free.txt", "f");
    m.files.holdOpen("C:\\Apps\\held.txt");
    m.files.addFile(List, removalList({"C:\\Apps\\free.txt", "C:\\Apps\\held.txt"}, {}));
    uninstall({MsgAnswer::Yes, MsgAnswer::Ok});
    EXPECT_EQ(lastMessage().text,
              "Uninstall completed. Some files could not be removed because they may be in use. You should manually "
              "remove items related to the application. See the *.qdf file for items that could not be removed.");
    EXPECT_EQ(m.files.content(List), failedItems({"C:\\Apps\\held.txt"}, {}));
    EXPECT_FALSE(m.files.exists(FailedList));
}

TEST_F(ReviewUninstall, DeleteAllAtTheFirstSharedDllAsksNoMore) {
    for (const char* dll : {"C:\\Apps\\a.dll", "C:\\Apps\\b.ocx", "C:\\Apps\\c.dll"}) {
        m.files.addFile(dll, "x");
        countShared(m.registry, dll);
    }
    ScriptedInUse prompt;
    prompt.answer(InUseAnswer::DeleteAll);
    RemovalContext c{ports, prompt, context.folders};
    m.files.addFile(List, removalList({"C:\\Apps\\a.dll", "C:\\Apps\\b.ocx", "C:\\Apps\\c.dll"}, {}));
    m.prompter.answer(MsgAnswer::Yes);
    m.prompter.answer(MsgAnswer::Ok);
    uninstallFromDataFile(c, List);
    EXPECT_EQ(prompt.asked(), std::vector<std::string>{"C:\\Apps\\a.dll"});
    for (const char* dll : {"C:\\Apps\\a.dll", "C:\\Apps\\b.ocx", "C:\\Apps\\c.dll"}) EXPECT_FALSE(m.files.exists(dll));
    EXPECT_EQ(lastMessage().text, "NewApp has been uninstalled.");
}

TEST_F(ReviewUninstall, DangerousEntriesAreRefusedAndListed) {
    m.files.addFile("C:\\Apps\\a.txt", "a");
    m.files.addFile("C:\\Apps\\b.txt", "b");
    m.files.addFile("C:\\Apps\\mine.txt", "m");
    m.registry.createKey(Hive::LocalMachine, "Software\\Other");
    m.registry.createKey(Hive::CurrentUser, "Software\\Mine");
    const std::vector<std::string> badFiles = {"C:\\Apps\\?.txt", "C:\\Apps\\*", "C:\\", "c:\\windows\\",
                                               "C:\\Windows\\System32", "C:\\Program Files", "Apps\\a.txt"};
    const std::vector<std::string> badKeys = {"HKEY_LOCAL_MACHINE\\Software", "HKEY_LOCAL_MACHINE\\",
                                              "HKEY_CURRENT_USER\\System\\"};
    std::vector<std::string> files = badFiles;
    files.push_back("C:\\Apps\\mine.txt");
    std::vector<std::string> keys = badKeys;
    keys.push_back("HKEY_CURRENT_USER\\Software\\Mine");
    m.files.addFile(List, removalList(files, keys));
    uninstall({MsgAnswer::Yes, MsgAnswer::Ok});

    ASSERT_EQ(m.shell.operations().size(), 1u);
    EXPECT_EQ(m.shell.operations()[0].from, std::vector<std::string>{"C:\\Apps\\mine.txt"});
    EXPECT_TRUE(m.files.exists("C:\\Apps\\a.txt"));
    EXPECT_TRUE(m.files.exists("C:\\Apps\\b.txt"));
    EXPECT_TRUE(m.files.exists("C:\\Windows\\System32"));
    EXPECT_TRUE(m.registry.keyExists(Hive::LocalMachine, "Software\\Other"));
    EXPECT_FALSE(m.registry.keyExists(Hive::CurrentUser, "Software\\Mine"));
    EXPECT_EQ(m.files.content(List), failedItems(badFiles, badKeys));
    EXPECT_EQ(lastMessage().text,
              "Uninstall completed. Some items could not be removed because they may be in use. You should manually "
              "remove items related to the application. See the *.qdf file for items that could not be removed.");
}

TEST_F(ReviewUninstall, AFailedItemsListThatCannotBeWrittenLeavesTheOriginal) {
    m.registry.createKey(Hive::LocalMachine, "Software\\Locked");
    m.registry.failDeleteTree(Hive::LocalMachine, "Software\\Locked");
    const std::string original = removalList({}, {"HKEY_LOCAL_MACHINE\\Software\\Locked"});
    m.files.addFile(List, original);
    m.files.failWritesUnder(FailedList);
    uninstall({MsgAnswer::Yes, MsgAnswer::Ok, MsgAnswer::Ok});
    EXPECT_EQ(m.files.content(List), original);
    EXPECT_FALSE(m.files.exists(FailedList));
}

TEST_F(ReviewUninstall, ACutOffListEndsItsSections) {
    m.files.addFile("C:\\Apps\\a.txt", "a");
    m.files.addFile(List, fakes::crlfText({"Files{", "C:\\Apps\\a.txt"}));
    uninstall({MsgAnswer::Yes, MsgAnswer::Ok});
    EXPECT_FALSE(m.files.exists("C:\\Apps\\a.txt"));
    EXPECT_EQ(lastMessage().text, "NewApp has been uninstalled.");
}

TEST_F(ReviewUninstall, ProgramNameIsTheFileNameLessItsExtension) {
    struct Row { const char* path; const char* name; };
    const Row rows[] = {{"C:\\NewApp\\NewApp.qdf", "NewApp"}, {"D:\\x.y.qdf", "x.y"}, {"NoFolder.qdf", "NoFolder"},
                        {"C:\\a", ""}};
    for (const auto& r : rows) EXPECT_EQ(programNameOf(r.path), r.name) << r.path;
}

}  // namespace
}  // namespace quillon::review
