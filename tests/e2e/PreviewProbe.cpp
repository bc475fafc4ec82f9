// Runs in the prefix of preview.sh, one test per call (the script installs between them): two
// programs of one vendor, each saved as its own removal list from one snapshot, so both name the
// vendor folder. Uninstalling the first keeps all the second names; the second then takes it.
#include "ProbeKit.h"
#include "shell/frmMainIds.h"

namespace {

using namespace quillon::e2e;

const std::string Vendor = "C:\\Program Files\\Vendor\\";

AssertionResult saveChanges(const std::string& list) {
    const RunningProgram finder("\\f");
    HWND viewer = loadedViewer(finder.id());
    if (!viewer) return finder.noWindow("the filled viewer");
    if (AssertionResult saved = saveAll(finder, viewer, list); !saved) return saved;
    return finder.closes(viewer);
}

// For a screenshot by hand: QUILLON_HOLD keeps each window of the preview up a while.
void hold() { Sleep(GetEnvironmentVariableA("QUILLON_HOLD", nullptr, 0) ? 5000 : 0); }

// Yes on the confirmation, then OK on what the uninstall says at its end.
AssertionResult goAhead(const RunningProgram& program) {
    if (AssertionResult yes = answer(program, "Confirm Quillon Uninstall", IDYES, "&Yes"); !yes) return yes;
    return answer(program, "Quillon Uninstall complete", IDOK, "OK");
}

TEST(Preview, FirstStartAndUpdate) {
    ASSERT_TRUE(firstStart());
    // Find changes must not refresh the snapshot: the second program's changes then include the first's.
    ASSERT_EQ(RegSetKeyValueA(HKEY_CURRENT_USER, "Software\\Quillon\\Scanning", "AutoUpdateDb", REG_SZ, "0", 2),
              ERROR_SUCCESS);
    ASSERT_TRUE(updateDatabase());
}

TEST(Preview, SaveOne) { ASSERT_TRUE(saveChanges("C:\\Lists\\One.qdf")); }

TEST(Preview, SaveTwo) { ASSERT_TRUE(saveChanges("C:\\Lists\\Two.qdf")); }

TEST(Preview, UninstallOneFromTheMenuKeepsWhatTwoNames) {
    const RunningProgram main("");
    HWND window = main.window("Quillon", 0, 20000);
    ASSERT_NE(window, nullptr) << main.noWindow("the main window").message();
    PostMessageA(window, WM_COMMAND, IDM_MAIN_NAME1, 0);  // the Uninstall menu's first list: One, saved first
    HWND confirm = main.window("Confirm Quillon Uninstall", IDC_PREVIEW_CMDDETAILS, 60000);
    ASSERT_NE(confirm, nullptr) << main.noWindow("the confirmation").message();
    const std::string question = windowText(GetDlgItem(confirm, IDC_PREVIEW_LBLQUESTION));
    EXPECT_TRUE(question.starts_with("Are you sure you want to remove One") && question.find("Also in another saved list: ") != std::string::npos)
        << question;

    hold();
    ASSERT_TRUE(press(GetDlgItem(confirm, IDC_PREVIEW_CMDDETAILS), "&Details..."));
    HWND details = main.window("Uninstall preview -Quillon", IDC_DETAILS_LVWENTRIES, 20000);
    ASSERT_NE(details, nullptr) << main.noWindow("the details").message();
    HWND list = GetDlgItem(details, IDC_DETAILS_LVWENTRIES);
    const Rows rows = listViewRows(list, 3);
    const auto vendor = std::ranges::find_if(rows, [](const auto& row) { return _stricmp((row[0] + "\\").c_str(), Vendor.c_str()) == 0; });
    ASSERT_NE(vendor, rows.end()) << "the vendor folder is not in the preview";
    EXPECT_EQ((*vendor)[1], "Also in another saved list");
    EXPECT_NE((*vendor)[2].find("Two"), std::string::npos) << (*vendor)[2];
    const auto row = static_cast<WPARAM>(vendor - rows.begin());
    EXPECT_EQ(SendMessageW(list, LVM_GETITEMSTATE, row, LVIS_STATEIMAGEMASK), INDEXTOSTATEIMAGEMASK(1)) << "ticked";
    hold();
    ASSERT_TRUE(answer(main, "Uninstall preview -Quillon", IDOK, "OK"));

    ASSERT_TRUE(goAhead(main));
    ASSERT_TRUE(main.closes(window));
    for (const std::string& path : {Vendor + "Two\\Two.exe", Vendor + "common.dll"}) EXPECT_TRUE(exists(path)) << path;
    EXPECT_NE(fileText("C:\\Lists\\One.qdf").find("Kept{"), std::string::npos) << "what stays is not written back";
}

TEST(Preview, UninstallTwoFromTheCommandLineTakesTheFolder) {
    const RunningProgram uninstaller("C:\\Lists\\Two.qdf");
    HWND confirm = uninstaller.window("Confirm Quillon Uninstall", IDC_PREVIEW_LBLQUESTION, 60000);
    ASSERT_NE(confirm, nullptr) << uninstaller.noWindow("the confirmation").message();
    EXPECT_EQ(windowText(GetDlgItem(confirm, IDC_PREVIEW_LBLQUESTION)).find("Also in another"), std::string::npos)
        << "One's list still claims";
    ASSERT_TRUE(goAhead(uninstaller));
    ASSERT_TRUE(uninstaller.ends("the completion message"));
    EXPECT_FALSE(exists(Vendor)) << "the vendor folder stays";
}

}  // namespace
