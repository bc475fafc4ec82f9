// What only the fake can do: the staging and inspection that tests use. Behaviour the fake
// shares with Windows is proved by the FileSystem contract suite.
#include <gtest/gtest.h>

#include <stdexcept>

#include "support/FakeFileSystem.h"

namespace quillon::fakes {
namespace {

class FakeFileSystemTest : public ::testing::Test {
protected:
    void SetUp() override { fs.addDrive('C'); }

    std::vector<std::string> listed(const std::string& pattern) {
        std::unique_ptr<DirectoryListing> listing;
        std::vector<std::string> names;
        EXPECT_EQ(fs.list(pattern, listing), Status::Ok) << pattern;
        FileInfo e;
        while (listing && listing->next(e)) names.push_back(e.name);
        return names;
    }

    FileInfo infoOf(const std::string& path) {
        FileInfo i;
        EXPECT_EQ(fs.info(path, i), Status::Ok) << path;
        return i;
    }

    Status writeText(const std::string& path, std::string_view text, Status* writeStatus = nullptr) {
        std::unique_ptr<TextWriter> w;
        const Status opened = fs.openWrite(path, WriteMode::Create, w);
        if (!succeeded(opened)) return opened;
        const Status written = w->write(text);
        if (writeStatus) *writeStatus = written;
        return w->close();
    }

