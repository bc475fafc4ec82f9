// Undo records: written before a removal, refusing the removal when they cannot be, and
// putting keys, configuration files and moved files back.
#include <gtest/gtest.h>

#include <functional>

#include "cleanup/ResultActions.h"
#include "review/ChangeRemoval.h"
#include "review/UninstallFromDataFile.h"
#include "shell/Settings.h"
#include "support/FakeMachine.h"
#include "support/PromptedPreview.h"
#include "support/TextLines.h"
#include "undo/KeyTreeImage.h"
#include "undo/UndoRecorder.h"
#include "undo/UndoRestore.h"

namespace quillon::undo {
namespace {

constexpr const char* Data = "C:\\Data\\";
constexpr const char* AppKey = "Software\\NewApp";
constexpr const char* WinIni = "C:\\Windows\\win.ini";
constexpr const char* IniBefore = "[windows]\r\nload=new.exe\r\nrun=\r\n";
constexpr const char* IniAfter = "[windows]\r\nrun=\r\n";
constexpr const char* NewExe = "C:\\Apps\\new.exe";
const std::string List = "C:\\L\\NewApp.qdf";
constexpr const char* ListText = "Files{\r\nC:\\Apps\\new.exe\r\n}\r\nRegistry{\r\nHKEY_LOCAL_MACHINE\\Software\\NewApp\r\n}\r\n"
                                 "win.ini{\r\nload=new.exe\x7f \x7f\r\n}\r\nsystem.ini{\r\n}\r\nautoexec.bat{\r\n}\r\nconfig.sys{\r\n}\r\n";

struct NoDllQuestions final : review::InUsePrompt {
    review::InUseAnswer ask(std::string_view) override { return review::InUseAnswer::Skip; }
};

// One installed program: a key tree with every kind of value, a line in win.ini, a file.
struct Bench {
    fakes::FakeMachine m;
    shell::RemovalPorts ports{m.registry, m.files, m.shell, m.desktop, m.prompter, m.run, m.clock, Data};
    NoDllQuestions inUse;
    review::RemovalContext context{ports, inUse, {"C:\\Windows\\", "C:\\", "C:\\"}};
    std::vector<std::string> listsBack;
    RestorePorts restore{m.registry, m.files, m.shell, m.prompter, Data, "C:\\", 0,
                         [this](const std::string& list) { listsBack.push_back(list); }};
    std::vector<RegKeyImage> original;

