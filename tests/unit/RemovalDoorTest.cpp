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

    explicit Door(const char* deleteMode = "0") {  // nullptr: no settings key
        m.files.addFolder("C:\\Data");
        m.shell.setSpecialFolder(Csidl::Profile, "C:\\Users\\Ann");
        m.shell.setSpecialFolder(Csidl::CommonAppData, "C:\\ProgramData");
        m.shell.setSpecialFolder(Csidl::ProgramFilesX86, "C:\\Program Files (x86)");
        m.shell.setTempPath("C:\\PROGRA~1\\", "C:\\Program Files\\");
        if (deleteMode) m.registry.setString(Hive::CurrentUser, settings::GeneralKey, "DeleteMode", deleteMode);
    }
    RemovalAnswer remove(Lines paths, std::uint32_t flags = 0, RemoveMode mode = RemoveMode::Setting,
                         std::optional<DateTime> installedBy = {}) {
        RemovalRequest request;
        request.paths = std::move(paths);
        request.flags = flags;
        request.mode = mode;
        request.installedBy = installedBy;
        return removeThroughDoor(ports, request, journal);
    }
    void add(const Lines& files) {
        for (const std::string& f : files) m.files.addFile(f, "x");
    }
};

Outcome outcomeOf(const std::vector<ItemAnswer>& answers, const std::string& item) {
    for (const auto& a : answers)
        if (a.item == item) return a.outcome;
    ADD_FAILURE() << "no answer for " << item;
    return Outcome::Failed;
}

