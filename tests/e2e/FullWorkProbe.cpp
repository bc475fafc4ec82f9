// Runs inside the prefix of fullwork.sh, one test per start: "Update database" of X:, and after the
// script's installation of many files, "Find changes", whose work files no longer fit on T:.
#include "ProbeKit.h"

namespace {

using namespace quillon::e2e;

TEST(FullWork, UpdateDatabaseOfXFitsTheSmallWorkDrive) {
    ASSERT_TRUE(firstStart());
    ASSERT_TRUE(setDrive("(X:) SMALL"));
    ASSERT_TRUE(updateDatabase());
}

TEST(FullWork, FindChangesOnAFullWorkDriveEndsInOneErrorBoxAndNoViewer) {
    const RunningProgram find("\\f");
    HWND box = find.window("Error finding changes", IDOK, 120000);
    ASSERT_NE(box, nullptr) << find.noWindow("the error box").message();
    EXPECT_EQ(windowText(GetDlgItem(box, 0xFFFF)), "Quillon could not write T:\\0current.qdb: the disk is full. No changes "
                                                   "were listed and the snapshot was kept.");
    EXPECT_EQ(RunningProgram::find(0, "Changes found  -Quillon", 0, 0), nullptr) << "the viewer is up";
    ASSERT_TRUE(press(GetDlgItem(box, IDOK), "OK"));
    ASSERT_TRUE(find.ends("the error box was answered"));
}

}  // namespace
