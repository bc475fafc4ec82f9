// The clean-up logic on the fakes: junk types, the scans, the "Also scan" lists, the result
// model, Delete and Move, and the settings; the duplicate scan against a plain transcription of
// the folder-by-folder passes it replaces, on generated trees.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "cleanup/AlsoScanLists.h"
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
    const struct { const char* name; DateTime date; const char* key; } cases[] = {
        {"OLD.BAK", Yesterday, "|.BAK|"},           {"report.old.bak", Yesterday, "|.old.bak|"},
        {"data.bak", Yesterday, "|.mml|"},          {"myopa11.bak", Yesterday, "|.mml|"},
        {"chklist.001", Yesterday, "|chklist.???|"}, {"MSCREATE.DIR", Yesterday, "|mscreate.dir|"},
        {"setup.lo$", Yesterday, "|.??$|"},         {"x.~mp", Yesterday, "|.~??|"},
        {"x.a~b", Yesterday, "|.a~b|"},             {"install.log", Yesterday, "|.mml|"},
        {"myunst.log", Yesterday, "|.mml|"},       {"error.log", Yesterday, "|.log|"},
        {"index.dat", Yesterday, "|.mml|"},         {"desktop.ini", Yesterday, "|.mml|"},
        {"a.tmp", Today, "|.mml|"},                 {"a.tmp", Yesterday, "|.tmp|"},
        {"README", Yesterday, "|README|"},          {"notes.mml", Yesterday, "|.mml|"},
    };
    for (const auto& c : cases) EXPECT_EQ(typeKey(c.name, c.date, {Today, 0}), c.key) << c.name;

    EXPECT_TRUE(listsType(patternList(CleanUpSettings{}), "|.BAK|"));
    EXPECT_FALSE(listsType(patternList(CleanUpSettings{}), "|.mml|"));
    EXPECT_FALSE(listsType(AllFiles, NeverListed));
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
    void add(std::initializer_list<const char*> paths, DateTime date = Yesterday) {
        for (const char* p : paths) m.files.addFile(p, "12345", FileAttr::Archive, date);
    }
};

TEST_F(CleanUp, TemporaryFilesWalkEveryDriveWithOneTotal) {
    m.files.addDrive('D');
    add({"C:\\a.bak", "C:\\keep.txt", "C:\\Recycled\\x.bak", "C:\\My RECYCLED stuff\\y.bak", "C:\\Windows\\History\\h.bak",
         "C:\\Ign\\i.bak", "C:\\NoSlash\\n.bak", "C:\\Link\\l.bak", "C:\\Sub\\Deep\\d.old", "C:\\Sub\\busy.tmp",
         "D:\\e.chk", "D:\\setup.log"});
    add({"C:\\today.tmp"}, Today);
    m.files.addFolder("C:\\Link", FileAttr::Directory | FileAttr::ReparsePoint);
    m.files.holdOpen("C:\\Sub\\busy.tmp");
    const std::string Sep(1, settings::ListSeparator);
    const shell::IgnoreList ignore = junkIgnoreList("C:\\Windows\\", "C:\\Ign\\" + Sep + "C:\\NoSlash" + Sep);

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

    // A cache folder the shell could not name is not walked as the current drive.
    results.clear();
    m.run.stopAtYield(0);
    settings.tempFolder = settings.recycleBin = false;
    settings.alsoFolders.clear();
    EXPECT_TRUE(scanTemporaryFolders(ports, [&] { return settings; }, {"", "\\", {}}, results));
    EXPECT_EQ(results.size(), 0u);
}

TEST(AlsoScanLists, FileTypesAndFolders) {
    const std::pair<const char*, const char*> types[] = {{"txt", "*.txt"}, {".html", "*.html"}, {"htm.x", "*.x"},
                                                         {"abcdef", "*.abc"}, {"A.B.C", "*.B.C"}, {"", ""}, {"x.", ""}};
    for (const auto& [answer, row] : types) EXPECT_EQ(fileTypeRow(answer).value_or(""), row) << answer;
    std::vector<std::string> files{"*.txt"};
    EXPECT_FALSE(addFileType(files, "TXT"));
    EXPECT_TRUE(addFileType(files, "log"));
    EXPECT_EQ(files, (std::vector<std::string>{"*.txt", "*.log"}));

    std::vector<std::string> folders{"C:\\Data", "D:\\Keep"};
    EXPECT_FALSE(addFolder(folders, "c:\\data\\Old"));
    EXPECT_FALSE(addFolder(folders, "E:\\"));
    EXPECT_TRUE(addFolder(folders, "C:\\Database"));
    EXPECT_FALSE(addFolder(folders, "D:\\Keep\\A"));
    EXPECT_EQ(folders, (std::vector<std::string>{"C:\\Data", "D:\\Keep", "C:\\Database"}));
}

