// Runs in the prefix of names.sh, one test per call (the script makes the files between them): the
// snapshot of N:, then Find changes listing the installation by its own names, its rows saved to a
// removal list and deleted from the viewer, then that list uninstalling the installation made
// again. Every question and message is answered Yes or OK; what is left on N: is for the script to say.
#include <iostream>
#include <sstream>

#include "ProbeKit.h"

namespace {

using namespace quillon::e2e;

const char* const AppKey = "Software\\NamesApp\\Settings";  // the installation's, beside its files

// Answers Yes or OK to every dialog of the process but `own`, at least one, until none has come for
// three seconds and `settled` holds.
void answerAll(DWORD processId, HWND own, const std::function<bool()>& settled) {
    int answered = 0;
    for (DWORD start = GetTickCount(), quietSince = start; GetTickCount() - start < 120000; Sleep(100)) {
        HWND box = firstWindow(nullptr, [&](HWND w) {
            DWORD owner = 0;
            GetWindowThreadProcessId(w, &owner);
            char kind[16] = {};
            GetClassNameA(w, kind, sizeof kind);
            return owner == processId && w != own && IsWindowVisible(w) && std::string(kind) == "#32770";
        });
        if (!box && GetTickCount() - quietSince > 3000 && settled()) {
            // Every removal asks first: no question, no removal.
            EXPECT_GT(answered, 0) << "the removal never asked: did it start?";
            return;
        }
        if (!box) continue;
        HWND button = GetDlgItem(box, IDYES) ? GetDlgItem(box, IDYES) : GetDlgItem(box, IDOK);
        const std::string said = "[" + windowText(box) + "] " + windowText(GetDlgItem(box, 0xFFFF));
        std::cout << "answered " << windowText(button) << " to " << said << std::endl;
        PostMessageA(button, BM_CLICK, 0, 0);
        if (!button || !waitUntil(10000, [&] { return !IsWindow(box) || !IsWindowVisible(box); }))
            return ADD_FAILURE() << "the dialog stays: " << said;
        ++answered;
        quietSince = GetTickCount();
    }
    ADD_FAILURE() << "the dialogs did not end within two minutes";
}

TEST(Names, Snapshot) {
    ASSERT_TRUE(firstStart());
    ASSERT_TRUE(setDrive("(N:) NAMES"));
    ASSERT_TRUE(updateDatabase());
}

TEST(Names, ViewerListsTheInstallationByItsNamesSavesAndDeletesIt) {
    setKey(HKEY_CURRENT_USER, AppKey);
    const RunningProgram finder("\\f");
    HWND viewer = filledViewer(finder.id());
    ASSERT_NE(viewer, nullptr) << finder.noWindow("the viewer").message();
    // The installation's items, "N:\folder\name" a line in UTF-8, as names.sh made them.
    std::istringstream in(fileText("C:\\installed.txt"));
    std::vector<std::string> installed;
    for (std::string line; std::getline(in, line);) installed.push_back(line);
    std::sort(installed.begin(), installed.end());
    ASSERT_FALSE(installed.empty());
    HWND files = descendant(viewer, IDC_FOUND_LVWFILESADDED);
    EXPECT_EQ(listedPaths(files), installed);
    ASSERT_TRUE(saveAll(finder, viewer, "C:\\Lists\\names.qdf"));
    ASSERT_TRUE(press(descendant(viewer, IDC_FOUND_CMDDELETE), "&Delete selected"));
    answerAll(finder.id(), viewer, [&] { return IsWindowEnabled(viewer); });
    EXPECT_EQ(rowCount(files), 0) << "rows of deleted files stay";
    PostMessageA(viewer, WM_CLOSE, 0, 0);
    ASSERT_TRUE(finder.ends("the viewer was closed"));
}

TEST(Names, SavedListUninstallsTheInstallationMadeAgain) {
    setKey(HKEY_CURRENT_USER, AppKey);
    const RunningProgram uninstaller("\"C:\\Lists\\names.qdf\"");
    ASSERT_TRUE(uninstaller.started());
    answerAll(uninstaller.id(), nullptr, [&] { return !uninstaller.running(); });
}

}  // namespace
