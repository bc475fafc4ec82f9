// Runs in the prefix of names.sh, one test per call (the script makes the files between them); what
// is left on N: is for the script to say.
#include <sstream>

#include "ProbeKit.h"

namespace {

using namespace quillon::e2e;

const char* const AppKey = "Software\\NamesApp\\Settings";  // the installation's, beside its files

TEST(Names, Snapshot) {
    ASSERT_TRUE(firstStart());
    ASSERT_TRUE(setDrive("(N:) NAMES"));
    ASSERT_TRUE(updateDatabase());
}

TEST(Names, ViewerListsTheInstallationByItsNamesSavesAndDeletesIt) {
    setKey(HKEY_CURRENT_USER, AppKey);
    const RunningProgram finder("\\f");
    HWND viewer = loadedViewer(finder.id());
    ASSERT_NE(viewer, nullptr) << finder.noWindow("the viewer").message();
    // The installation's items, "N:\folder\name" a line in UTF-8, sorted by byte as names.sh made them.
    std::istringstream in(fileText("C:\\installed.txt"));
    std::vector<std::string> installed;
    for (std::string line; std::getline(in, line);) installed.push_back(line);
    ASSERT_FALSE(installed.empty());
    HWND files = descendant(viewer, IDC_FOUND_LVWFILESADDED);
    EXPECT_EQ(listedPaths(files), installed);
    ASSERT_TRUE(saveAll(finder, viewer, "C:\\Lists\\names.qdf"));
    ASSERT_TRUE(press(descendant(viewer, IDC_FOUND_CMDDELETE), "&Delete selected"));
    ASSERT_TRUE(answer(finder, "Quillon", IDYES, "&Yes"));  // to delete for good what lies too deep
    ASSERT_TRUE(answer(finder, "Confirm file deletion", IDYES, "&Yes"));
    EXPECT_TRUE(waitUntil(20000, [&] { return rowCount(files) == 0; })) << "rows of deleted files stay";
    ASSERT_TRUE(finder.closes(viewer));
}

TEST(Names, SavedListUninstallsTheInstallationMadeAgain) {
    setKey(HKEY_CURRENT_USER, AppKey);
    const RunningProgram uninstaller("\"C:\\Lists\\names.qdf\"");
    ASSERT_TRUE(answer(uninstaller, "Confirm Quillon Uninstall", IDYES, "&Yes"));
    // Папка and 中文 hold files written after the installation, one file lies too deep: each asks.
    for (int question = 0; question < 3; ++question) ASSERT_TRUE(answer(uninstaller, "Quillon", IDYES, "&Yes"));
    ASSERT_TRUE(answer(uninstaller, "Quillon Uninstall complete", IDOK, "OK"));
    ASSERT_TRUE(uninstaller.ends("the completion message"));
}

}  // namespace