    FakeFileSystem fs;
};

using Names = std::vector<std::string>;

TEST_F(FakeFileSystemTest, ListsInCreationOrderUnlessToldOtherwise) {
    for (const char* name : {"zeta", "Alpha", "mid"}) fs.addFile(std::string("C:\\D\\") + name);
    fs.addFolder("C:\\D\\Sub");
    EXPECT_EQ(listed("C:\\D\\*.*"), (Names{".", "..", "zeta", "Alpha", "mid", "Sub"}));
    EXPECT_EQ(fs.childNames("C:\\D"), (Names{"zeta", "Alpha", "mid", "Sub"}));

    fs.setListingOrder("C:\\D", {"MID", "gone", "Sub"});
    EXPECT_EQ(listed("C:\\D\\*.*"), (Names{".", "..", "mid", "Sub", "zeta", "Alpha"}))
        << "named entries first, the rest in creation order, unknown names skipped";
    EXPECT_EQ(fs.childNames("C:\\D\\"), (Names{"mid", "Sub", "zeta", "Alpha"}));
}

TEST_F(FakeFileSystemTest, AFolderCanRefuseListingAndStillBeThere) {
    fs.addFile("C:\\Locked\\inside.txt");
    fs.refuseListing("C:\\Locked");
    std::unique_ptr<DirectoryListing> listing;
    EXPECT_EQ(fs.list("C:\\Locked\\*.*", listing), Status::AccessDenied);
    EXPECT_EQ(listing, nullptr);
    EXPECT_TRUE(infoOf("C:\\Locked").attributes & FileAttr::Directory);
    EXPECT_TRUE(fs.exists("C:\\Locked\\inside.txt"));
}

TEST_F(FakeFileSystemTest, StagedSizeAndDateAreReportedUntilTheFileIsWritten) {
    const DateTime old{1999, 12, 31, 23, 59, 58};
    fs.addFile("C:\\big.bin", "tiny", FileAttr::Archive, old);
    fs.setFileSize("C:\\big.bin", 5'000'000'000ull);
    EXPECT_EQ(infoOf("C:\\big.bin").size, 5'000'000'000ull);
    EXPECT_EQ(infoOf("C:\\big.bin").lastWrite, old);
    EXPECT_EQ(fs.content("C:\\big.bin"), "tiny");

    const DateTime later{2001, 2, 3, 4, 5, 6};
    fs.setLastWrite("C:\\big.bin", later);
    EXPECT_EQ(infoOf("C:\\big.bin").lastWrite, later);

    const DateTime now{2030, 6, 7, 8, 9, 10};
    fs.setNow(now);
    ASSERT_EQ(writeText("C:\\big.bin", "new"), Status::Ok);
    EXPECT_EQ(infoOf("C:\\big.bin").size, 3u);
    EXPECT_EQ(infoOf("C:\\big.bin").lastWrite, now);
    EXPECT_EQ(fs.attributes("C:\\big.bin"), FileAttr::Archive);
}

TEST_F(FakeFileSystemTest, StagingCreatesParentsAndDatesWithNow) {
    const DateTime now{2026, 1, 1, 12, 0, 0};  // the fake's default now
    fs.addFile("D:\\Deep\\er\\file.txt", "text", FileAttr::Hidden);
    fs.addFolder("D:\\Deep\\Hidden", FileAttr::Hidden);
    EXPECT_EQ(fs.attributes("D:\\Deep\\er"), FileAttr::Directory);
    EXPECT_EQ(fs.attributes("D:\\DEEP\\HIDDEN"), FileAttr::Directory | FileAttr::Hidden);
    EXPECT_EQ(fs.attributes("D:\\Deep\\er\\file.txt"), FileAttr::Hidden);
    EXPECT_EQ(infoOf("D:\\Deep\\er\\file.txt").lastWrite, now);
    EXPECT_EQ(fs.driveType("D:\\"), DriveType::Fixed) << "a drive staged through a path is a fixed one";

    fs.addFile("D:\\Deep\\er\\file.txt", "replaced");
    EXPECT_EQ(fs.content("D:\\Deep\\er\\file.txt"), "replaced");
    EXPECT_EQ(fs.childNames("D:\\Deep\\er"), (Names{"file.txt"}));
}

TEST_F(FakeFileSystemTest, InspectionOfWhatIsNotThere) {
    fs.addFolder("C:\\Dir");
    EXPECT_FALSE(fs.exists("C:\\nothing"));
    EXPECT_FALSE(fs.exists("Q:\\"));
    EXPECT_TRUE(fs.exists("c:\\dir\\"));
    EXPECT_EQ(fs.content("C:\\nothing"), std::nullopt);
    EXPECT_EQ(fs.content("C:\\Dir"), std::nullopt) << "a folder has no content";
    EXPECT_EQ(fs.attributes("C:\\nothing"), std::nullopt);
}

TEST_F(FakeFileSystemTest, StagingWhatIsNotThereThrows) {
    fs.addFile("C:\\file.txt");
    EXPECT_THROW(fs.setFileSize("C:\\missing.txt", 1), std::invalid_argument);
    EXPECT_THROW(fs.holdOpen("C:\\missing.txt"), std::invalid_argument);
    EXPECT_THROW(fs.refuseListing("C:\\Missing"), std::invalid_argument);
    EXPECT_THROW(fs.childNames("C:\\Missing"), std::invalid_argument);
    EXPECT_THROW(fs.addFile("C:\\file.txt\\below.txt"), std::invalid_argument);
    EXPECT_THROW(fs.addFile("relative.txt"), std::invalid_argument);
}

TEST_F(FakeFileSystemTest, FailingWritesOpenFineThenFailEveryWriteAndTheClose) {
    fs.addFolder("C:\\Full");
    fs.addFolder("C:\\Fine");
    fs.failWritesUnder("c:\\full\\");
    fs.failWritesUnder("C:\\Broken", Status::WriteFault);
    fs.addFolder("C:\\Broken");

    struct Row { const char* path; Status write; Status close; };
    const Row rows[] = {
        {"C:\\Full\\a.qdb", Status::DiskFull, Status::DiskFull},
        {"C:\\Broken\\a.qdb", Status::WriteFault, Status::WriteFault},
        {"C:\\Fine\\a.qdb", Status::Ok, Status::Ok},
    };
    for (const auto& r : rows) {
        Status written = Status::Ok;
        EXPECT_EQ(writeText(r.path, "line\r\n", &written), r.close) << r.path;
        EXPECT_EQ(written, r.write) << r.path << ": the failure shows at the first write";
        EXPECT_TRUE(fs.exists(r.path)) << r.path << ": opening created it";
        EXPECT_EQ(fs.content(r.path), succeeded(r.write) ? "line\r\n" : "") << r.path;
    }
}

TEST_F(FakeFileSystemTest, FailingMovesLeaveTheSourceInPlace) {
    fs.addFile("C:\\Work\\a.qdb", "a");
    fs.addFile("C:\\Work\\b.qdb", "b");
    fs.addFolder("C:\\Data");
    fs.failMovesTo("C:\\Data\\");
    EXPECT_EQ(fs.moveFile("C:\\Work\\a.qdb", "C:\\DATA\\a.qdb", true), Status::AccessDenied);
    EXPECT_TRUE(fs.exists("C:\\Work\\a.qdb"));
    EXPECT_FALSE(fs.exists("C:\\Data\\a.qdb"));
    EXPECT_EQ(fs.moveFile("C:\\Work\\b.qdb", "C:\\Work\\c.qdb", true), Status::Ok) << "other destinations still work";
}

TEST_F(FakeFileSystemTest, DrivesCarryTheirTypeAndLabel) {
    fs.addDrive('e', DriveType::CdRom, "DISC");
    std::string label;
    EXPECT_EQ(fs.driveType("E:\\"), DriveType::CdRom);
    ASSERT_EQ(fs.volumeLabel("e:\\", label), Status::Ok);
    EXPECT_EQ(label, "DISC");
    EXPECT_EQ(fs.driveType("E:\\Folder\\"), DriveType::NoRootDir) << "only a root has a drive type";
}

TEST_F(FakeFileSystemTest, MovesTheWayWindowsDoes) {
    fs.addFile("C:\\A\\name.txt", "x");
    fs.addFile("C:\\A\\Sub\\inner.txt", "y");
    EXPECT_EQ(fs.moveFile("C:\\A\\name.txt", "C:\\A\\NAME.TXT", false), Status::Ok);
    EXPECT_EQ(fs.childNames("C:\\A"), (Names{"NAME.TXT", "Sub"})) << "a new spelling of the same name, in its place";
    EXPECT_EQ(fs.moveFile("C:\\A", "C:\\A\\Sub\\A", false), Status::AccessDenied) << "not into itself";
    EXPECT_EQ(fs.moveFile("C:\\A", "D:\\A", false), Status::PathNotFound) << "no drive D:";
    fs.addDrive('D');
    EXPECT_EQ(fs.moveFile("C:\\A", "D:\\A", false), Status::NotSameDevice) << "folders stay on their drive";
    EXPECT_EQ(fs.moveFile("C:\\A\\NAME.TXT", "D:\\name.txt", false), Status::Ok) << "files may change drive";
    EXPECT_EQ(fs.content("D:\\name.txt"), "x");
}

}  // namespace
}  // namespace quillon::fakes
