#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "DetectionTestProgress.h"
#include "detection/IgnoreList.h"
#include "detection/ScanFolderTree.h"
#include "detection/ScanPlan.h"
#include "support/fakes.h"
#include "support/TextLines.h"

namespace quillon::detection {
namespace {

constexpr const char* Output = "W:\\current.qdb";
constexpr char Sep = '\x7f';

using fakes::crlfText;

IgnoreList runList(std::string_view foldersToIgnore = "") {
    return IgnoreList::forRun("C:\\Windows\\", "C:\\", foldersToIgnore);
}

class Rescan : public ::testing::Test {
protected:
    fakes::FakeFileSystem files;
    fakes::FakeRunContext run;
    RecordingProgress progress;
    std::uint64_t folderCount = 0;

    void SetUp() override {
        files.addDrive('C');
        files.addDrive('W');
    }

    // The rescan of `folder` into the output file; the text written, or nullopt when stopped.
    std::optional<std::string> scan(std::string_view folder = "C:\\", const IgnoreList& ignore = runList()) {
        std::unique_ptr<TextWriter> out;
        EXPECT_EQ(files.openWrite(Output, WriteMode::Create, out), Status::Ok);
        const bool completed = scanFolderTree(files, run, progress, folder, ignore, *out, folderCount);
        EXPECT_EQ(out->close(), Status::Ok);
        if (!completed) return std::nullopt;
        return files.content(Output);
    }
};

TEST(RescanFileNames, OwnWorkFilesAndLowerCaseRemovalListsAreLeftOut) {
    struct Row { const char* name; bool recorded; };
    const Row rows[] = {
        {"notes.txt", true},     {"report.QDB", false}, {"current.qdb", false}, {"x.qdb.bak", false},
        {"a.Qdb", false},        {"list.qdf", false},   {"X.QDF", true},        {"list.QDF", true},
        {"old.qdf.txt", false},  {"qdb", true},         {"setup.log", true},    {"x.qd", true},
    };
    for (const auto& r : rows) EXPECT_EQ(recordsScannedFile(r.name), r.recorded) << r.name;
}

TEST_F(Rescan, WritesTheSnapshotsBlockFormat) {
    files.addFile("C:\\boot.ini");
    files.addFile("C:\\Apps\\a.exe");
    files.addFile("C:\\Apps\\Sub\\s.dll");
    files.addFolder("C:\\Temp");
    files.addFile("C:\\changes.qdb");
    files.addFile("C:\\X.QDF");
    files.addFile("C:\\list.qdf");
    files.addFile("C:\\.cache\\c.bin");
    files.setListingOrder("C:\\", {"boot.ini", "changes.qdb", ".cache", "Apps", "X.QDF", "list.qdf", "Temp"});

    EXPECT_EQ(scan(), crlfText({"C:\\{", "boot.ini", "X.QDF", "}", "C:\\Apps\\{", "a.exe", "}", "C:\\Apps\\Sub\\{",
                             "s.dll", "}", "C:\\Temp\\{", "}"}));
    EXPECT_EQ(folderCount, 3u) << "folders entered below the start folder";
}

TEST(RescanIgnoreList, IsBuiltInItsFixedOrderWithTheUsersFoldersLast) {
    const std::string own = std::string("C:\\Temp\\") + Sep + "E:\\Cache\\" + Sep;
    const std::vector<std::string> expected = {
        "C:\\Windows\\History\\", "C:\\Recycled\\", "C:\\Recycler\\", "D:\\Recycled\\", "E:\\Recycled\\",
        "F:\\Recycled\\",         "G:\\Recycled\\", "H:\\Recycled\\", "D:\\Recycler\\", "E:\\Recycler\\",
        "F:\\Recycler\\",         "G:\\Recycler\\", "H:\\Recycler\\", "C:\\Temp\\",     "E:\\Cache\\"};
    EXPECT_EQ(IgnoreList::forRun("C:\\Windows\\", "C:\\", own).entries(), expected);
}

TEST(RescanIgnoreList, MatchesWholeEntriesWithoutRegardToCase) {
    const IgnoreList ignore = runList(std::string("C:\\Program Files\\Big Game\\") + Sep);
    struct Row { const char* folder; bool ignored; };
    const Row rows[] = {
        {"C:\\Windows\\History\\", true},  {"c:\\WINDOWS\\history\\", true}, {"C:\\Windows\\History2\\", false},
        {"C:\\Windows\\Hist\\", false},    {"C:\\Windows\\", false},         {"C:\\Recycled\\", true},
        {"C:\\RECYCLER\\", true},          {"D:\\Recycled\\", true},         {"H:\\Recycler\\", true},
        {"I:\\Recycled\\", false},         {"I:\\Recycler\\", false},        {"C:\\Program Files\\Big Game\\", true},
        {"C:\\Program Files\\Big\\", false}, {"C:\\Program Files\\", false},
    };
    for (const auto& r : rows) EXPECT_EQ(ignore.ignores(r.folder), r.ignored) << r.folder;
}

// The first mention of "C:\Windows\History" in this list is History2's entry; a test of
// that first occurrence alone would let History in.
TEST(RescanIgnoreList, EveryEntryCountsNotOnlyTheFirstThatMentionsTheFolder) {
    const IgnoreList ignore(std::string("C:\\Windows\\History2\\") + Sep + "C:\\Windows\\History\\" + Sep);
    EXPECT_TRUE(ignore.ignores("C:\\Windows\\History\\"));
    EXPECT_TRUE(ignore.ignores("C:\\Windows\\History2\\"));
    EXPECT_FALSE(ignore.ignores("C:\\Windows\\History3\\"));
}

TEST_F(Rescan, IgnoredFoldersAreNeitherRecordedNorEntered) {
    for (const char* f : {"C:\\Windows\\History\\h.dat", "C:\\Windows\\History2\\h2.dat", "C:\\Recycled\\r.txt",
                          "C:\\Keep\\k.txt", "D:\\Recycled\\d.txt", "D:\\Recycled\\Deep\\x.txt",
                          "I:\\Recycled\\i.txt"})
        files.addFile(f);
    files.setListingOrder("C:\\", {"Windows", "Recycled", "Keep"});
    files.setListingOrder("C:\\Windows", {"History", "History2"});

    EXPECT_EQ(scan(), crlfText({"C:\\{", "}", "C:\\Windows\\{", "}", "C:\\Windows\\History2\\{", "h2.dat", "}",
                             "C:\\Keep\\{", "k.txt", "}"}));
    EXPECT_EQ(folderCount, 3u) << "ignored folders are not counted";
    EXPECT_EQ(scan("D:\\"), crlfText({"D:\\{", "}"}));
    EXPECT_EQ(scan("I:\\"), crlfText({"I:\\{", "}", "I:\\Recycled\\{", "i.txt", "}"}));
}

TEST_F(Rescan, TheBarShowsTwoAtThe300thFolderAndFourAtThe600th) {
    for (int n = 0; n < 650; ++n) files.addFolder("C:\\F" + std::to_string(n));
    ASSERT_TRUE(scan());
    EXPECT_EQ(folderCount, 650u);
    EXPECT_EQ(progress.values, (std::vector<int>{2, 4}));

    // The count goes on from where the run left it: the 300th folder overall moves the bar.
    progress.values.clear();
    folderCount = 299;
    files.addFolder("C:\\F0\\A");
    ASSERT_TRUE(scan("C:\\F0\\"));
    EXPECT_EQ(folderCount, 300u);
    EXPECT_EQ(progress.values, (std::vector<int>{2}));
}

// Folders in walk order: C:\, A, B. Stopping at the n-th yield ends the walk there.
TEST_F(Rescan, OneYieldPerFolderAndTheStopFlagEndsTheWalk) {
    files.addFile("C:\\A\\a.txt");
    files.addFolder("C:\\B");
    for (int stopAt = 1; stopAt <= 4; ++stopAt) {
        fakes::FakeRunContext stopping;
        stopping.stopAtYield(stopAt);
        std::unique_ptr<TextWriter> out;
        ASSERT_EQ(files.openWrite(Output, WriteMode::Create, out), Status::Ok);
        std::uint64_t count = 0;
        EXPECT_EQ(scanFolderTree(files, stopping, progress, "C:\\", runList(), *out, count), stopAt == 4) << stopAt;
        EXPECT_EQ(stopping.yields(), std::min(stopAt, 3)) << stopAt;
    }
}

TEST(RescanPlan, ScanModeChoosesTheFoldersAndTheirScanFiles) {
    using Files = std::vector<std::vector<std::string>>;
    const std::vector<std::string> drives = {"C:", "D:", "E:"};
    struct Row { const char* mode; Files expected; bool wholeDrives; };
    const Row rows[] = {
        {"0", {{"C:\\"}, {"D:\\"}, {"E:\\"}}, true},
        {"1", {{"C:\\Windows\\", "C:\\Program Files\\"}}, false},
        {"2", {{"C:\\Windows\\"}}, false},
        {"3", {{"C:\\Program Files\\"}}, false},
        {"4", {{"C:\\"}}, false},
        {"", {{"C:\\"}}, false},
        {"00", {{"C:\\"}}, false},
        {" 1", {{"C:\\"}}, false},
    };
    for (const auto& r : rows) {
        const ScanPlan plan = planScan(r.mode, drives, "C:\\Windows\\", "C:\\Program Files\\");
        EXPECT_EQ(plan.scanFiles, r.expected) << "\"" << r.mode << "\"";
        EXPECT_EQ(plan.coversWholeDrives, r.wholeDrives) << "\"" << r.mode << "\"";
    }
}

}  // namespace
}  // namespace quillon::detection
