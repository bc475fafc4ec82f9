// The clean-up logic on the fakes: junk types, the scans, Delete and Move; the duplicate scan against
// a plain transcription of the folder-by-folder passes it replaces, on generated trees.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "cleanup/CleanUpSettings.h"
#include "cleanup/DuplicateScan.h"
#include "cleanup/JunkScans.h"
#include "cleanup/ResultActions.h"
#include "cleanup/UnusedDllScan.h"
#include "shell/ProtectedLibraries.h"
#include "shell/Settings.h"
#include "support/DuplicatePasses.h"
#include "support/FakeMachine.h"

namespace quillon::cleanup {
namespace {

constexpr DateTime Today{2026, 1, 1, 12, 0, 0};
constexpr DateTime Yesterday{2025, 12, 31, 23, 0, 0};

TEST(JunkTypeRules, KeysFollowTheRulesInOrder) {
    const std::pair<const char*, const char*> cases[] = {
        {"OLD.BAK", "|.BAK|"},       {"report.old.bak", "|.old.bak|"}, {"data.bak", "|.mml|"},
        {"myopa11.bak", "|.mml|"},   {"chklist.001", "|chklist.???|"}, {"MSCREATE.DIR", "|mscreate.dir|"},
        {"setup.lo$", "|.??$|"},     {"x.~mp", "|.~??|"},              {"x.a~b", "|.a~b|"},
        {"install.log", "|.mml|"},   {"myunst.log", "|.mml|"},         {"error.log", "|.log|"},
        {"index.dat", "|.mml|"},     {"desktop.ini", "|.mml|"},        {"a.tmp", "|.tmp|"},
        {"README", "|README|"},      {"notes.mml", "|.mml|"},
    };
    for (const auto& [name, key] : cases) EXPECT_EQ(typeKey(name, Yesterday, {Today, 0}), key) << name;
    EXPECT_EQ(typeKey("a.tmp", Today, {Today, 0}), "|.mml|") << "a temporary file of today";
}

class CleanUp : public ::testing::Test, public ScanProgress {
protected:
    fakes::FakeMachine m;
    ScanResults results;
    ScanPorts ports{{m.files, m.shell, m.run, *this}, m.clock};
    shell::RemovalPorts removal{m.registry, m.files, m.shell, m.desktop, m.prompter, m.run, m.clock, "C:\\Data\\"};

    void showFolder(std::string_view) override {}
    void showStatus(std::string_view) override {}

