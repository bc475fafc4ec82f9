// The one door of every removal: what the guard refuses, where files go, what the answer says,
// the user's later files in a folder, and the shell's wildcards and NUL that it must never meet.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "shell/RemovalDoor.h"
#include "shell/Settings.h"
#include "support/FakeMachine.h"

namespace quillon::shell {
namespace {

using Lines = std::vector<std::string>;

struct Door {
    fakes::FakeMachine m;
    RemovalPorts ports{m.registry, m.files, m.shell, m.desktop, m.prompter, m.run, m.clock, "C:\\Data\\"};
    NoJournal journal;

    Door() {
        m.files.addFolder("C:\\Data");
        m.shell.setSpecialFolder(Csidl::Profile, "C:\\Users\\Ann");
        m.shell.setSpecialFolder(Csidl::CommonAppData, "C:\\ProgramData");
        m.shell.setSpecialFolder(Csidl::ProgramFilesX86, "C:\\Program Files (x86)");
    }
    RemovalAnswer remove(Lines paths, Lines keys = {}) {
        RemovalRequest request;
        request.paths = std::move(paths);
        request.keys = std::move(keys);
        return removeThroughDoor(ports, request, journal);
    }
    void deleteMode(std::string_view mode) {
        m.registry.setString(Hive::CurrentUser, settings::GeneralKey, "DeleteMode", mode);
    }
};

Outcome outcomeOf(const std::vector<ItemAnswer>& answers, const std::string& item) {
    for (const auto& a : answers)
        if (a.item == item) return a.outcome;
    ADD_FAILURE() << "no answer for " << item;
    return Outcome::Failed;
}

TEST(RemovalGuard, RefusesWhatTheShellWouldReadOtherwiseAndWhatIsNotTheInstallations) {
    Door d;
    d.m.shell.setTempPath("C:\\PROGRA~1\\", "C:\\Program Files\\");
    const RemovalGuard guard(d.m.shell, "C:\\Data\\");
    for (const char* path : {"C:\\Apps\\x.txt", "C:\\Apps\\Sub\\", "C:\\Windows\\Temp\\setup.log", "C:\\PROGRA~1\\App",
                             "C:\\Users\\Ann\\AppData\\NewApp", "C:\\Apps\\.hidden", "C:\\Apps\\x.y.txt"})
        EXPECT_TRUE(guard.allowsPath(path)) << path;
    const struct { std::string path; Refusal why; } refused[] = {
        {"C:\\Apps\\?.txt", Refusal::Unsafe}, {"C:\\Apps\\*", Refusal::Unsafe},
        {std::string("C:\\Apps\\a.txt\0C:\\Users\\Ann\\b.doc", 30), Refusal::Unsafe},
        {"C:\\Apps\\a\tb.txt", Refusal::Unsafe}, {"C:\\Program Files.", Refusal::Unsafe},
        {"C:\\Program Files \\", Refusal::Unsafe}, {"C:\\Apps.\\x.txt", Refusal::Unsafe},
        {"C:\\Apps\\..\\Windows", Refusal::Unsafe}, {"C:\\Apps/../Windows", Refusal::Unsafe},
        {"C:\\Apps\\.\\x.txt", Refusal::Unsafe}, {"C:\\Apps\\\\x.txt", Refusal::Unsafe},
        {"C:\\", Refusal::DriveRoot}, {"c:", Refusal::DriveRoot}, {"D:\\\\", Refusal::DriveRoot},
        {"Apps\\x.txt", Refusal::NotFullPath}, {"\\\\server\\share\\x", Refusal::NotFullPath},
        {"\\\\?\\C:\\Apps", Refusal::Unsafe}, {"C:Apps\\x.txt", Refusal::NotFullPath}, {"", Refusal::NotFullPath},
        {"C:\\Windows", Refusal::Protected}, {"c:\\WINDOWS\\", Refusal::Protected},
        {"C:\\Program Files", Refusal::Protected}, {"C:\\PROGRA~1", Refusal::Protected},
        {"C:\\Program Files (x86)", Refusal::Protected}, {"C:\\Users", Refusal::Protected},
        {"C:\\Users\\Ann", Refusal::Protected}, {"C:\\Users\\Ann\\AppData", Refusal::Protected},
        {"C:\\ProgramData\\", Refusal::Protected}, {"C:\\Data", Refusal::Protected},
        {"C:\\Data\\Drive_C.qdb", Refusal::Protected}, {"c:\\data\\Undo\\2026-12-07 10.00.00 X", Refusal::Protected},
    };
    for (const auto& r : refused) EXPECT_EQ(guard.checkPath(r.path), r.why) << r.path;
}

TEST(RemovalGuard, KeysNameTheirHiveAndNeverAHiveRootAKeyRightBelowItOrAKeyEveryProgramShares) {
    struct Row { const char* entry; Hive hive; const char* path; bool allowed; };
    const Row rows[] = {
        {"HKEY_CURRENT_USER\\Software\\New\\Sub", Hive::CurrentUser, "Software\\New\\Sub", true},
        {"HKEY_LOCAL_MACHINE\\Software\\New\\", Hive::LocalMachine, "Software\\New", true},
        {"HKEY_LOCAL_MACHINE\\Software\\Classes\\.newapp", Hive::LocalMachine, "Software\\Classes\\.newapp", true},
        {"HKEY_CLASSES_ROOT\\x\\y", Hive::LocalMachine, "x\\y", false},  // an unknown hive is never the machine's
        {"HKEY_LOCAL_MACHINE\\Software", Hive::LocalMachine, "Software", false},
        {"HKEY_CURRENT_USER\\Software\\", Hive::CurrentUser, "Software", false},
        {"HKEY_LOCAL_MACHINE\\Software\\Classes", Hive::LocalMachine, "Software\\Classes", false},
        {"HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run", Hive::LocalMachine,
         "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run", false},
        {"HKEY_LOCAL_MACHINE\\System\\CurrentControlSet", Hive::LocalMachine, "System\\CurrentControlSet", false},
        {"HKEY_LOCAL_MACHINE\\", Hive::LocalMachine, "", false},
        {"HKEY_LOCAL_MACHINE\\Software\\\\", Hive::LocalMachine, "Software", false},
        {"HKEY_LOCAL_MACHINE\\\\Software\\x", Hive::LocalMachine, "\\Software\\x", false},
        {"HKEY_CURRENT_USER\\Software\\..\\x", Hive::CurrentUser, "Software\\..\\x", false},
    };
    for (const Row& r : rows) {
        const KeyEntry key = parseKeyEntry(r.entry);
        EXPECT_EQ(key.hive, r.hive) << r.entry;
        EXPECT_EQ(key.path, r.path) << r.entry;
        EXPECT_EQ(allowsKeyEntry(key), r.allowed) << r.entry;
    }
}

// Each input a removal could be handed that an honest shell would turn into more than was
// chosen: the user's files of the same shape must all stay, and the row is refused.
TEST(RemovalDoor, NothingGoesThatTheRequestDoesNotName) {
    const struct { const char* what; std::string path; } rows[] = {
        {"a name the code page could not spell", "C:\\Apps\\??1.tmp"},
        {"a wildcard", "C:\\Apps\\*.tmp"},
        {"a NUL inside a list line", std::string("C:\\Apps\\x.tmp\0C:\\Apps\\ab1.tmp", 29)},
        {"a trailing dot", "C:\\Apps."},
        {"a trailing space", "C:\\Apps\\Sub "},
        {"a protected folder", "C:\\Users\\Ann"},
        {"the data folder's snapshot", "C:\\Data\\Drive_C.qdb"},
    };
    for (const auto& r : rows) {
        Door d;
        for (const char* f : {"C:\\Apps\\ab1.tmp", "C:\\Apps\\cd1.tmp", "C:\\Apps\\x.tmp", "C:\\Apps\\Sub\\s.doc",
                              "C:\\Users\\Ann\\a.doc", "C:\\Data\\Drive_C.qdb"})
            d.m.files.addFile(f, "user");
        d.m.prompter.answer(MsgAnswer::Ok);
        const RemovalAnswer answer = d.remove({r.path});
        for (const char* f : {"C:\\Apps\\ab1.tmp", "C:\\Apps\\cd1.tmp", "C:\\Apps\\x.tmp", "C:\\Apps\\Sub\\s.doc",
                              "C:\\Users\\Ann\\a.doc", "C:\\Data\\Drive_C.qdb"})
            EXPECT_TRUE(d.m.files.exists(f)) << r.what << ": " << f;
        EXPECT_EQ(outcomeOf(answer.files, r.path), Outcome::Refused) << r.what;
        EXPECT_TRUE(d.m.shell.operations().empty()) << r.what;
        ASSERT_EQ(d.m.prompter.messages().size(), 1u) << r.what;
        EXPECT_NE(d.m.prompter.messages()[0].text.find("not safe"), std::string::npos) << r.what;
    }
}

TEST(RemovalDoor, TheFakeShellIsAsDangerousAsTheRealOne) {
    fakes::FakeMachine m;
    for (const char* f : {"C:\\Apps\\ab1.tmp", "C:\\Apps\\cd1.tmp", "C:\\Apps\\x.tmp", "C:\\Apps\\keep.doc", "C:\\Apps\\first.txt"})
        m.files.addFile(f, "x");
    static_cast<void>(m.shell.fileOperation({FileOpKind::Delete, {"C:\\Apps\\??1.tmp"}, {}, 0, 0}));
    EXPECT_FALSE(m.files.exists("C:\\Apps\\ab1.tmp") || m.files.exists("C:\\Apps\\cd1.tmp"));
    static_cast<void>(m.shell.fileOperation({FileOpKind::Delete, {std::string("C:\\Apps\\first.txt\0C:\\Apps\\x.tmp", 31)}, {}, 0, 0}));
    EXPECT_FALSE(m.files.exists("C:\\Apps\\x.tmp"));
    EXPECT_TRUE(m.files.exists("C:\\Apps\\keep.doc"));
}

TEST(RemovalDoor, TheDeleteModeChoosesRecycleBinDeletionOrAPlaceOfItsOwnInTheDataFolder) {
    struct Row { std::optional<std::string> deleteMode; bool nt; std::uint32_t callerFlags; RemoveMode mode;
                 std::uint32_t shellFlags; bool recycled; };
    const Row rows[] = {
        {"0", true, 0, RemoveMode::Setting, 0x41 | 0x400 | 0x4000, true},
        {"0", false, 0, RemoveMode::Setting, 0x41 | 0x4000, true},
        {"0", true, 0x10, RemoveMode::Setting, 0x10 | 0x400, false},
        {std::nullopt, true, 0x10, RemoveMode::Setting, 0x10 | 0x40 | 0x400 | 0x4000, true},  // no settings key
        {"1", true, 0, RemoveMode::Setting, 0x1 | 0x400, false},
        {"0", true, 0, RemoveMode::Permanent, 0x1 | 0x400, false},
        {"2", true, 0, RemoveMode::Setting, 0, false},  // 0: moved into the data folder
    };
    for (const auto& r : rows) {
        const std::string what = r.deleteMode.value_or("(none)");
        Door d;
        d.m.files.addFile("C:\\Apps\\a.txt", "a");
        if (r.deleteMode) d.deleteMode(*r.deleteMode);
        d.m.desktop.setNtFamily(r.nt);
        RemovalRequest request;
        request.paths = {"C:\\Apps\\a.txt"};
        request.flags = r.callerFlags;
        request.mode = r.mode;
        const RemovalAnswer answer = removeThroughDoor(d.ports, request, d.journal);
        EXPECT_EQ(outcomeOf(answer.files, "C:\\Apps\\a.txt"), Outcome::Removed) << what;
        ASSERT_EQ(d.m.shell.operations().size(), 1u) << what;
        const FileOperation& op = d.m.shell.operations()[0];
        EXPECT_EQ(op.kind, r.shellFlags ? FileOpKind::Delete : FileOpKind::Move) << what;
        if (r.shellFlags) {
            EXPECT_EQ(op.flags, r.shellFlags) << what;
        }
        EXPECT_FALSE(d.m.files.exists("C:\\Apps\\a.txt")) << what;
        EXPECT_EQ(d.m.files.exists("C:\\Data\\Removed\\C\\Apps\\a.txt"), r.shellFlags == 0) << what;
        EXPECT_EQ(!d.m.shell.recycled().empty(), r.recycled) << what;
        EXPECT_TRUE(d.m.prompter.messages().empty()) << what;
    }
}

TEST(RemovalDoor, TwoFilesOfOneNameKeptInTheDataFolderNeverMeet) {
    Door d;
    d.deleteMode("2");
    d.m.files.addFile("C:\\A\\readme.txt", "a");
    d.m.files.addFile("C:\\B\\readme.txt", "b");
    d.m.files.addFile("C:\\Data\\Removed\\C\\A\\readme.txt", "kept before");
    const std::vector<FileFate> fates = fatesOf(d.ports, {"C:\\A\\readme.txt", "C:\\B\\readme.txt"}, 0, RemoveMode::Setting);
    ASSERT_EQ(fates.size(), 2u);
    EXPECT_EQ(fates[0].movedTo, "C:\\Data\\Removed\\C\\A\\readme (2).txt");
    EXPECT_EQ(fates[1].movedTo, "C:\\Data\\Removed\\C\\B\\readme.txt");
    const RemovalAnswer answer = d.remove({"C:\\A\\readme.txt", "C:\\B\\readme.txt"});
    EXPECT_FALSE(answer.anyLeft());
    EXPECT_EQ(d.m.files.content("C:\\Data\\Removed\\C\\A\\readme.txt"), "kept before");
    EXPECT_EQ(d.m.files.content("C:\\Data\\Removed\\C\\A\\readme (2).txt"), "a");
    EXPECT_EQ(d.m.files.content("C:\\Data\\Removed\\C\\B\\readme.txt"), "b");
}

TEST(RemovalDoor, EachItemIsAnsweredForAsItEnded) {
    Door d;
    for (const char* f : {"C:\\Apps\\a.txt", "C:\\Apps\\b.dll", "C:\\Apps\\Sub\\c.txt", "C:\\Apps\\Sub\\Deep\\d.txt"})
        d.m.files.addFile(f, "x");
    for (const char* f : {"C:\\Apps\\a.txt", "C:\\Apps\\Sub\\c.txt"}) d.m.files.holdOpen(f);
    d.m.prompter.answer(MsgAnswer::Ok);
    RemovalAnswer answer = d.remove({"C:\\Apps\\a.txt", "C:\\Apps\\b.dll", "C:\\Apps\\Sub", "C:\\Apps\\gone.txt"});
    EXPECT_EQ(d.m.shell.restartDeletions(), (Lines{"C:\\Apps\\a.txt", "C:\\Apps\\Sub\\c.txt"}));
    EXPECT_EQ(outcomeOf(answer.files, "C:\\Apps\\a.txt"), Outcome::AtRestart);
    EXPECT_EQ(outcomeOf(answer.files, "C:\\Apps\\Sub"), Outcome::AtRestart);
    EXPECT_EQ(outcomeOf(answer.files, "C:\\Apps\\b.dll"), Outcome::Removed);
    EXPECT_EQ(outcomeOf(answer.files, "C:\\Apps\\gone.txt"), Outcome::NotThere);
    EXPECT_FALSE(d.m.files.exists("C:\\Apps\\Sub\\Deep"));
    ASSERT_EQ(d.m.prompter.messages().size(), 1u);
    EXPECT_EQ(d.m.prompter.messages()[0].text, "Some files could not be removed because they may be in use. These "
                                               "files will be deleted when you restart your computer.");

    // The restart fallback empties a folder without ever going through a link inside it.
    Door j;
    j.m.files.addFile("C:\\App\\held.txt", "x");
    j.m.files.addFile("C:\\Users\\Ann\\Docs\\mine.doc", "mine");
    j.m.files.addJunction("C:\\App\\Link", "C:\\Users\\Ann\\Docs");
    j.m.files.holdOpen("C:\\App\\held.txt");
    answer = j.remove({"C:\\App"});
    EXPECT_TRUE(j.m.files.exists("C:\\Users\\Ann\\Docs\\mine.doc"));
    EXPECT_EQ(outcomeOf(answer.files, "C:\\App"), Outcome::Failed) << "the link stays, so the folder does";
    EXPECT_EQ(j.m.shell.restartDeletions(), Lines{"C:\\App\\held.txt"});

    // Cancelled: nothing scheduled and nothing called removed.
    Door c;
    c.m.files.addFile("C:\\Apps\\a.txt", "x");
    c.m.shell.cancelNextOperation();
    answer = c.remove({"C:\\Apps\\a.txt"});
    EXPECT_EQ(outcomeOf(answer.files, "C:\\Apps\\a.txt"), Outcome::Cancelled);
    EXPECT_TRUE(answer.cancelled() && answer.anyLeft());
    EXPECT_TRUE(c.m.shell.restartDeletions().empty());

    // The data folder schedules nothing: an in-use file is left, and said to be.
    Door k;
    k.deleteMode("2");
    k.m.files.addFile("C:\\Apps\\a.txt", "x");
    k.m.files.holdOpen("C:\\Apps\\a.txt");
    answer = k.remove({"C:\\Apps\\a.txt"});
    EXPECT_EQ(outcomeOf(answer.files, "C:\\Apps\\a.txt"), Outcome::Failed);
    EXPECT_TRUE(k.m.prompter.messages().empty() && k.m.shell.restartDeletions().empty());

    // Too large for the Recycle Bin: asked about, and kept on No, never destroyed silently.
    Door big;
    big.m.files.addFile("C:\\Apps\\disk.img", "x");
    big.m.files.setFileSize("C:\\Apps\\disk.img", 1ull << 40);
    big.m.shell.setRecycleBinLimit(1 << 20);
    answer = big.remove({"C:\\Apps\\disk.img"});
    EXPECT_TRUE(big.m.files.exists("C:\\Apps\\disk.img"));
    EXPECT_EQ(outcomeOf(answer.files, "C:\\Apps\\disk.img"), Outcome::Cancelled);
}

// Too deep for the shell: deleted for good through the file system when the user agrees, kept
// and said so otherwise, never skipped silently.
TEST(RemovalDoor, APathTooLongForTheShellGoesForGoodOnlyWhenTheUserSaysSo) {
    for (const MsgAnswer reply : {MsgAnswer::Yes, MsgAnswer::No}) {
        Door d;
        std::string deep = "C:\\Apps";
        for (int i = 0; i < 40; ++i) deep += "\\Папка" + std::to_string(i);
        d.m.files.addFile(deep + "\\file.txt", "x");
        d.m.files.addFile("C:\\Apps\\near.txt", "x");
        d.m.prompter.answer(reply);
        const std::string folder = deep.substr(0, deep.rfind('\\'));
        const RemovalAnswer answer = d.remove({folder, "C:\\Apps\\near.txt"});
        ASSERT_FALSE(d.m.prompter.messages().empty());
        const std::string& question = d.m.prompter.messages()[0].text;
        EXPECT_NE(question.find("Delete them for good instead?"), std::string::npos);
        // A box cannot wrap a path: the deep one keeps its start and its last parts.
        EXPECT_NE(question.find("C:\\Apps\\...\\"), std::string::npos) << question;
        EXPECT_EQ(question.find("Папка10"), std::string::npos) << question;
        EXPECT_EQ(d.m.files.exists(deep + "\\file.txt"), reply == MsgAnswer::No);
        EXPECT_EQ(d.m.files.exists(folder), reply == MsgAnswer::No);
        EXPECT_EQ(outcomeOf(answer.files, folder), reply == MsgAnswer::Yes ? Outcome::Removed : Outcome::Refused);
        EXPECT_FALSE(d.m.files.exists("C:\\Apps\\near.txt"));
    }
}

TEST(RemovalDoor, KeysGoOnlyWhenTheGuardLetsThemAndAreAnsweredOneByOne) {
    Door d;
    d.m.registry.setString(Hive::CurrentUser, "Software\\NewApp\\Settings", "x", "1");
    d.m.registry.setString(Hive::CurrentUser, "Software\\Other", "y", "1");
    d.m.registry.setString(Hive::LocalMachine, "Software\\Locked\\Inner", "z", "1");
    d.m.registry.failDeleteTree(Hive::LocalMachine, "Software\\Locked\\Inner");
    d.m.prompter.answer(MsgAnswer::Ok);  // the failed key's error
    d.m.prompter.answer(MsgAnswer::Ok);  // the refused ones
    const RemovalAnswer answer = d.remove({}, {"HKEY_CURRENT_USER\\Software\\NewApp", "HKEY_CURRENT_USER\\Software",
                                               "HKEY_LOCAL_MACHINE\\Software\\Locked", "HKEY_CURRENT_USER\\Software\\Gone"});
    EXPECT_FALSE(d.m.registry.keyExists(Hive::CurrentUser, "Software\\NewApp"));
    EXPECT_TRUE(d.m.registry.keyExists(Hive::CurrentUser, "Software\\Other"));
    EXPECT_EQ(outcomeOf(answer.keys, "HKEY_CURRENT_USER\\Software\\NewApp"), Outcome::Removed);
    EXPECT_EQ(outcomeOf(answer.keys, "HKEY_CURRENT_USER\\Software"), Outcome::Refused);
    EXPECT_EQ(outcomeOf(answer.keys, "HKEY_LOCAL_MACHINE\\Software\\Locked"), Outcome::Failed);
    EXPECT_EQ(outcomeOf(answer.keys, "HKEY_CURRENT_USER\\Software\\Gone"), Outcome::NotThere);
}

// A folder that also holds files written after the installation: the user decides, and on No
// the installation's own files go while the folder stays with the user's.
TEST(RemovalDoor, AFolderWithTheUsersLaterFilesGoesWholeOnlyWhenTheUserSaysSo) {
    for (const MsgAnswer reply : {MsgAnswer::Yes, MsgAnswer::No}) {
        Door d;
        const DateTime installed{2026, 3, 1, 10, 0, 0}, before{2026, 3, 1, 9, 0, 0}, after{2026, 5, 2, 8, 0, 0};
        d.m.files.addFile("C:\\App\\app.exe", "x", FileAttr::Archive, before);
        d.m.files.addFile("C:\\App\\Lib\\a.dll", "x", FileAttr::Archive, before);
        d.m.files.addFile("C:\\App\\Docs\\letter.doc", "mine", FileAttr::Archive, after);
        d.m.files.addFile("C:\\App\\Docs\\manual.pdf", "x", FileAttr::Archive, before);
        d.m.prompter.answer(reply);
        RemovalRequest request;
        request.paths = {"C:\\App"};
        request.installedBy = installed;
        const RemovalAnswer answer = removeThroughDoor(d.ports, request, d.journal);
        ASSERT_EQ(d.m.prompter.messages().size(), 1u);
        EXPECT_EQ(d.m.prompter.messages()[0].text,
                  "C:\\App also holds 1 file changed after the installation: letter.doc. Remove them too?");
        EXPECT_EQ(d.m.prompter.messages()[0].defaultButton, 2);
        const bool yes = reply == MsgAnswer::Yes;
        EXPECT_EQ(d.m.files.exists("C:\\App\\Docs\\letter.doc"), !yes);
        EXPECT_FALSE(d.m.files.exists("C:\\App\\app.exe") || d.m.files.exists("C:\\App\\Lib") ||
                     d.m.files.exists("C:\\App\\Docs\\manual.pdf"));
        EXPECT_EQ(outcomeOf(answer.files, "C:\\App"), yes ? Outcome::Removed : Outcome::UserFilesKept);
        EXPECT_EQ(answer.files.size(), 1u) << "the folder answers for its parts";
    }
}

}  // namespace
}  // namespace quillon::shell