TEST(ScanResultsModel, SizeSortsByRealSizeAndFlips) {
    ScanResults results;
    const std::uint32_t type = results.addType("|.x|", {"X File", 1});
    for (const auto& [name, bytes] : {std::pair{"a", 2.0 * 1024 * 1024}, {"b", 900.0 * 1024}, {"c", 10.0}})
        results.add({name, "C:\\", bytes, type});
    EXPECT_EQ(results.sortBy(ResultColumn::Size, true), (std::vector<std::size_t>{2, 1, 0}));
    EXPECT_EQ(results.cell(2, ResultColumn::Name), "a");
    EXPECT_EQ(results.sortBy(ResultColumn::Size, false), (std::vector<std::size_t>{2, 1, 0}));
    EXPECT_EQ(selectionTotals(results, {0, 2}).bytes, 2.0 * 1024 * 1024 + 10);
}

// Delete on these rows offers a move instead; a cancel moves nothing.
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
    EXPECT_EQ(results.totals().bytes, 8.0);

    m.prompter.answer(MsgAnswer::Cancel);
    deleteSelected(removal, ResultKind::UnusedDlls, results, {0, 1});
    EXPECT_EQ(m.prompter.messages().back().title, "Deleting DLL files not recommended");
    m.files.addFolder("C:\\Keep");
    m.prompter.answer(MsgAnswer::Ok);
    m.prompter.answerFolder("C:\\Keep");
    deleteSelected(removal, ResultKind::UnusedDlls, results, {0, 1});
    EXPECT_TRUE(m.files.exists("C:\\Keep\\old.dll") && m.files.exists("C:\\Keep\\tool.exe"));
    EXPECT_EQ(results.size(), 0u);
    EXPECT_TRUE(m.shell.recycled().empty());
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
            if (local.files.exists(path)) continue;
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
    m.prompter.answerFolder("C:\\Backup");
    m.shell.cancelNextOperation();
    moveSelected(removal, results, {1});
    m.prompter.answerFolder("");
    moveSelected(removal, results, {1});
    EXPECT_EQ(results.size(), 3u) << "a cancelled move and one without a folder keep their rows";
}

// A box is unchecked only by "0", the MSCREATE.DIR box checked only by "1".
TEST(CleanUpSettingsStore, BoxRulesAndRoundTrip) {
    fakes::FakeRegistry registry;
    registry.setString(Hive::CurrentUser, settings::SysCleanKey, "Bak files", "yes");
    registry.setString(Hive::CurrentUser, settings::SysCleanKey, "Mscreate files", "yes");
    registry.setString(Hive::CurrentUser, settings::SysCleanKey, "RecycleBin", "0");
    CleanUpSettings chosen = readCleanUpSettings(registry);
    EXPECT_TRUE(chosen.types[0] && !chosen.types[9] && !chosen.recycleBin && chosen.tempFolder);

    chosen.types[9] = true;
    chosen.sameSize = false;
    chosen.alsoFiles = {"*.xyz", "*.abc"};
    chosen.alsoFolders = {"C:\\Z", "C:\\A"};
    ASSERT_EQ(writeCleanUpSettings(registry, chosen), Status::Ok);
    EXPECT_EQ(registry.stringValue(Hive::CurrentUser, settings::SysCleanKey, "AlsoScanFiles"), "*.xyz\x7f*.abc\x7f");
    const CleanUpSettings back = readCleanUpSettings(registry);
    EXPECT_EQ(back.types, chosen.types);
    EXPECT_FALSE(back.sameSize);
    EXPECT_EQ(back.alsoFolders, chosen.alsoFolders);
    EXPECT_EQ(patternList(back).substr(patternList(back).size() - 12), "|.xyz||.abc|");
}

}  // namespace
}  // namespace quillon::cleanup
