#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "DetectionTestProgress.h"
#include "SnapshotRecordingProgress.h"
#include "detection/BlockCompare.h"
#include "detection/CompareDriveScan.h"
#include "detection/IgnoreList.h"
#include "detection/ScanFiles.h"
#include "detection/ScanFolderTree.h"
#include "snapshot/FolderWalk.h"
#include "support/fakes.h"
#include "support/TextLines.h"

namespace quillon::detection {
namespace {

using Lines = std::vector<std::string>;

constexpr const char* Work = "W:\\";
constexpr const char* Data = "W:\\Data\\";

using fakes::crlfText;

class FileComparison : public ::testing::Test {
protected:
    fakes::FakeFileSystem files;
    fakes::FakeRunContext run;
    RecordingProgress progress;

    void SetUp() override { files.addFolder(Data); }

    void snapshot(char drive, const Lines& lines) {
        files.addFile(std::string(Data) + drive + "dbase.qdb", crlfText(lines), FileAttr::Hidden);
    }
    // Compares `scan` as "current.qdb" with the snapshots of `drives`; the changes file.
    std::string compare(const Lines& scan, const std::vector<std::string>& drives = {"C:"}) {
        files.addFile(currentScanPath(Work), crlfText(scan));
        EXPECT_TRUE(compareDriveScan(files, run, progress, Work, Data, drives));
        return files.content(changesPath(Work)).value_or("<no changes file>");
    }
};

TEST_F(FileComparison, WorkedExampleLineForLine) {
    snapshot('C', {"C:\\{", "boot.ini", "}", "C:\\Apps\\{", "a.exe", "}"});
    const std::string changes = compare({"C:\\{", "boot.ini", "setup.log", "}", "C:\\Apps\\{", "a.exe", "b.dll", "}",
                                         "C:\\NewApp\\{", "n.exe", "}", "C:\\NewApp\\Data\\{", "d.dat", "}"});
    EXPECT_EQ(changes, "C:\\{\r\nsetup.log\r\n}\r\nC:\\Apps\\{\r\nb.dll\r\n}\r\n!C:\\NewApp\\{\r\n}\r\n");
    EXPECT_FALSE(files.exists(currentScanPath(Work)));
    EXPECT_FALSE(files.exists(mergedSnapshotPath(Work)));
    EXPECT_TRUE(files.exists(std::string(Data) + "Cdbase.qdb")) << "the drive snapshot stays";
    EXPECT_EQ(progress.advanced, 4) << "one step per scan block";
}

TEST_F(FileComparison, RecordsOnlyWhatIsNew) {
    struct Row { const char* what; Lines snap; Lines scan; Lines changes; };
    const Row rows[] = {
        {"one file gained", {"C:\\{", "a", "b", "}"}, {"C:\\{", "a", "n", "b", "}"}, {"C:\\{", "n", "}"}},
        {"nothing changed", {"C:\\{", "a", "}", "C:\\X\\{", "}"}, {"C:\\{", "a", "}", "C:\\X\\{", "}"}, {}},
        {"renamed file: the new name only", {"C:\\{", "old.txt", "}"}, {"C:\\{", "new.txt", "}"},
         {"C:\\{", "new.txt", "}"}},
        {"removed files and folders are not reported", {"C:\\{", "a", "gone", "}", "C:\\Gone\\{", "}"},
         {"C:\\{", "a", "}"}, {}},
        {"names and headers without regard to case", {"C:\\{", "README.TXT", "}", "C:\\Apps\\{", "A.EXE", "}"},
         {"C:\\{", "readme.txt", "}", "c:\\APPS\\{", "a.exe", "}"}, {}},
        {"new folder with sub-folders: one record",
         {"C:\\{", "}"},
         {"C:\\{", "}", "C:\\New\\{", "n", "}", "C:\\New\\A\\{", "}", "C:\\New\\A\\B\\{", "b", "}", "C:\\New\\C\\{", "}"},
         {"!C:\\New\\{", "}"}},
        {"a sibling named like a new folder is compared like any other",
         {"C:\\{", "}", "C:\\NewApp2\\{", "x", "}"},
         {"C:\\{", "}", "C:\\NewApp\\{", "}", "C:\\NewApp2\\{", "x", "y", "}"},
         {"!C:\\NewApp\\{", "}", "C:\\NewApp2\\{", "y", "}"}},
        {"an empty scan", {"C:\\{", "a", "}"}, {}, {}},
        {"empty new folder", {"C:\\{", "}"}, {"C:\\{", "}", "C:\\E\\{", "}"}, {"!C:\\E\\{", "}"}},
        {"folders found out of order",
         {"C:\\{", "}", "C:\\A\\{", "a", "}", "C:\\B\\{", "b", "}", "C:\\C\\{", "c", "}"},
         {"C:\\{", "}", "C:\\C\\{", "c", "c2", "}", "C:\\B\\{", "b", "}", "C:\\A\\{", "a", "a2", "}"},
         {"C:\\C\\{", "c2", "}", "C:\\A\\{", "a2", "}"}},
    };
    for (const auto& r : rows) {
        snapshot('C', r.snap);
        EXPECT_EQ(compare(r.scan), crlfText(r.changes)) << r.what;
    }
}

// A folder's header must match only its own header: "C:\Apps\{" also occurs inside the
// header of a sub-folder named "{GUID}", which a containment test would take for Apps's block.
TEST_F(FileComparison, AHeaderMatchesOnlyAnEqualHeader) {
    snapshot('C', {"C:\\{", "}", "C:\\Apps\\{GUID}\\{", "g.dat", "}", "C:\\Apps\\{", "a.exe", "b.dll", "}"});
    EXPECT_EQ(compare({"C:\\{", "}", "C:\\Apps\\{", "a.exe", "b.dll", "c.ocx", "}", "C:\\Apps\\{GUID}\\{", "g.dat",
                       "}"}),
              crlfText({"C:\\Apps\\{", "c.ocx", "}"}));
}

// A new folder covers the folders below it, and only those: its path (with "\") must begin
// the header. A path that merely holds it further in is an ordinary folder.
TEST_F(FileComparison, ANewFolderCoversOnlyTheFoldersBelowIt) {
    snapshot('C', {"C:\\{", "}", "E:\\Mirror\\C:\\NewApp\\{", "m", "}"});
    EXPECT_EQ(compare({"C:\\{", "}", "C:\\NewApp\\{", "}", "c:\\newapp\\Sub\\{", "s", "}",
                       "E:\\Mirror\\C:\\NewApp\\{", "m", "m2", "}"}),
              crlfText({"!C:\\NewApp\\{", "}", "E:\\Mirror\\C:\\NewApp\\{", "m2", "}"}));
}

TEST_F(FileComparison, SnapshotsOfEveryDriveAreMergedInListOrder) {
    snapshot('C', {"C:\\{", "c", "}"});
    snapshot('D', {"D:\\{", "d", "}"});
    EXPECT_EQ(compare({"C:\\{", "c", "}", "D:\\{", "d", "d2", "}"}, {"C:", "D:"}), crlfText({"D:\\{", "d2", "}"}));
    // A drive without a snapshot adds nothing to the merge: its whole tree is new.
    EXPECT_EQ(compare({"C:\\{", "c", "}", "E:\\{", "e", "}", "E:\\X\\{", "}"}, {"C:", "E:"}),
              crlfText({"!E:\\{", "}"}));
}

TEST_F(FileComparison, AStopLeavesTheWorkFilesForTheRunToDelete) {
    snapshot('C', {"C:\\{", "a", "}", "C:\\B\\{", "b", "}"});
    const Lines scan = {"C:\\{", "a", "n", "}", "C:\\B\\{", "b", "}", "C:\\New\\{", "}"};
    files.addFile(currentScanPath(Work), crlfText(scan));
    fakes::FakeRunContext counting;
    ASSERT_TRUE(compareDriveScan(files, counting, progress, Work, Data, {"C:"}));
    const int yields = counting.yields();
    ASSERT_GT(yields, static_cast<int>(scan.size())) << "a yield before every line read";
    for (int stopAt = 1; stopAt <= yields; ++stopAt) {
        files.addFile(currentScanPath(Work), crlfText(scan));
        fakes::FakeRunContext stopping;
        stopping.stopAtYield(stopAt);
        EXPECT_FALSE(compareDriveScan(files, stopping, progress, Work, Data, {"C:"})) << stopAt;
        EXPECT_EQ(stopping.yields(), stopAt) << "nothing read after the stop";
        EXPECT_TRUE(files.exists(currentScanPath(Work))) << stopAt;
        EXPECT_TRUE(files.exists(mergedSnapshotPath(Work))) << stopAt;
        EXPECT_TRUE(files.exists(changesPath(Work))) << stopAt;
    }
}

// Every yield stands for a line read. A search that walked the snapshot for each block out of
// place would read about blocks * lines here; the bounded one reads the snapshot once more.
TEST_F(FileComparison, BlocksOutOfPlaceCostOnePassMoreNotOnePassEach) {
    constexpr int blocks = 300;
    Lines snap;
    Lines reversed;
    for (int b = 0; b < blocks; ++b) {
        const Lines block = {"C:\\F" + std::to_string(b) + "\\{", "a", "b", "c", "}"};
        snap.insert(snap.end(), block.begin(), block.end());
        reversed.insert(reversed.begin(), block.begin(), block.end());
    }
    snapshot('C', snap);
    fakes::FakeRunContext inOrder;
    files.addFile(currentScanPath(Work), crlfText(snap));
    ASSERT_TRUE(compareDriveScan(files, inOrder, progress, Work, Data, {"C:"}));
    EXPECT_EQ(files.content(changesPath(Work)), "");

    fakes::FakeRunContext outOfOrder;
    files.addFile(currentScanPath(Work), crlfText(reversed));
    ASSERT_TRUE(compareDriveScan(files, outOfOrder, progress, Work, Data, {"C:"}));
    EXPECT_EQ(files.content(changesPath(Work)), "");
    EXPECT_LE(outOfOrder.yields(), 2 * inOrder.yields() + 3 * blocks)
        << "in order " << inOrder.yields() << ", reversed " << outOfOrder.yields();
}

TEST_F(FileComparison, MergingCopiesTheLinesOfEachFileInOrder) {
    files.addFile("W:\\0current.qdb", "C:\\{\r\nc\r\n}\r\n");
    files.addFile("W:\\2current.qdb", "E:\\{\r\n}");
    files.addFile(currentScanPath(Work), "stale\r\n");
    ASSERT_EQ(mergeDriveScans(files, Work, 3), Status::Ok);
    EXPECT_EQ(files.content(currentScanPath(Work)), crlfText({"C:\\{", "c", "}", "E:\\{", "}"}));
    EXPECT_EQ(driveScanPath(Work, 12), "W:\\12current.qdb");

    snapshot('D', {"D:\\{", "}"});
    ASSERT_EQ(mergeDriveSnapshots(files, Data, Work, {"C:", "D:"}), Status::Ok);
    EXPECT_EQ(files.content(mergedSnapshotPath(Work)), crlfText({"D:\\{", "}"}));
}

// The whole file side on a fake drive: snapshot walk, changes, rescan, comparison.
class RescanAndCompare : public ::testing::Test {
protected:
    fakes::FakeFileSystem files;