// Each refused path goes through the door into a world where an honest shell would take more
// than the text names: the fake shell expands wildcards and splits at a NUL as the real one does.
TEST(RemovalDoor, NothingGoesThatTheRequestDoesNotName) {
    const Lines world = {"C:\\Apps\\a.txt", "C:\\Apps\\x.txt", "C:\\Apps\\Sub\\s.doc", "C:\\Users\\Ann\\b.doc",
                         "C:\\Windows\\win.com", "C:\\ProgramData\\p.dat", "C:\\Data\\Drive_C.qdb",
                         "C:\\Program Files\\Quillon\\Quillon.exe"};
    Door g;
    g.add(world);
    const std::string takesMore[] = {"C:\\Apps\\?.txt", std::string("C:\\Apps\\Sub\\s.doc\0C:\\Users\\Ann\\b.doc", 37)};
    for (const std::string& from : takesMore)
        static_cast<void>(g.m.shell.fileOperation({FileOpKind::Delete, {from}, {}, 0, 0}));
    EXPECT_FALSE(g.m.files.exists("C:\\Apps\\x.txt") || g.m.files.exists("C:\\Users\\Ann\\b.doc"));
    const RemovalGuard guard(g.m.shell, "C:\\Data\\");
    for (const char* path : {"C:\\Apps\\x.txt", "C:\\Apps\\Sub\\", "C:\\Windows\\Temp\\setup.log", "C:\\PROGRA~1\\App",
                             "C:\\Users\\Ann\\AppData\\NewApp", "C:\\Apps\\.hidden", "C:\\Apps\\x.y.txt"})
        EXPECT_TRUE(guard.allowsPath(path)) << path;
    const struct { std::string path; Refusal why; } refused[] = {
        {"C:\\Apps\\?.txt", Refusal::Unsafe}, {"C:\\Apps\\*", Refusal::Unsafe},
        {std::string("C:\\Apps\\a.txt\0C:\\Users\\Ann\\b.doc", 33), Refusal::Unsafe},
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
    for (const auto& r : refused) {
        EXPECT_EQ(guard.checkPath(r.path), r.why) << r.path;
        Door d;
        d.add(world);
        d.m.prompter.answer(MsgAnswer::Ok);
        const RemovalAnswer answer = d.remove({r.path});
        for (const std::string& f : world) EXPECT_TRUE(d.m.files.exists(f)) << r.path << ": " << f;
        EXPECT_EQ(outcomeOf(answer.files, r.path), Outcome::Refused) << r.path;
        EXPECT_TRUE(d.m.shell.operations().empty()) << r.path;
        ASSERT_EQ(d.m.prompter.messages().size(), 1u) << r.path;
        EXPECT_NE(d.m.prompter.messages()[0].text.find("not safe"), std::string::npos) << r.path;
    }
}

// Through the door, keys are answered for by the viewer's Delete and the uninstall.
TEST(RemovalDoor, KeysNameTheirHiveAndNeverAHiveRootAKeyRightBelowItOrAKeyEveryProgramShares) {
    struct Row { const char* entry; Hive hive; const char* path; bool allowed; };
    const Row rows[] = {
        {"HKEY_CURRENT_USER\\Software\\New\\Sub", Hive::CurrentUser, "Software\\New\\Sub", true},
        {"HKEY_LOCAL_MACHINE\\Software\\New\\", Hive::LocalMachine, "Software\\New", true},
        {"HKEY_LOCAL_MACHINE\\Software\\Classes\\.newapp", Hive::LocalMachine, "Software\\Classes\\.newapp", true},
        {"HKEY_CLASSES_ROOT\\x\\y", Hive::LocalMachine, "x\\y", false},  // an unknown hive is never the machine's
        {"HKEY_CURRENT_USER\\Software\\", Hive::CurrentUser, "Software", false},
        {"HKEY_LOCAL_MACHINE\\Software\\Classes", Hive::LocalMachine, "Software\\Classes", false},
        {"HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run", Hive::LocalMachine,
         "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run", false},
        {"HKEY_LOCAL_MACHINE\\", Hive::LocalMachine, "", false},
        {"HKEY_LOCAL_MACHINE\\Software\\\\", Hive::LocalMachine, "Software", false},
        {"HKEY_LOCAL_MACHINE\\\\Software\\x", Hive::LocalMachine, "\\Software\\x", false},
        {"HKEY_CURRENT_USER\\Software\\..\\x", Hive::CurrentUser, "Software\\..\\x", false},
    };
    for (const Row& r : rows) {
        const KeyEntry key = parseKeyEntry(r.entry);
        EXPECT_EQ(key.hive, r.hive) << r.entry;
        EXPECT_EQ(key.path, r.path) << r.entry;
        Door d;
        d.m.registry.createKey(Hive::LocalMachine, "x\\y");  // what an unknown hive's key would be taken for
        RemovalRequest request;
        request.keys = {r.entry};
        request.tellRefused = false;
        const RemovalAnswer answer = removeThroughDoor(d.ports, request, d.journal);
        EXPECT_EQ(outcomeOf(answer.keys, r.entry) == Outcome::Refused, !r.allowed) << r.entry;
        EXPECT_TRUE(d.m.registry.keyExists(Hive::LocalMachine, "x\\y")) << r.entry;
    }
}

TEST(RemovalDoor, TheDeleteModeChoosesRecycleBinDeletionOrAPlaceOfItsOwnInTheDataFolder) {
    struct Row { const char* deleteMode; bool nt; std::uint32_t callerFlags; RemoveMode mode; std::uint32_t shellFlags; };
    const Row rows[] = {
        {"0", true, 0, RemoveMode::Setting, 0x41 | 0x400 | 0x4000},  // the Recycle Bin asks about what it cannot take
        {"0", false, 0, RemoveMode::Setting, 0x41 | 0x4000},
        {"0", true, 0x10, RemoveMode::Setting, 0x10 | 0x400},
        {nullptr, true, 0x10, RemoveMode::Setting, 0x10 | 0x40 | 0x400 | 0x4000},  // no settings key
        {"1", true, 0, RemoveMode::Setting, 0x1 | 0x400},
        {"0", true, 0, RemoveMode::Permanent, 0x1 | 0x400},
        {"2", true, 0, RemoveMode::Setting, 0},  // 0: moved into the data folder
    };
    for (const auto& r : rows) {
        const std::string what = r.deleteMode ? r.deleteMode : "(none)";
        Door d(r.deleteMode);
        d.add({"C:\\Apps\\a.txt"});
        d.m.desktop.setNtFamily(r.nt);
        EXPECT_FALSE(d.remove({"C:\\Apps\\a.txt"}, r.callerFlags, r.mode).anyLeft()) << what;
        ASSERT_EQ(d.m.shell.operations().size(), 1u) << what;
        const FileOperation& op = d.m.shell.operations()[0];
        EXPECT_EQ(op.kind == FileOpKind::Move ? 0u : op.flags, r.shellFlags) << what;
        EXPECT_FALSE(d.m.files.exists("C:\\Apps\\a.txt")) << what;
        EXPECT_EQ(d.m.files.exists("C:\\Data\\Removed\\C\\Apps\\a.txt"), r.shellFlags == 0) << what;
        EXPECT_EQ(d.m.shell.recycled().empty(), (r.shellFlags & 0x40) == 0) << what;
    }

    // Two files of one name kept in the data folder never meet, nor meet what was kept before.
    Door d("2");
    d.m.files.addFile("C:\\A\\readme.txt", "a");
    d.m.files.addFile("C:\\B\\readme.txt", "b");
    d.m.files.addFile("C:\\Data\\Removed\\C\\A\\readme.txt", "kept before");
    EXPECT_FALSE(d.remove({"C:\\A\\readme.txt", "C:\\B\\readme.txt"}).anyLeft());
    EXPECT_EQ(d.m.files.content("C:\\Data\\Removed\\C\\A\\readme.txt"), "kept before");
    EXPECT_EQ(d.m.files.content("C:\\Data\\Removed\\C\\A\\readme (2).txt"), "a");
    EXPECT_EQ(d.m.files.content("C:\\Data\\Removed\\C\\B\\readme.txt"), "b");
}

TEST(RemovalDoor, EachItemIsAnsweredForAsItEnded) {
    // The restart fallback for a file in use empties a folder without ever going through a link inside it.
    Door j;
    j.add({"C:\\App\\held.txt", "C:\\Users\\Ann\\Docs\\mine.doc"});
    j.m.files.addJunction("C:\\App\\Link", "C:\\Users\\Ann\\Docs");
    j.m.files.holdOpen("C:\\App\\held.txt");
    RemovalAnswer answer = j.remove({"C:\\App", "C:\\Apps\\gone.txt"});
    EXPECT_TRUE(j.m.files.exists("C:\\Users\\Ann\\Docs\\mine.doc"));
    EXPECT_EQ(outcomeOf(answer.files, "C:\\App"), Outcome::Failed) << "the link stays, so the folder does";
    EXPECT_EQ(outcomeOf(answer.files, "C:\\Apps\\gone.txt"), Outcome::NotThere);
    EXPECT_EQ(j.m.shell.restartDeletions(), Lines{"C:\\App\\held.txt"});

    // Cancelled: nothing scheduled and nothing called removed.
    Door c;
    c.add({"C:\\Apps\\a.txt"});
    c.m.shell.cancelNextOperation();
    answer = c.remove({"C:\\Apps\\a.txt"});
    EXPECT_EQ(outcomeOf(answer.files, "C:\\Apps\\a.txt"), Outcome::Cancelled);
    EXPECT_TRUE(answer.cancelled() && answer.anyLeft());
    EXPECT_TRUE(c.m.shell.restartDeletions().empty());

    // Too large for the Recycle Bin: asked about, and kept on No, never destroyed silently.
    Door big;
    big.add({"C:\\Apps\\disk.img"});
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
        std::string folder = "C:\\Apps";
        for (int i = 0; i < 39; ++i) folder += "\\Папка" + std::to_string(i);
        d.add({folder + "\\Папка39\\file.txt", "C:\\Apps\\near.txt"});
        d.m.prompter.answer(reply);
        const RemovalAnswer answer = d.remove({folder, "C:\\Apps\\near.txt"});
        ASSERT_FALSE(d.m.prompter.messages().empty());
        const std::string& question = d.m.prompter.messages()[0].text;
        EXPECT_NE(question.find("Delete them for good instead?"), std::string::npos);
        // A box cannot wrap a path: the deep one keeps its start and its last parts.
        EXPECT_NE(question.find("C:\\Apps\\...\\"), std::string::npos) << question;
        EXPECT_EQ(question.find("Папка10"), std::string::npos) << question;
        EXPECT_EQ(d.m.files.exists(folder), reply == MsgAnswer::No);
        EXPECT_EQ(outcomeOf(answer.files, folder), reply == MsgAnswer::Yes ? Outcome::Removed : Outcome::Refused);
        EXPECT_FALSE(d.m.files.exists("C:\\Apps\\near.txt"));
    }
}

// A folder that also holds files written after the installation: the user decides, and on No
// the installation's own files go while the folder stays with the user's.
TEST(RemovalDoor, AFolderWithTheUsersLaterFilesGoesWholeOnlyWhenTheUserSaysSo) {
    for (const MsgAnswer reply : {MsgAnswer::Yes, MsgAnswer::No}) {
        Door d;
        const DateTime before{2026, 3, 1, 9, 0, 0};
        for (const char* f : {"C:\\App\\app.exe", "C:\\App\\Lib\\a.dll", "C:\\App\\Docs\\manual.pdf"})
            d.m.files.addFile(f, "x", FileAttr::Archive, before);
        d.m.files.addFile("C:\\App\\Docs\\letter.doc", "mine", FileAttr::Archive, {2026, 5, 2, 8, 0, 0});
        d.m.prompter.answer(reply);
        const RemovalAnswer answer = d.remove({"C:\\App"}, 0, RemoveMode::Setting, DateTime{2026, 3, 1, 10, 0, 0});
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
