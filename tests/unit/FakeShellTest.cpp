// What the fake shell does beyond the shell contract: the records tests read, the staged
// failures, and the places where it follows Windows rather than Wine.
#include <gtest/gtest.h>

#include "support/FakeFileSystem.h"
#include "support/FakeShell.h"

namespace quillon::fakes {
namespace {

constexpr std::uint32_t Quiet = FileOpFlag::Silent | FileOpFlag::NoConfirmation | FileOpFlag::NoErrorUi;

class FakeShellTest : public ::testing::Test {
protected:
    FakeShellTest() {
        files.addDrive('C');
        files.addDrive('D');
    }
    FileOpResult del(std::vector<std::string> paths, std::uint32_t flags = Quiet) {
        return shell.fileOperation({FileOpKind::Delete, std::move(paths), {}, flags, 0});
    }

    FakeFileSystem files;
    FakeShell shell{files};
};

TEST_F(FakeShellTest, DeletionWithUndoGoesToTheRecycleBinUntilItIsEmptied) {
    files.addFile("C:\\a.txt");
    files.addFile("C:\\gone.txt");
    files.addFile("D:\\Dir\\b.txt");
    ASSERT_EQ(del({"C:\\a.txt", "D:\\Dir\\"}, Quiet | FileOpFlag::AllowUndo).status, Status::Ok);
    ASSERT_EQ(del({"C:\\gone.txt"}).status, Status::Ok);
    EXPECT_EQ(shell.recycled(), (std::vector<std::string>{"C:\\a.txt", "D:\\Dir"}));
    EXPECT_FALSE(files.exists("C:\\a.txt"));
    EXPECT_FALSE(files.exists("D:\\Dir\\b.txt"));

    EXPECT_EQ(shell.emptyRecycleBin(7, "d:\\", 1), Status::Ok);
    EXPECT_EQ(shell.recycled(), std::vector<std::string>{"C:\\a.txt"});
    EXPECT_EQ(shell.emptyRecycleBin(0, "", 0), Status::Ok);
    EXPECT_TRUE(shell.recycled().empty());
    EXPECT_EQ(shell.emptiedBins(), (std::vector<EmptyBinCall>{{7, "d:\\", 1}, {0, "", 0}}));
}

TEST_F(FakeShellTest, AStagedCancelOrFailureDoesNothingOnceAndIsRecorded) {
    files.addFile("C:\\keep.txt");
    shell.cancelNextOperation();
    const FileOpResult cancelled = del({"C:\\keep.txt"});
    EXPECT_TRUE(cancelled.aborted);
    EXPECT_EQ(cancelled.status, Status::Cancelled);
    EXPECT_TRUE(files.exists("C:\\keep.txt"));

    shell.failNextOperation(Status::AccessDenied);
    const FileOpResult failed = del({"C:\\keep.txt"});
    EXPECT_FALSE(failed.aborted);
    EXPECT_EQ(failed.status, Status::AccessDenied);
    EXPECT_TRUE(files.exists("C:\\keep.txt"));

    EXPECT_EQ(del({"C:\\keep.txt"}).status, Status::Ok);
    EXPECT_FALSE(files.exists("C:\\keep.txt"));
    ASSERT_EQ(shell.operations().size(), 3u);
    EXPECT_EQ(shell.operations()[0].kind, FileOpKind::Delete);
    EXPECT_EQ(shell.operations()[0].from, std::vector<std::string>{"C:\\keep.txt"});
    EXPECT_EQ(shell.operations()[0].flags, Quiet);
}

// Wine's shell refuses read-only files, and moves or copies a held or missing file with
// success while doing nothing; Windows does what the fake does.
TEST_F(FakeShellTest, FollowsWindowsWhereWineDiffers) {
    struct Row {
        const char* name;
        FileOpKind kind;
        const char* from;
        Status status;
        bool sourceLeft;
    };
    const Row rows[] = {
        {"delete read-only", FileOpKind::Delete, "C:\\ro.txt", Status::Ok, false},
        {"move held open", FileOpKind::Move, "C:\\held.txt", Status::SharingViolation, true},
        {"copy held open", FileOpKind::Copy, "C:\\held.txt", Status::SharingViolation, true},
        {"move missing", FileOpKind::Move, "C:\\missing.txt", Status::FileNotFound, false},
        {"copy missing", FileOpKind::Copy, "C:\\missing.txt", Status::FileNotFound, false},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        files.addFile("C:\\ro.txt", "r", FileAttr::ReadOnly);
        files.addFile("C:\\held.txt", "h");
        files.holdOpen("C:\\held.txt");
        files.addFolder("C:\\Dest");
        const std::string to = r.kind == FileOpKind::Delete ? "" : "C:\\Dest";
        EXPECT_EQ(shell.fileOperation({r.kind, {r.from}, to, Quiet, 0}).status, r.status);
        EXPECT_EQ(files.exists(r.from), r.sourceLeft);
        EXPECT_TRUE(files.childNames("C:\\Dest").empty());
        files.release("C:\\held.txt");
    }
}

TEST_F(FakeShellTest, DeletingAFolderStopsAtTheFirstHeldFileInListingOrder) {
    for (const char* name : {"z.txt", "held.txt", "a.txt"}) files.addFile(std::string("C:\\Dir\\") + name);
    files.setListingOrder("C:\\Dir", {"a.txt", "held.txt", "z.txt"});
    files.holdOpen("C:\\Dir\\held.txt");
    EXPECT_EQ(del({"C:\\Dir"}).status, Status::SharingViolation);
    EXPECT_EQ(files.childNames("C:\\Dir"), (std::vector<std::string>{"held.txt", "z.txt"}));
}

TEST_F(FakeShellTest, MovesFolderTreesButNotIntoThemselves) {
    files.addFile("C:\\Src\\Sub\\deep.txt", "deep");
    files.addFolder("D:\\Dest");
    EXPECT_EQ(shell.fileOperation({FileOpKind::Move, {"C:\\Src"}, "C:\\Src\\Sub", Quiet, 0}).status,
              Status::InvalidParameter);
    EXPECT_TRUE(files.exists("C:\\Src\\Sub\\deep.txt"));

    EXPECT_EQ(shell.fileOperation({FileOpKind::Move, {"C:\\Src"}, "D:\\Dest\\", Quiet, 0}).status, Status::Ok);
    EXPECT_EQ(files.content("D:\\Dest\\Src\\Sub\\deep.txt"), std::optional<std::string>("deep"));
    EXPECT_FALSE(files.exists("C:\\Src"));

    EXPECT_EQ(shell.fileOperation({FileOpKind::Rename, {"D:\\Dest\\Src"}, "D:\\Dest\\Renamed", Quiet, 0}).status,
              Status::Ok);
    EXPECT_TRUE(files.exists("D:\\Dest\\Renamed\\Sub\\deep.txt"));
}

TEST_F(FakeShellTest, FoldersAndTheTemporaryPathAreWhatTheTestSet) {
    std::string out = "x";
    EXPECT_NE(shell.specialFolder(Csidl::History, out), Status::Ok);
    EXPECT_EQ(out, "");
    EXPECT_NE(shell.tempPath(out), Status::Ok);

    shell.setSpecialFolder(Csidl::History, "C:\\WINDOWS\\History");
    EXPECT_EQ(shell.specialFolder(Csidl::History, out), Status::Ok);
    EXPECT_EQ(out, "C:\\WINDOWS\\History");
    shell.clearSpecialFolder(Csidl::History);
    EXPECT_NE(shell.specialFolder(Csidl::History, out), Status::Ok);

    files.addFile("C:\\Documents and Settings\\Me\\Local Settings\\Temp\\x.tmp");
    shell.setTempPath("C:\\DOCUME~1\\Me\\LOCALS~1\\Temp\\", "C:\\Documents and Settings\\Me\\Local Settings\\Temp\\");
    EXPECT_EQ(shell.tempPath(out), Status::Ok);
    EXPECT_EQ(out, "C:\\DOCUME~1\\Me\\LOCALS~1\\Temp\\");

    struct Row { const char* in; Status status; const char* out; };
    const Row rows[] = {
        {"C:\\DOCUME~1\\Me\\LOCALS~1\\Temp\\", Status::Ok, "C:\\Documents and Settings\\Me\\Local Settings\\Temp\\"},
        {"c:\\docume~1\\me\\locals~1\\temp", Status::Ok, "C:\\Documents and Settings\\Me\\Local Settings\\Temp"},
        {"C:\\DOCUME~1\\Me\\LOCALS~1\\Temp\\x.tmp", Status::Ok,
         "C:\\Documents and Settings\\Me\\Local Settings\\Temp\\x.tmp"},
        {"C:\\DOCUME~1\\Me\\LOCALS~1\\Temp\\y.tmp", Status::FileNotFound, ""},
        {"C:\\DOCUME~1\\Me\\LOCALS~1\\Temporary", Status::FileNotFound, ""},
        {"C:\\Documents and Settings", Status::Ok, "C:\\Documents and Settings"},
    };
    for (const auto& r : rows) {
        std::string longForm;
        EXPECT_EQ(shell.longPathName(r.in, longForm), r.status) << r.in;
        EXPECT_EQ(longForm, r.out) << r.in;
    }
}

TEST_F(FakeShellTest, FileTypesComeFromTheTableOrTheWindowsDefault) {
    shell.setFileType(".txt", "Text Document", 5);
    shell.setFileType("QDF", "Quillon Removal List", 9);
    for (const char* p : {"C:\\a.TXT", "C:\\b.qdf", "C:\\c.tmp", "C:\\noext", "C:\\Folder\\x.txt"}) files.addFile(p);
    struct Row { const char* path; const char* type; int icon; };
    const Row rows[] = {
        {"C:\\a.TXT", "Text Document", 5},
        {"C:\\b.qdf", "Quillon Removal List", 9},
        {"C:\\c.tmp", "TMP File", 0},
        {"C:\\noext", "File", 0},
        {"C:\\Folder", "File Folder", 3},
    };
    for (const auto& r : rows) {
        FileTypeInfo info;
        ASSERT_EQ(shell.fileType(r.path, info), Status::Ok) << r.path;
        EXPECT_EQ(info.typeName, r.type) << r.path;
        EXPECT_EQ(info.iconIndex, r.icon) << r.path;
    }
}

TEST_F(FakeShellTest, RecordsWhatItOpensSchedulesAndShowsHelpFor) {
    files.addFile("C:\\doc.txt");
    EXPECT_EQ(shell.execute(1, "open", "C:\\doc.txt", "", "C:\\", ShowCmd::Normal), Status::Ok);
    EXPECT_EQ(shell.execute(0, "", "http://example.invalid/", "", "", ShowCmd::Normal), Status::Ok);
    EXPECT_EQ(shell.execute(0, "", "regedit.exe", "", "", ShowCmd::Maximized), Status::Ok);
    EXPECT_EQ(shell.execute(0, "open", "C:\\missing.txt", "", "", ShowCmd::Normal), Status::FileNotFound);
    EXPECT_EQ(shell.executed(), (std::vector<ExecuteCall>{
                                    {"open", "C:\\doc.txt", "", "C:\\", ShowCmd::Normal, 1},
                                    {"", "http://example.invalid/", "", "", ShowCmd::Normal, 0},
                                    {"", "regedit.exe", "", "", ShowCmd::Maximized, 0},
                                }));

    EXPECT_EQ(shell.deleteAtRestart("C:\\in use.dll"), Status::Ok);
    EXPECT_EQ(shell.restartDeletions(), std::vector<std::string>{"C:\\in use.dll"});

    EXPECT_EQ(shell.help(3, "C:\\Q\\Quillon.hlp", HelpCommand::Key, "Options"), Status::Ok);
    EXPECT_EQ(shell.helpCalls(), (std::vector<HelpCall>{{"C:\\Q\\Quillon.hlp", HelpCommand::Key, "Options", 3}}));
}

}  // namespace
}  // namespace quillon::fakes
