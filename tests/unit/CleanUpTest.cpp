// The clean-up logic on the fakes: junk types, the walk and the scans, the "Also scan" lists,
// the result model, Delete and Move, and the settings.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "cleanup/AlsoScanLists.h"
#include "cleanup/CleanUpSettings.h"
#include "cleanup/JunkScans.h"
#include "cleanup/ResultActions.h"
#include "shell/Settings.h"
#include "support/FakeMachine.h"

namespace quillon::cleanup {
namespace {

constexpr DateTime Today{2026, 1, 1, 12, 0, 0};
constexpr DateTime Yesterday{2025, 12, 31, 23, 0, 0};

TEST(JunkTypeRules, KeysFollowTheRulesInOrder) {
    const struct {
        const char* name;
        DateTime date;
        const char* key;
    } cases[] = {
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
    EXPECT_EQ(typeKey("a.bak", {2025, 12, 29}, {Today, 7}), NeverListed);  // the task pass's age limit
    EXPECT_EQ(typeKey("a.bak", {2025, 12, 1}, {Today, 7}), "|.bak|");

    const std::string defaults = patternList(CleanUpSettings{});
    for (const char* key : {"|.BAK|", "|.ftg|", "|chklist.???|", "|.??$|"}) EXPECT_TRUE(listsType(defaults, key)) << key;
    for (const char* key : {"|mscreate.dir|", "|.old.bak|", "|README|", "|.mml|"})
        EXPECT_FALSE(listsType(defaults, key)) << key;
    EXPECT_FALSE(listsType(AllFiles, NeverListed));
}

class JunkScan : public ::testing::Test, public ScanProgress {
protected:
    fakes::FakeMachine m;
    ScanResults results;
    std::vector<std::string> shown;
    ScanPorts ports{{m.files, m.shell, m.run, *this}, m.clock};

    void showFolder(std::string_view folder) override { shown.emplace_back(folder); }
    void showStatus(std::string_view) override {}

    std::vector<std::string> listed() const {
        std::vector<std::string> paths;
        for (const JunkRow& row : results.rows()) paths.push_back(row.fullPath());
        return paths;
    }
    void add(std::initializer_list<const char*> paths, DateTime date = Yesterday) {
        for (const char* p : paths) m.files.addFile(p, "12345", FileAttr::Archive, date);
    }
};

TEST_F(JunkScan, TemporaryFilesWalkEveryDriveWithOneTotal) {
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
    std::vector<std::string> paths = listed();
    std::sort(paths.begin(), paths.end());
    EXPECT_EQ(paths, (std::vector<std::string>{"C:\\NoSlash\\n.bak", "C:\\Sub\\Deep\\d.old", "C:\\a.bak", "D:\\e.chk"}));
    EXPECT_EQ(results.totals().files, 4u);
    EXPECT_EQ(results.totals().bytes, 20.0);
    EXPECT_EQ(shown.front(), "C:\\");
    EXPECT_EQ(shown.back(), "D:\\");
}

TEST_F(JunkScan, SubfoldersListedLastAreWalkedFirstAndTypesAskedOncePerKey) {
    add({"C:\\T\\A\\1.bak", "C:\\T\\B\\2.bak", "C:\\T\\B\\3.BAK", "C:\\T\\4.old"});
    m.files.setListingOrder("C:\\T", {"A", "4.old", "B"});
    const shell::IgnoreList none;
    WalkRules rules{"|.bak||.old|", none, {Today, 0}};
    EXPECT_TRUE(scanJunkFolders(ports.walk, "C:\\T", rules, results));
    EXPECT_EQ(listed(), (std::vector<std::string>{"C:\\T\\4.old", "C:\\T\\B\\2.bak", "C:\\T\\B\\3.BAK", "C:\\T\\A\\1.bak"}));
    EXPECT_EQ(m.shell.fileTypeQuestions(), 2);
    EXPECT_EQ(results.typeInfo(results.rows()[3]).typeName, "BAK File");
}

TEST(ScanResultsModel, CountIsNotCappedAt16Bits) {
    ScanResults results;
    for (int i = 0; i < 33000; ++i) results.add({"f.tmp", "C:\\", 1, 0});
    EXPECT_EQ(results.totals().files, 33000u);
}

TEST_F(JunkScan, TemporaryFoldersAndStopEndingTheWholeScan) {
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
    const struct {
        const char* answer;
        const char* row;
    } types[] = {{"txt", "*.txt"}, {".html", "*.html"}, {"htm.x", "*.x"}, {"abcdef", "*.abc"}, {"A.B.C", "*.B.C"}, {"", ""}, {"x.", ""}};
    for (const auto& t : types) EXPECT_EQ(fileTypeRow(t.answer).value_or(""), t.row) << t.answer;
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
    results.sortBy(ResultColumn::Size, true);
    EXPECT_EQ(results.cell(0, ResultColumn::Name) + results.cell(1, ResultColumn::Name) + results.cell(2, ResultColumn::Name), "cba");
    EXPECT_EQ(results.cell(2, ResultColumn::HiddenSize), "000002048");
    const std::vector<std::size_t> order = results.sortBy(ResultColumn::Size, false);
    EXPECT_EQ(order, (std::vector<std::size_t>{2, 1, 0}));
    EXPECT_EQ(selectionTotals(results, {0, 2}).bytes, 2.0 * 1024 * 1024 + 10);
}

class ResultRemoval : public JunkScan {
protected:
    shell::RemovalPorts removal{m.registry, m.files, m.shell, m.desktop, m.prompter, m.run, m.clock, "C:\\Data\\"};
    void SetUp() override {
        add({"C:\\J\\a.bak", "C:\\J\\b.bak", "C:\\J\\c.bak", "C:\\J\\d.bak"});
        const shell::IgnoreList none;
        scanJunkFolders(ports.walk, "C:\\J\\", {"|.bak|", none, {Today, 0}}, results);
        m.files.holdOpen("C:\\J\\b.bak");
    }
};

TEST_F(ResultRemoval, DeleteTakesOutOnlyVanishedRows) {
    ASSERT_EQ(results.size(), 4u);
    m.prompter.answer(MsgAnswer::Ok);
    deleteSelected(removal, ResultKind::JunkFiles, results, {});
    EXPECT_EQ(m.prompter.messages().back().title, "Error deleting files");
    m.prompter.answer(MsgAnswer::Cancel);
    deleteSelected(removal, ResultKind::Duplicates, results, {0});
    EXPECT_EQ(results.size(), 4u);
    EXPECT_TRUE(m.files.exists("C:\\J\\a.bak"));

    m.prompter.answer(MsgAnswer::Ok);  // b.bak is in use: left for the restart
    deleteSelected(removal, ResultKind::JunkFiles, results, {0, 1});
    EXPECT_EQ(m.shell.recycled(), (std::vector<std::string>{"C:\\J\\a.bak"}));
    EXPECT_EQ(listed(), (std::vector<std::string>{"C:\\J\\b.bak", "C:\\J\\c.bak", "C:\\J\\d.bak"}));
}

// A row whose name came back with "?" (no short name to act through) would be a wildcard to
// the shell: it is refused and stays, and so do the user's files of its shape.
TEST_F(ResultRemoval, ARowTheSystemCouldNotSpellIsRefusedNotExpanded) {
    results.add({"?.bak", "C:\\J\\", 1, 0});
    m.prompter.answer(MsgAnswer::Ok);
    deleteSelected(removal, ResultKind::JunkFiles, results, {4});
    for (const char* f : {"C:\\J\\a.bak", "C:\\J\\c.bak", "C:\\J\\d.bak"}) EXPECT_TRUE(m.files.exists(f)) << f;
    EXPECT_EQ(results.size(), 5u);
    EXPECT_NE(m.prompter.messages().back().text.find("C:\\J\\?.bak"), std::string::npos);
}

TEST_F(ResultRemoval, MoveTakesOutWhatLeftAndKeepsCancelledRows) {
    m.files.addFolder("C:\\Backup");
    m.prompter.answerFolder("C:\\Backup");
    moveSelected(removal, results, {1, 2});  // b.bak is in use and stays
    EXPECT_TRUE(m.files.exists("C:\\Backup\\c.bak"));
    EXPECT_EQ(listed(), (std::vector<std::string>{"C:\\J\\a.bak", "C:\\J\\b.bak", "C:\\J\\d.bak"}));
    m.prompter.answerFolder("C:\\Backup");
    m.shell.cancelNextOperation();
    moveSelected(removal, results, {2});
    EXPECT_EQ(results.size(), 3u);
    m.prompter.answerFolder("");
    moveSelected(removal, results, {0});
    EXPECT_EQ(results.size(), 3u);
}

TEST(CleanUpSettingsStore, DefaultsBoxRulesAndRoundTrip) {
    fakes::FakeRegistry registry;
    const CleanUpSettings none = readCleanUpSettings(registry);
    EXPECT_TRUE(none.types[0] && !none.types[9] && none.recycleBin && none.alsoFiles.empty());

    registry.setString(Hive::CurrentUser, settings::SysCleanKey, "Bak files", "yes");
    registry.setString(Hive::CurrentUser, settings::SysCleanKey, "Mscreate files", "yes");
    registry.setString(Hive::CurrentUser, settings::SysCleanKey, "RecycleBin", "0");
    const CleanUpSettings odd = readCleanUpSettings(registry);
    EXPECT_TRUE(odd.types[0]);
    EXPECT_FALSE(odd.types[9]);
    EXPECT_FALSE(odd.recycleBin);

    CleanUpSettings chosen = odd;
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