    void SetUp() override {
        files.addFolder(Data);
        for (int f = 0; f < 6; ++f)
            for (int n = 0; n < 3; ++n)
                files.addFile("C:\\F" + std::to_string(f) + "\\Sub\\file" + std::to_string(n) + ".txt");
        fakes::FakeRunContext run;
        snapshot::RecordingProgress none;
        std::unique_ptr<TextWriter> out;
        ASSERT_EQ(files.openWrite(std::string(Data) + "Cdbase.qdb", WriteMode::Create, out), Status::Ok);
        ASSERT_TRUE(snapshot::walkFolderTree(files, run, none, "C:\\", *out));
        ASSERT_EQ(out->close(), Status::Ok);
    }

    std::string findChanges() {
        fakes::FakeRunContext run;
        RecordingProgress progress;
        std::unique_ptr<TextWriter> out;
        EXPECT_EQ(files.openWrite(currentScanPath(Work), WriteMode::Create, out), Status::Ok);
        std::uint64_t count = 0;
        EXPECT_TRUE(scanFolderTree(files, run, progress, "C:\\", IgnoreList::forRun("C:\\Windows\\", "C:\\", ""), *out,
                                   count));
        EXPECT_EQ(out->close(), Status::Ok);
        EXPECT_TRUE(compareDriveScan(files, run, progress, Work, Data, {"C:"}));
        return files.content(changesPath(Work)).value_or("");
    }
};

TEST_F(RescanAndCompare, AReversedEnumerationFindsWhatAnInOrderOneFinds) {
    files.addFile("C:\\F1\\Sub\\new.dll");
    files.addFile("C:\\F4\\added.txt");
    files.addFile("C:\\F2\\Fresh\\Deeper\\x.exe");
    files.addFile("C:\\F5\\Sub\\mine.qdb");
    const std::string inOrder = findChanges();
    EXPECT_EQ(inOrder, crlfText({"C:\\F1\\Sub\\{", "new.dll", "}", "!C:\\F2\\Fresh\\{", "}", "C:\\F4\\{", "added.txt", "}"}));

    std::vector<std::string> reversed = files.childNames("C:\\");
    std::reverse(reversed.begin(), reversed.end());
    files.setListingOrder("C:\\", reversed);
    files.setListingOrder("C:\\F4", {"Sub", "added.txt"});
    // Records come in the new scan order; each record is the same.
    EXPECT_EQ(findChanges(), crlfText({"C:\\F4\\{", "added.txt", "}", "!C:\\F2\\Fresh\\{", "}", "C:\\F1\\Sub\\{", "new.dll",
                                   "}"}));
}

}  // namespace
}  // namespace quillon::detection