    std::vector<std::string> listed() const {
        std::vector<std::string> paths;
        for (const JunkRow& row : results.rows()) paths.push_back(row.fullPath());
        std::sort(paths.begin(), paths.end());
        return paths;
    }
    void add(std::initializer_list<const char*> paths) {
        for (const char* p : paths) m.files.addFile(p, "12345", FileAttr::Archive, Yesterday);
    }
};

TEST_F(CleanUp, TemporaryFilesWalkEveryDriveWithOneTotal) {
    m.files.addDrive('D');
    add({"C:\\a.bak", "C:\\keep.txt", "C:\\Recycled\\x.bak", "C:\\My RECYCLED stuff\\y.bak", "C:\\Windows\\History\\h.bak",
         "C:\\Ign\\i.bak", "C:\\NoSlash\\n.bak", "C:\\Link\\l.bak", "C:\\Sub\\Deep\\d.old", "C:\\Sub\\busy.tmp",
         "D:\\e.chk", "D:\\setup.log"});
    m.files.addFolder("C:\\Link", FileAttr::Directory | FileAttr::ReparsePoint);
    m.files.holdOpen("C:\\Sub\\busy.tmp");
    const shell::IgnoreList ignore = junkIgnoreList("C:\\Windows\\", "C:\\Ign\\\x7f" "C:\\NoSlash\x7f");

    EXPECT_TRUE(scanTemporaryFiles(ports, CleanUpSettings{}, "C:,D:", ignore, results));
    EXPECT_EQ(listed(), (std::vector<std::string>{"C:\\NoSlash\\n.bak", "C:\\Sub\\Deep\\d.old", "C:\\a.bak", "D:\\e.chk"}));
    EXPECT_EQ(results.totals().bytes, 20.0) << "one total over both drives";
}

TEST_F(CleanUp, TemporaryFoldersAndStopEndingTheWholeScan) {
    add({"C:\\Windows\\Temp\\t1.txt", "C:\\Windows\\Temp\\desktop.ini", "C:\\Users\\Ann\\Cache\\c1.htm",
         "C:\\Program Files\\Netscape\\Users\\ann\\cache\\n1.gif", "C:\\Mine\\m1", "C:\\Mine\\m2"});
    CleanUpSettings settings;
    settings.alsoFolders = {"C:\\Mine"};
    TemporaryFolders folders{"C:\\Windows\\Temp\\", "C:\\Users\\Ann\\Cache\\",
                             {"C:\\Program Files\\Netscape\\Users\\ann\\cache\\"}};
    EXPECT_TRUE(scanTemporaryFolders(ports, [&] { return settings; }, folders, results));
    EXPECT_EQ(results.size(), 5u);
    EXPECT_EQ(m.shell.recycleBinEmptied(), 1);

    // Stopped in the temporary folder: no cache, no Recycle Bin, no own folder afterwards.
    results.clear();
    m.run.stopAtYield(m.run.yields() + 1);
    EXPECT_FALSE(scanTemporaryFolders(ports, [&] { return settings; }, folders, results));
    EXPECT_EQ(results.size(), 1u);
    EXPECT_EQ(m.shell.recycleBinEmptied(), 1);
}

// Delete on these rows offers a move instead.
TEST_F(CleanUp, UnusedDllsAreTheExistingUnprotectedFilesCountedZeroAndAreMovedNotDeleted) {
    const std::pair<const char*, const char*> entries[] = {
        {"C:\\Windows\\System32\\old.dll", "0"}, {"C:\\Apps\\tool.exe", "0"},   {"C:\\Windows\\System32\\used.dll", "1"},
        {"C:\\Windows\\System32\\gone.dll", "0"}, {"C:\\Apps\\COMCTL32.OCX", "0"}, {"C:\\Apps\\ctl32.ocx", "0"},
    };
    for (const auto& [path, count] : entries) {
        if (std::string(path).find("gone") == std::string::npos) m.files.addFile(path, "1234");
        m.registry.setString(Hive::LocalMachine, shell::SharedDllsKey, path, count);
    }
    EXPECT_TRUE(scanUnusedDlls(ports.walk, m.registry, results));
    EXPECT_EQ(listed(), (std::vector<std::string>{"C:\\Apps\\tool.exe", "C:\\Windows\\System32\\old.dll"}));

    m.files.addFolder("C:\\Keep");
    m.prompter.answer(MsgAnswer::Ok);
    m.prompter.answerFolder("C:\\Keep");
    deleteSelected(removal, ResultKind::UnusedDlls, results, {0, 1});
    EXPECT_TRUE(m.files.exists("C:\\Keep\\old.dll") && m.files.exists("C:\\Keep\\tool.exe"));
    EXPECT_EQ(results.size(), 0u);
}

TEST(NamedFilter, NameAndTypePartsAreContainedNotWildcards) {
    const struct { const char* named; const char* file; bool passes; } cases[] = {
        {"*.*", "README.TXT", true}, {"*.*", "readme", false},   {"*.dll", "a.dll.old", true},
        {"*.dll", "a.exe", false},   {"win.*", "window.bmp", true}, {"win.*", "system.ini", false},
        {"win", "window", true},     {"", "readme", false},      {"a*.txt", "a.txt", false},
    };
    for (const auto& c : cases) EXPECT_EQ(passesNamedFilter(c.named, c.file), c.passes) << c.named << " " << c.file;
}

TEST_F(CleanUp, DuplicateRowsEqualThoseOfTheFolderByFolderPasses) {
    const DuplicateFolders folders{"C:\\", "C:\\Windows\\"};
    std::mt19937 random(7);
    const std::vector<std::string> names{"a.txt", "A.TXT", "b.dll", "readme", "c.dll.old", "d.ini"};
    const std::vector<std::string> places{"C:\\", "C:\\P\\", "C:\\P\\Q\\", "C:\\R\\", "C:\\Windows\\Sysbckup\\",
                                          "C:\\Empty\\", "C:\\R\\S\\"};
    for (int tree = 0; tree < 300; ++tree) {
        fakes::FakeMachine local;
        WalkPorts localPorts{local.files, local.shell, local.run, *this};
        local.files.addFolder("C:\\Empty");
        for (int n = 0; n < 14; ++n) {
            const std::string path = places[random() % places.size()] + names[random() % names.size()];
            local.files.addFile(path, std::string(random() % 3, 'x'), FileAttr::Archive,
                                {2025, 1, 1 + static_cast<int>(random() % 2), 0, 0, 0});
        }
        // sameDateTime, sameSize, skipZeroLength, skipSysbckup at random
        const DuplicateOptions options{tree % 3 == 0 ? "*.dll" : "*.*", "", random() % 2 == 1, random() % 2 == 1,
                                       random() % 2 == 1, random() % 2 == 1};
        ScanResults found;
        ASSERT_EQ(scanDuplicates(localPorts, options, folders, "C:", found), DuplicateOutcome::Completed);
        std::multiset<std::string> paths;
        for (const JunkRow& row : found.rows()) paths.insert(row.fullPath());
        ASSERT_EQ(paths, duplicatePasses(local.files, options, "C:\\", "c:\\windows\\")) << "tree " << tree;
        ASSERT_FALSE(local.files.exists("C:\\duplicate1.qdb"));
    }
    m.files.addFile("C:\\A\\x.txt", "x");
    m.files.failWritesUnder("C:\\duplicate1.qdb");
    EXPECT_EQ(scanDuplicates(ports.walk, {}, folders, "C:", results), DuplicateOutcome::WorkFileFailed);
}

// b.bak is in use and stays for the restart. A row whose name came back with "?" (no short
// name to act through) would be a wildcard to the shell: it is refused and stays, and so do
// the user's files of its shape.
TEST_F(CleanUp, DeleteAndMoveTakeOutOnlyTheRowsWhoseFilesWent) {
    add({"C:\\J\\a.bak", "C:\\J\\b.bak", "C:\\J\\c.bak", "C:\\J\\d.bak"});
    ASSERT_TRUE(scanJunkFolders(ports.walk, "C:\\J\\", {"|.bak|", {}, {Today, 0}}, results));
    m.files.holdOpen("C:\\J\\b.bak");
    results.add({"?.bak", "C:\\J\\", 1, 0});
    m.prompter.answer(MsgAnswer::Cancel);
    deleteSelected(removal, ResultKind::Duplicates, results, {0});
    EXPECT_EQ(results.size(), 5u);
    m.prompter.answer(MsgAnswer::Ok);
    m.prompter.answer(MsgAnswer::Ok);
    deleteSelected(removal, ResultKind::JunkFiles, results, {0, 1, 4});
    EXPECT_EQ(m.shell.recycled(), (std::vector<std::string>{"C:\\J\\a.bak"}));
    EXPECT_EQ(listed(), (std::vector<std::string>{"C:\\J\\?.bak", "C:\\J\\b.bak", "C:\\J\\c.bak", "C:\\J\\d.bak"}));
    EXPECT_NE(m.prompter.messages().back().text.find("C:\\J\\?.bak"), std::string::npos);

    m.files.addFolder("C:\\Backup");
    m.prompter.answerFolder("C:\\Backup");
    moveSelected(removal, results, {0, 1});  // b.bak and c.bak
    EXPECT_TRUE(m.files.exists("C:\\Backup\\c.bak"));
    EXPECT_EQ(listed(), (std::vector<std::string>{"C:\\J\\?.bak", "C:\\J\\b.bak", "C:\\J\\d.bak"}));
    m.prompter.answerFolder("");
    moveSelected(removal, results, {1});
    EXPECT_EQ(results.size(), 3u) << "a move without a folder keeps its rows";
}

}  // namespace
}  // namespace quillon::cleanup
