#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "SnapshotRecordingProgress.h"
#include "snapshot/FolderRule.h"
#include "snapshot/FolderWalk.h"
#include "support/fakes.h"
#include "support/TextLines.h"

namespace quillon::snapshot {
namespace {

constexpr const char* Output = "W:\\out.qdb";

using fakes::crlfText;

class DriveWalk : public ::testing::Test {
protected:
    fakes::FakeFileSystem files;
    fakes::FakeRunContext run;
    RecordingProgress progress{&run};

    void SetUp() override {
        files.addDrive('C');
        files.addDrive('W');
    }

    // The walk of `folder` into the output file; the text written, or nullopt when it was stopped.
    std::optional<std::string> walk(std::string_view folder = "C:\\") {
        std::unique_ptr<TextWriter> out;
        EXPECT_EQ(files.openWrite(Output, WriteMode::Create, out), Status::Ok);
        const bool completed = walkFolderTree(files, run, progress, folder, *out);
        EXPECT_EQ(out->close(), Status::Ok);
        if (!completed) return std::nullopt;
        return files.content(Output);
    }
};

TEST(FolderRule, OnlyPlainFoldersNotStartingWithADotAreWalked) {
    struct Row { const char* name; std::uint32_t attributes; bool walked; };
    const Row rows[] = {
        {"Program Files", FileAttr::Directory, true},
        {"System", FileAttr::Directory | FileAttr::Hidden | FileAttr::System | FileAttr::ReadOnly, true},
        {".", FileAttr::Directory, false},
        {"..", FileAttr::Directory, false},
        {".config", FileAttr::Directory, false},
        {"Link", FileAttr::Directory | FileAttr::ReparsePoint, false},
        {"Documents and Settings", FileAttr::Directory | FileAttr::Hidden | FileAttr::ReparsePoint, false},
        {"file.txt", FileAttr::Archive, false},
        {"a.dir", FileAttr::Archive | FileAttr::ReparsePoint, false},
    };
    for (const auto& r : rows)
        EXPECT_EQ(walksIntoFolder(FileInfo{r.name, r.attributes, 0, {}}), r.walked) << r.name;
}

TEST_F(DriveWalk, WorkedExampleByteForByte) {
    files.addFile("C:\\AUTOEXEC.BAT");
    files.addFile("C:\\IO.SYS", "", FileAttr::Hidden | FileAttr::System | FileAttr::ReadOnly);
    files.addFile("C:\\Program Files\\Common Files\\desktop.ini", "", FileAttr::Hidden);
    files.addFile("C:\\WINDOWS\\win.ini");
    files.setListingOrder("C:\\", {"AUTOEXEC.BAT", "IO.SYS", "Program Files", "WINDOWS"});

    EXPECT_EQ(walk(), "C:\\{\r\nAUTOEXEC.BAT\r\nIO.SYS\r\n}\r\n"
                      "C:\\Program Files\\{\r\n}\r\n"
                      "C:\\Program Files\\Common Files\\{\r\ndesktop.ini\r\n}\r\n"
                      "C:\\WINDOWS\\{\r\nwin.ini\r\n}\r\n");
    EXPECT_EQ(progress.steps, (std::vector<std::string>{"C:\\", "C:\\Program Files\\", "C:\\Program Files\\Common Files\\",
                                                         "C:\\WINDOWS\\"}));
}

TEST_F(DriveWalk, EnumerationOrderDecidesFileAndFolderOrder) {
    struct Row { std::vector<std::string> order; std::vector<std::string> expected; };
    const Row rows[] = {
        {{"b.txt", "Zed", "a.txt", "Alpha"},
         {"C:\\{", "b.txt", "a.txt", "}", "C:\\Zed\\{", "z.txt", "}", "C:\\Zed\\Inner\\{", "}", "C:\\Alpha\\{", "}"}},
        {{"Alpha", "a.txt", "Zed", "b.txt"},
         {"C:\\{", "a.txt", "b.txt", "}", "C:\\Alpha\\{", "}", "C:\\Zed\\{", "z.txt", "}", "C:\\Zed\\Inner\\{", "}"}},
    };
    for (const auto& r : rows) {
        fakes::FakeFileSystem fresh;
        fresh.addDrive('W');
        fresh.addFile("C:\\a.txt");
        fresh.addFile("C:\\b.txt");
        fresh.addFolder("C:\\Alpha");
        fresh.addFile("C:\\Zed\\z.txt");
        fresh.addFolder("C:\\Zed\\Inner");
        fresh.setListingOrder("C:\\", r.order);
        std::unique_ptr<TextWriter> out;
        ASSERT_EQ(fresh.openWrite(Output, WriteMode::Create, out), Status::Ok);
        EXPECT_TRUE(walkFolderTree(fresh, run, progress, "C:\\", *out));
        ASSERT_EQ(out->close(), Status::Ok);
        EXPECT_EQ(fresh.content(Output), crlfText(r.expected)) << r.order.front();
    }
}

TEST_F(DriveWalk, DotFoldersAndLinkedFoldersGetNoBlockButDotFilesAreListed) {
    files.addFile("C:\\.profile");
    files.addFile("C:\\.config\\settings.ini");
    files.addFolder("C:\\Link", FileAttr::Directory | FileAttr::ReparsePoint);
    files.addFile("C:\\Link\\target.txt");
    files.addFile("C:\\Keep\\.hidden\\x.txt");
    files.addFile("C:\\Keep\\k.txt");
    files.setListingOrder("C:\\", {".profile", ".config", "Link", "Keep"});

    EXPECT_EQ(walk(), crlfText({"C:\\{", ".profile", "}", "C:\\Keep\\{", "k.txt", "}"}));
}

TEST_F(DriveWalk, UnlistableAndEmptyFoldersGiveEmptyBlocks) {
    files.addFile("C:\\Secret\\s.txt");
    files.addFolder("C:\\Secret\\Below");
    files.refuseListing("C:\\Secret");
    files.addFolder("C:\\Empty");
    files.setListingOrder("C:\\", {"Secret", "Empty"});

    EXPECT_EQ(walk(), crlfText({"C:\\{", "}", "C:\\Secret\\{", "}", "C:\\Empty\\{", "}"}));
}

TEST_F(DriveWalk, AWalkBelowTheRootStartsAtThatFolder) {
    files.addFile("C:\\root.txt");
    files.addFile("C:\\Apps\\Tool\\t.exe");
    EXPECT_EQ(walk("C:\\Apps\\"), crlfText({"C:\\Apps\\{", "}", "C:\\Apps\\Tool\\{", "t.exe", "}"}));
}

// Folders in walk order: C:\, A, A\A1, B. Stopping at the n-th yield leaves the n-1 blocks
// before it written and none after.
TEST_F(DriveWalk, OneYieldPerFolderAndTheStopFlagEndsTheWalkThere) {
    const std::vector<std::vector<std::string>> blocks = {
        {"C:\\{", "r.txt", "}"}, {"C:\\A\\{", "}"}, {"C:\\A\\A1\\{", "a.txt", "}"}, {"C:\\B\\{", "}"}};
    for (int stopAt = 0; stopAt <= 5; ++stopAt) {
        fakes::FakeFileSystem fresh;
        fresh.addDrive('W');
        fresh.addFile("C:\\r.txt");
        fresh.addFile("C:\\A\\A1\\a.txt");
        fresh.addFolder("C:\\B");
        fresh.setListingOrder("C:\\", {"r.txt", "A", "B"});
        fakes::FakeRunContext stopping;
        stopping.stopAtYield(stopAt);
        std::unique_ptr<TextWriter> out;
        ASSERT_EQ(fresh.openWrite(Output, WriteMode::Create, out), Status::Ok);
        const bool completed = walkFolderTree(fresh, stopping, progress, "C:\\", *out);
        ASSERT_EQ(out->close(), Status::Ok);

        const bool stops = stopAt >= 1 && stopAt <= 4;
        EXPECT_EQ(completed, !stops) << stopAt;
        EXPECT_EQ(stopping.yields(), stops ? stopAt : 4) << stopAt;
        std::vector<std::string> expected;
        for (int i = 0; i < (stops ? stopAt - 1 : 4); ++i)
            expected.insert(expected.end(), blocks[i].begin(), blocks[i].end());
        EXPECT_EQ(fresh.content(Output), crlfText(expected)) << stopAt;
    }
}

// Takes lines until the n-th, then refuses every write, as a disk that fills up does.
class FillingWriter final : public TextWriter {
public:
    explicit FillingWriter(int failingLine) : failingLine_(failingLine) {}
    Status write(std::string_view bytes) override {
        if (failed_) return Status::DiskFull;
        if (bytes == "\r\n") return Status::Ok;
        if (static_cast<int>(lines.size()) + 1 == failingLine_) {
            failed_ = true;
            return Status::DiskFull;
        }
        lines.emplace_back(bytes);
        return Status::Ok;
    }
    Status close() override { return failed_ ? Status::DiskFull : Status::Ok; }
    std::vector<std::string> lines;

private:
    int failingLine_;
    bool failed_ = false;
};

// Lines in walk order: C:\{ r.txt } (folder 1), C:\A\{ a.txt } (2), C:\B\{ } (3). The walk
// ends in the folder whose line was refused, and writes nothing after it.
TEST_F(DriveWalk, AFailedWriteEndsTheWalkInThatFolder) {
    files.addFile("C:\\r.txt");
    files.addFile("C:\\A\\a.txt");
    files.addFolder("C:\\B");
    const std::vector<std::string> all = {"C:\\{", "r.txt", "}", "C:\\A\\{", "a.txt", "}", "C:\\B\\{", "}"};
    const int folderOfLine[] = {0, 1, 1, 1, 2, 2, 2, 3, 3};
    for (int failing = 1; failing <= 8; ++failing) {
        FillingWriter out(failing);
        fakes::FakeRunContext counting;
        EXPECT_TRUE(walkFolderTree(files, counting, progress, "C:\\", out)) << failing;
        EXPECT_EQ(out.close(), Status::DiskFull);
        EXPECT_EQ(counting.yields(), folderOfLine[failing]) << failing;
        EXPECT_EQ(out.lines, std::vector<std::string>(all.begin(), all.begin() + failing - 1)) << failing;
    }
}

}  // namespace
}  // namespace quillon::snapshot