    explicit Bench(const char* deleteMode = "0") {
        m.registry.setString(Hive::CurrentUser, settings::GeneralKey, settings::general::DeleteMode, deleteMode);
        m.files.addFolder(Data);
        using namespace std::string_literals;
        const std::pair<const char*, RegValue> values[] = {
            {"", {RegType::Sz, "default"}},         {"Path", {RegType::ExpandSz, "%TEMP%\\a"}},
            {"Names", {RegType::MultiSz, "a\0b\0\0"s}}, {"Count", {RegType::Dword, "\x2a\0\0\0"s}},
            {"Big", {RegType::Qword, "\1\0\0\0\0\0\0\x80"s}}, {"Blob", {RegType::Binary, "\0\xff"s}},
            {"Empty", {RegType::Sz, ""}}};
        for (const auto& [name, value] : values) m.registry.setValue(Hive::LocalMachine, AppKey, name, value);
        m.registry.setValue(Hive::LocalMachine, std::string(AppKey) + "\\Sub\\Deeper", "x", {RegType::Sz, "y"});
        EXPECT_EQ(captureKeyTree(m.registry, Hive::LocalMachine, AppKey, original), Status::Ok);
        m.files.addFile(WinIni, IniBefore);
        m.files.addFile(NewExe, "MZ");
    }
    void deleteInViewer() {
        review::ChangeSet changes;
        changes.files.push_back({"new.exe", "C:\\Apps\\", "", ""});
        changes.keys.push_back({"NewApp", "HKEY_LOCAL_MACHINE\\Software\\"});
        changes.linesOf(review::ConfigList::WinIni).push_back({"load=new.exe", " "});
        review::Selection all{{0}, {0}, {{{0}, {}, {}, {}}}};
        review::deleteSelected(context, changes, all, false);
    }
    void uninstall() {
        m.files.addFile(List, ListText);
        m.prompter.answer(MsgAnswer::Yes);
        m.prompter.answer(MsgAnswer::Ok);
        fakes::PromptedPreview preview(m.prompter);
        review::uninstallFromDataFile(context, preview, List, false);
    }
    void cleanUp() {
        cleanup::ScanResults results;
        results.add({"new.exe", "C:\\Apps\\", 2});
        cleanup::deleteSelected(ports, cleanup::ResultKind::JunkFiles, results, {0});
    }
    std::vector<RegKeyImage> keysNow() {
        std::vector<RegKeyImage> now;
        static_cast<void>(captureKeyTree(m.registry, Hive::LocalMachine, AppKey, now));  // a tree that is gone is an empty image
        return now;
    }
    const MessageRequest& lastMessage() const { return m.prompter.messages().back(); }
};

TEST(Undo, DeleteThenUndoBringsBackEveryKeyValueLineAndMovedFileAndNamesTheRecycledOne) {
    for (const bool recycled : {true, false}) {
        Bench b(recycled ? "0" : "2");
        b.deleteInViewer();
        ASSERT_FALSE(b.m.registry.keyExists(Hive::LocalMachine, AppKey));
        ASSERT_EQ(b.m.files.content(WinIni), IniAfter);
        ASSERT_EQ(b.m.files.exists("C:\\Data\\Removed\\C\\Apps\\new.exe"), !recycled);
        ASSERT_TRUE(canUndo(b.m.files, Data));

        b.m.prompter.answer(MsgAnswer::Yes);
        b.m.prompter.answer(MsgAnswer::Ok);
        undoLastRemoval(b.restore);
        const auto& asked = b.m.prompter.messages().at(0).text;
        for (const char* shown : {"HKEY_LOCAL_MACHINE\\Software\\NewApp", "C:\\Windows\\win.ini: load=new.exe", NewExe, "Changes"})
            EXPECT_NE(asked.find(shown), std::string::npos) << shown;
        EXPECT_EQ(b.keysNow(), b.original);
        EXPECT_EQ(b.m.files.content(WinIni), IniBefore);
        EXPECT_EQ(b.m.files.exists(NewExe), !recycled) << "a file moved aside goes back";
        const std::string named = "Recycle Bin; open the Recycle Bin to restore them:\r\n    C:\\Apps\\new.exe";
        EXPECT_EQ(b.lastMessage().text.find(named) != std::string::npos, recycled) << b.lastMessage().text;
        EXPECT_FALSE(canUndo(b.m.files, Data));
    }
}

TEST(Undo, NothingIsRemovedWhenTheRecordCannotBeWritten) {
    const std::pair<const char*, std::function<void(Bench&)>> operations[] = {
        {"viewer", [](Bench& b) { b.m.prompter.answer(MsgAnswer::Ok), b.deleteInViewer(); }},
        {"uninstall", [](Bench& b) { b.uninstall(); }},
        {"clean-up", [](Bench& b) { b.m.prompter.answer(MsgAnswer::Ok), b.cleanUp(); }},
    };
    // The disk full under Undo, or a record that cannot be read back, for every removal; a sub-key
    // listed under a name no open finds for the two that take keys: the record would miss it while
    // the deletion took it.
    const std::pair<std::string, std::function<void(Bench&)>> failures[] = {
        {"disk full", [](Bench& b) { b.m.files.failWritesUnder("C:\\Data\\Undo"); }},
        {"unreadable record", [](Bench& b) { b.m.files.failReadsUnder("C:\\Data\\Undo"); }},
        {"unreadable sub-key", [](Bench& b) {
             b.m.registry.markUnspellable(Hive::LocalMachine, std::string(AppKey) + "\\Ключ");
             b.original = b.keysNow();
         }},
    };
    for (const auto& [failure, stage] : failures)
    for (const auto& [operation, remove] : operations) {
        const std::string name = failure + ", " + operation;
        if (failure == "unreadable sub-key" && std::string(operation) == "clean-up") continue;
        Bench b;
        stage(b);
        remove(b);
        ASSERT_FALSE(b.m.prompter.messages().empty()) << name;
        EXPECT_EQ(b.lastMessage().text, "The undo record could not be written. Nothing was removed.") << name;
        EXPECT_EQ(b.keysNow(), b.original) << name;
        EXPECT_EQ(b.m.files.content(WinIni), IniBefore) << name;
        EXPECT_TRUE(b.m.files.exists(NewExe)) << name;
        EXPECT_TRUE(b.m.files.childNames("C:\\Data\\Undo").empty()) << name;
        EXPECT_FALSE(canUndo(b.m.files, Data)) << name;
    }
}

TEST(Undo, AConfigurationFileChangedSinceTheRemovalIsReplacedOnlyWhenTheUserSaysSo) {
    const std::pair<MsgAnswer, const char*> answers[] = {{MsgAnswer::No, "[windows]\r\nrun=later\r\n"},
                                                         {MsgAnswer::Yes, IniBefore}};
    for (const auto& [answer, expected] : answers) {
        Bench b;
        b.uninstall();
        b.m.files.addFile(WinIni, "[windows]\r\nrun=later\r\n");
        for (MsgAnswer a : {MsgAnswer::Yes, answer, MsgAnswer::Ok}) b.m.prompter.answer(a);
        undoLastRemoval(b.restore);
        EXPECT_EQ(b.m.files.content(WinIni), expected);
        EXPECT_EQ(b.keysNow(), b.original);
        EXPECT_EQ(b.m.files.content(List), ListText) << "the uninstalled list is back";
        EXPECT_EQ(b.listsBack, std::vector<std::string>{List});
    }
}

TEST(Undo, OnlyTheLatestTwentyRecordsStay) {
    Bench b;
    for (int minute = 1; minute <= 21; ++minute) {
        b.m.clock.at.minute = minute;
        UndoRecorder record(b.ports, {"Step", {}});
        ASSERT_TRUE(record.write({}, {{"C:\\x" + std::to_string(minute), shell::RemovalPlace::Deleted, {}}}));
    }
    const auto kept = b.m.files.childNames("C:\\Data\\Undo");
    ASSERT_EQ(kept.size(), RecordsKept);
    EXPECT_EQ(*std::min_element(kept.begin(), kept.end()), "2026-01-01 12.02.00 Step");
}

// The undo record's keys: .reg files read back (writing and the round trip in every script are the
// contract suite's), captured and restored.
using Keys = std::vector<RegKeyImage>;

bool readText(const std::string& text, Keys& keys) {
    fakes::FakeFileSystem files;
    files.addFile("C:\\keys.reg", text);
    std::unique_ptr<TextReader> in;
    return succeeded(files.openRead("C:\\keys.reg", in)) && readRegFile(*in, keys);
}

// Older records are ANSI; a UTF-16 file cut inside a code unit is refused.
TEST(UndoRegFile, ReadingTakesRegeditsLayoutAndAnsiAndRefusesAnythingItCannotPlace) {
    Keys keys;
    ASSERT_TRUE(readText(fakes::crlfText({"REGEDIT4", "; a comment", "", "[HKEY_CURRENT_USER\\Caf\xe9]",
                                          " \"b\" = hex:01,\\", "  FF ,\\", "  0a", "@ = \"\xe9t\xe9\"",
                                          "\"d\"=DWORD:41424344", "\"x\"=hex(2):e9,00"}),
                         keys));
    EXPECT_EQ(keys, (Keys{{"HKEY_CURRENT_USER\\Caf\u00e9", {{"b", {RegType::Binary, "\x01\xff\x0a"}},
                                                           {"", {RegType::Sz, "\u00e9t\u00e9"}},
                                                           {"d", {RegType::Dword, "DCBA"}},
                                                           {"x", {RegType::ExpandSz, "\u00e9"}}}}}));
    std::string utf16 = "\xff\xfe";
    const std::string_view text = "Windows Registry Editor Version 5.00\r\n[HKEY_CURRENT_USER\\A]\r\n\"a\"=hex(2):41\r\n";
    for (const char c : text) utf16 += std::string{c, '\0'};
    const std::string badFiles[] = {"", "REGEDIT5\r\n", "REGEDIT4\r\n\"a\"=\"b\"\r\n", utf16};
    for (const std::string& bad : badFiles) EXPECT_FALSE(readText(bad, keys)) << bad;
    for (const char* bad : {"[-HKEY_CURRENT_USER\\A]", "[HKEY_CURRENT_USER\\A", "\"a\"=-", "\"a\"=\"open",
                            "\"a\"=dword:123456789", "\"a\"=hex:1,zz", "\"a\"=hex:01,\\"})
        EXPECT_FALSE(readText(fakes::crlfText({"REGEDIT4", "[HKEY_CURRENT_USER\\A]", bad}), keys)) << bad;
}

// A capture that meets a key it cannot open fails, so the removal is refused; a restore goes on
// past a key it cannot make and reports it.
TEST(UndoRegFile, CaptureFailsAtAKeyItCannotOpenAndRestoreGoesOnPastOne) {
    fakes::FakeRegistry registry;
    registry.setString(Hive::CurrentUser, "Tree", "v", "1");
    registry.markUnopenable(Hive::CurrentUser, "Tree\\Closed");
    registry.markReadOnly(Hive::CurrentUser, "Locked");
    Keys keys;
    EXPECT_EQ(captureKeyTree(registry, Hive::CurrentUser, "Tree", keys), Status::AccessDenied);
    keys = {{"HKEY_USERS\\X", {}}, {"HKEY_CURRENT_USER\\Locked\\A", {}}, {"hkey_current_user\\B", {{"v", {}}}}};
    EXPECT_EQ(restoreKeys(registry, keys), Status::InvalidName);
    EXPECT_EQ(registry.valueNames(Hive::CurrentUser, "B"), std::vector<std::string>{"v"});
    EXPECT_FALSE(registry.keyExists(Hive::CurrentUser, "Locked\\A"));
}

}  // namespace
}  // namespace quillon::undo
