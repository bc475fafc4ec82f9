// Runs in the prefix of names.sh, one test per call (the script makes the files between them):
// the snapshot of N:, then Find changes listing the installation by its own names and every row
// saved to a removal list, then that list uninstalled, then the clean-up of J: with every row
// deleted. Each removal's questions and messages are answered and printed; whether the user's
// files are still there is for the script to say.
#include <iostream>
#include <sstream>

#include "ProbeKit.h"
#include "app/resource.h"
#include "cleanup/frmSysCleanUpIds.h"
#include "review/frmFoundChangesIds.h"
#include "shell/frmMainIds.h"

namespace {

using namespace quillon::e2e;

// names.sh takes the picture when it sees the request, into the folder it was given.
void screenshot(const std::string& name) {
    const std::string request = "C:\\shots\\" + name;
    writeFile(request + ".want", "");
    EXPECT_TRUE(waitUntil(30000, [&] { return exists(request + ".done"); })) << "no screenshot " << name;
}

std::string allTexts(HWND window) {
    std::string text = "[" + windowText(window) + "]";
    firstWindow(window, [&](HWND child) {
        if (IsWindowVisible(child) && !windowText(child).empty()) text += " \"" + windowText(child) + "\"";
        return false;
    });
    return text;
}

// Answers Yes or OK to every dialog of the process but `own`, at least one, until none has come
// for three seconds and `settled` holds; prints and photographs each and returns their texts.
std::vector<std::string> answerAll(DWORD processId, const std::vector<HWND>& own, const std::string& shotPrefix,
                                   const std::function<bool()>& settled) {
    std::vector<std::string> seen;
    DWORD quietSince = GetTickCount();
    for (const DWORD start = GetTickCount(); GetTickCount() - start < 120000; Sleep(100)) {
        HWND box = firstWindow(nullptr, [&](HWND w) {
            DWORD owner = 0;
            GetWindowThreadProcessId(w, &owner);
            char kind[16] = {};
            GetClassNameA(w, kind, sizeof kind);
            return owner == processId && IsWindowVisible(w) && std::string(kind) == "#32770" &&
                   std::find(own.begin(), own.end(), w) == own.end();
        });
        if (!box) {
            if (GetTickCount() - quietSince > 3000 && settled()) {
                // Every removal asks first: no question, no removal.
                EXPECT_FALSE(seen.empty()) << "the removal never asked: did it start?";
                return seen;
            }
            continue;
        }
        HWND button = nullptr;
        if (!waitUntil(10000, [&] {
                button = GetDlgItem(box, IDYES) ? GetDlgItem(box, IDYES) : GetDlgItem(box, IDOK);
                return button && IsWindowVisible(button);
            })) {
            ADD_FAILURE() << "a dialog without Yes or OK: " << allTexts(box);
            return seen;
        }
        seen.push_back(allTexts(box));
        std::cout << "answered " << windowText(button) << " to " << seen.back() << std::endl;
        screenshot(shotPrefix + "-" + std::to_string(seen.size()));
        PostMessageA(button, BM_CLICK, 0, 0);
        if (!waitUntil(10000, [&] { return !IsWindow(box) || !IsWindowVisible(box); })) {
            ADD_FAILURE() << "the dialog stays: " << allTexts(box);
            return seen;
        }
        quietSince = GetTickCount();
    }
    ADD_FAILURE() << "the dialogs did not end within two minutes";
    return seen;
}

void printRows(const char* what, HWND list) {
    for (const auto& row : listViewRows(list, 2)) std::cout << what << ": " << row[1] << row[0] << std::endl;
}

// The first start writes the defaults; the snapshot is then taken of N: only, and the installation
// begins.
TEST(Names, UpdateDatabase) {
    {
        const RunningProgram main("");
        HWND window = main.window("Quillon", IDC_MAIN_CMBDRIVES, 20000);
        ASSERT_NE(window, nullptr) << main.noWindow("the main window").message();
        PostMessageA(window, WM_CLOSE, 0, 0);
        ASSERT_TRUE(main.ends("the main window was closed"));
    }
    ASSERT_TRUE(setDrive("(N:) NAMES"));
    const RunningProgram update("\\u");
    ASSERT_TRUE(answer(update, "Scan complete", "The scan database has been updated", IDC_UPDATE_CMDOK, "OK"));
    ASSERT_TRUE(update.ends("OK"));
    setKey(HKEY_CURRENT_USER, "Software\\NamesApp\\Settings");  // the installation's, beside its files
}

// The installation's items, "N:\folder\name" a line in UTF-8, as names.sh made them.
std::vector<std::string> installedPaths() {
    std::istringstream in(fileText("C:\\installed.txt"));
    std::vector<std::string> paths;
    for (std::string line; std::getline(in, line);) paths.push_back(line);
    std::sort(paths.begin(), paths.end());
    return paths;
}

TEST(Names, ViewerListsTheInstallationByItsNamesAndSavesIt) {
    const RunningProgram finder("\\f");
    HWND viewer = finder.window("Changes found  -Quillon", 0, 180000);
    ASSERT_NE(viewer, nullptr) << finder.noWindow("the viewer").message();
    HWND files = descendant(viewer, IDC_FOUND_LVWFILESADDED);
    HWND keys = descendant(viewer, IDC_FOUND_LVWREGADDED);
    ASSERT_TRUE(files && keys);
    // The installation's key: the registry list, filled last, is then complete.
    ASSERT_TRUE(waitUntil(10000, [&] { return rowCount(keys) > 0; })) << "the registry list stays empty";
    printRows("listed", files);
    std::vector<std::string> listed;
    for (const auto& row : listViewRows(files, 2)) listed.push_back(row[1] + row[0]);
    std::sort(listed.begin(), listed.end());
    const std::vector<std::string> installed = installedPaths();
    ASSERT_FALSE(installed.empty());
    EXPECT_EQ(listed, installed);
    screenshot("viewer");
    DWORD_PTR ignored = 0;
    ASSERT_TRUE(SendMessageTimeoutA(descendant(viewer, IDC_FOUND_CMDSELECTALL), BM_CLICK, 0, 0, SMTO_NORMAL, 20000,
                                    &ignored));
    EXPECT_EQ(selectedCount(files), rowCount(files));
    ASSERT_TRUE(saveThrough(finder, viewer, descendant(viewer, IDC_FOUND_CMDSAVE), "&Save selected", "C:\\Lists\\names.qdf"));
    PostMessageA(viewer, WM_CLOSE, 0, 0);
    ASSERT_TRUE(finder.ends("the viewer was closed"));
}

TEST(Names, SavedListUninstalls) {
    const RunningProgram uninstaller("\"C:\\Lists\\names.qdf\"");
    ASSERT_TRUE(uninstaller.started());
    const auto seen = answerAll(uninstaller.id(), {}, "uninstall", [&] { return !uninstaller.running(); });
    ASSERT_FALSE(seen.empty());
    EXPECT_TRUE(seen.front().starts_with("[Confirm Quillon Uninstall]")) << seen.front();
    EXPECT_TRUE(seen.back().starts_with("[Quillon Uninstall complete]") &&
                seen.back().find("\"names has been uninstalled.\"") != std::string::npos)
        << seen.back();
}

TEST(Names, CleanUpDeletesEveryRow) {
    ASSERT_TRUE(setDrive("(J:) JUNK"));
    const RunningProgram program("");
    HWND main = program.window("Quillon", IDC_MAIN_CMDSYSCLEANUP, 20000);
    ASSERT_NE(main, nullptr) << program.noWindow("the main window").message();
    click(descendant(main, IDC_MAIN_CMDSYSCLEANUP));
    HWND window = program.window("Quillon System Clean-up", IDC_CLEAN_CMDSCAN, 15000);
    ASSERT_NE(window, nullptr) << program.noWindow("the clean-up window").message();

    // Scan Now opens a menu; its first entry, at its top, scans for the junk types.
    // A click while the new window still settles can be lost under load.
    HWND menu = nullptr;
    for (int tries = 0; tries < 3 && !menu; ++tries) {
        click(descendant(window, IDC_CLEAN_CMDSCAN));
        if (!waitUntil(8000, [&] { return (menu = FindWindowA("#32768", nullptr)) && IsWindowVisible(menu); }))
            menu = nullptr;
    }
    ASSERT_NE(menu, nullptr) << "the scan menu did not open:\n" << program.shows();
    for (int tries = 0; tries < 3 && IsWindowVisible(menu); ++tries) {
        RECT r{};
        GetWindowRect(menu, &r);
        clickAt(r.left + 30, r.top + 10);
        waitUntil(3000, [&] { return !IsWindowVisible(menu); });
    }
    HWND total = descendant(window, IDC_CLEAN_LBLFILENO);
    if (!waitUntil(60000, [&] { return windowText(total).starts_with("Total files:"); })) {
        screenshot("cleanup-no-scan");
        FAIL() << "the scan did not end: " << allTexts(window);
    }
    HWND list = descendant(window, IDC_CLEAN_LVWSCANNEDFILES);
    printRows("listed", list);
    const Rows rows = listViewRows(list, 2);
    EXPECT_NE(std::find(rows.begin(), rows.end(), std::vector<std::string>{"тест1.tmp", "J:\\"}), rows.end())
        << "the junk is not listed by its own name";
    for (const auto& row : rows)
        for (const char* kept : {"abcd1.tmp", "wxyz1.tmp", "data.bak"})
            EXPECT_NE(row[0], kept) << row[1] << ": the user's own, kept by the rules";
    screenshot("cleanup");
    ASSERT_TRUE(press(descendant(window, IDC_CLEAN_CMDSELECTALL), "Select &All"));
    ASSERT_TRUE(waitUntil(10000, [&] { return selectedCount(list) == rowCount(list) && rowCount(list) > 0; }));
    ASSERT_TRUE(press(descendant(window, IDC_CLEAN_CMDDELETE), "&Delete"));
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    answerAll(processId, {main, window}, "cleanup-box", [&] { return IsWindowEnabled(window); });
    printRows("left", list);
    screenshot("cleanup-after");
    PostMessageA(window, WM_CLOSE, 0, 0);
    PostMessageA(main, WM_CLOSE, 0, 0);
    EXPECT_TRUE(program.ends("the windows were closed"));
}

}  // namespace
