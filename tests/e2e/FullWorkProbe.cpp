// Runs inside the prefix of fullwork.sh, one test per start: "Update database" of X: with the
// work folder on the small drive T:, and after the script's installation of many files on X:,
// "Find changes", whose scan no longer fits on T:. It must end in one error box naming the file
// and the full disk, and no viewer.
#include "ProbeKit.h"
#include "app/resource.h"
#include "shell/frmMainIds.h"

namespace {

using namespace quillon::e2e;

const char* const GeneralKey = "Software\\Quillon\\General";

// The script takes its screenshot between the two files' appearance.
void letTheScriptLook() {
    writeFile("C:\\error-box-shown", "");
    if (!std::getenv("QUILLON_SHOT")) return;
    waitUntil(30000, [] { return exists("C:\\screenshot-taken"); });
}

TEST(FullWork, UpdateDatabaseOfXFitsTheSmallWorkDrive) {
    {
        const RunningProgram first("");
        ASSERT_TRUE(first.started());
        HWND window = first.window("Quillon", IDC_MAIN_CMBDRIVES, 20000);
        ASSERT_NE(window, nullptr) << first.noWindow("the main window").message();
        PostMessageA(window, WM_CLOSE, 0, 0);
        ASSERT_TRUE(first.ends("the main window was closed"));
    }
    ASSERT_TRUE(setDrive("(X:) SMALL"));

    const RunningProgram update("\\u");
    ASSERT_TRUE(update.started());
    ASSERT_TRUE(answer(update, "Scan complete", "The scan database has been updated", IDC_UPDATE_CMDOK, "OK"));
    ASSERT_TRUE(update.ends("OK"));
    EXPECT_TRUE(exists(ProgramFolder + "Xdbase.qdb"));
}

TEST(FullWork, FindChangesOnAFullWorkDriveEndsInOneErrorBoxAndNoViewer) {
    const RunningProgram find("\\f");
    ASSERT_TRUE(find.started());
    HWND box = find.window("Error finding changes", 0, 120000);
    ASSERT_NE(box, nullptr) << find.noWindow("the error box").message();
    const std::string said = "Quillon could not write T:\\0current.qdb: the disk is full. No changes were listed and the "
                             "snapshot was kept.";
    ASSERT_TRUE(waitUntil(10000, [&] { return childWithText(box, said) != nullptr; })) << find.shows();
    EXPECT_EQ(RunningProgram::find(0, "Changes found  -Quillon", 0, 0), nullptr) << "the viewer is up";
    letTheScriptLook();
    ASSERT_TRUE(press(GetDlgItem(box, IDOK), "OK"));
    ASSERT_TRUE(find.ends("the error box was answered"));
}

}  // namespace
