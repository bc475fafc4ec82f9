// Runs inside the fresh prefix of road.sh, in order: the first start and the road of one installation
// on X: ("\u", the installation, "\f" and its rows saved as a removal list that then uninstalls it,
// "Undo last removal"); the clean-up window deleting the junk of J:.
#include <filesystem>

#include "ProbeKit.h"
#include "cleanup/frmSysCleanUpIds.h"
#include "platform/win32/Win32Registry.h"
#include "shell/frmMainIds.h"
#include "ui/ComboBox.h"
#include "undo/KeyTreeImage.h"

namespace {

using namespace quillon::e2e;

const std::string ListPath = "C:\\Lists\\NewApp.qdf";
const std::string SharedDll = "X:\\Apps\\Tool\\shared.dll";
const char* const SharedDllsKey = "Software\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs";
const std::string WinIni = "C:\\windows\\win.ini";

// What an installer does: files on X: (and a work file of another run, never to be reported), a
// shared DLL counted in SharedDLLs, keys with a value, and win.ini's "mapi=1" made "mapi=NewApp".
void install(const std::string& winIniBefore) {
    ASSERT_TRUE(std::filesystem::create_directories("X:\\NewApp\\Data\\Maps"));
    for (const std::string& file : {std::string("X:\\NewApp\\app.exe"), std::string("X:\\NewApp\\Data\\Maps\\world.map"),
                                    SharedDll, std::string("X:\\Docs\\manual.txt"), std::string("X:\\Apps\\Tool\\setup.qdb")})
        std::ofstream(file, std::ios::binary) << file;
    setKey(HKEY_LOCAL_MACHINE, SharedDllsKey, SharedDll, 3);
    setKey(HKEY_CURRENT_USER, "Software\\NewApp\\Settings\\Window");
    setKey(HKEY_LOCAL_MACHINE, "Software\\NewApp\\Components");
    setKey(HKEY_CURRENT_USER, "Software\\NewApp\\Settings", "Width", 640);
    const auto at = winIniBefore.find("mapi=1\r\n");
    ASSERT_NE(at, std::string::npos) << winIniBefore;
    std::ofstream(WinIni, std::ios::binary) << std::string(winIniBefore).replace(at, 6, "mapi=NewApp");
}

// "\f" ends in the viewer listing the installation; every row is saved to the removal list.
void findChangesAndSaveThem() {
    const RunningProgram finder("\\f");
    HWND viewer = loadedViewer(finder.id());
    ASSERT_NE(viewer, nullptr) << finder.noWindow("the viewer").message();
    EXPECT_EQ(finder.shows().find("Finding changes"), std::string::npos) << "the progress window stays up behind the viewer";
    EXPECT_EQ(listedPaths(descendant(viewer, IDC_FOUND_LVWFILESADDED)),
              (std::vector<std::string>{SharedDll, "X:\\Docs\\manual.txt", "X:\\NewApp"}));
    const std::vector<std::string> keys = listedPaths(descendant(viewer, IDC_FOUND_LVWREGADDED));
    for (const std::string key : {"HKEY_CURRENT_USER\\Software\\NewApp", "HKEY_LOCAL_MACHINE\\Software\\NewApp"})
        EXPECT_NE(std::find(keys.begin(), keys.end(), key), keys.end()) << key;
    EXPECT_EQ(listViewRows(descendant(viewer, IDC_FOUND_LVWWININILINES), 2), (Rows{{"mapi=NewApp", "mapi=1"}}));
    ASSERT_TRUE(saveAll(finder, viewer, ListPath));
    ASSERT_TRUE(finder.closes(viewer));
    // The first start's settings refresh the snapshot from the new scan.
    EXPECT_NE(fileText(ProgramFolder + "Xdbase.qdb").find("\r\nshared.dll\r\n"), std::string::npos);
}

// The main window lists the fixed drives by their labels; File, "Undo last removal...": Yes puts
// back what the uninstall took.
void undoTheUninstall() {
    const RunningProgram program("");
    HWND main = program.window("Quillon", IDC_MAIN_CMBDRIVES, 20000);
    ASSERT_NE(main, nullptr) << program.noWindow("the main window").message();
    const quillon::ui::ComboBox combo(main, IDC_MAIN_CMBDRIVES);
    std::vector<std::string> drives;
    for (int i = 0; i < combo.count(); ++i) drives.push_back(combo.text(i));
    EXPECT_EQ(drives, (std::vector<std::string>{"(C:) ", "(D:) DATA", "(J:) JUNK", "(X:) SMALL",
                                                "Local hard drives (C:,D:,J:,X:)"}));
    PostMessageA(main, WM_COMMAND, IDM_MAIN_UNDO, 0);
    ASSERT_TRUE(answer(program, "Undo last removal", IDYES, "&Yes"));
    ASSERT_TRUE(answer(program, "Undo last removal", IDOK, "OK"));  // the report, which has no Yes
    ASSERT_TRUE(program.closes(main));
}

TEST(Road, FirstStartThenASavedRemovalListTakesAnInstallationAwayAndUndoBringsItBack) {
    ASSERT_TRUE(firstStart());
    ASSERT_TRUE(setDrive("(X:) SMALL"));
    setKey(HKEY_LOCAL_MACHINE, SharedDllsKey, "C:\\windows\\system32\\common.dll", 2);
    ASSERT_TRUE(updateDatabase());
    const std::string winIniBefore = fileText(WinIni);
    ASSERT_NO_FATAL_FAILURE(install(winIniBefore));
    ASSERT_NO_FATAL_FAILURE(findChangesAndSaveThem());

    quillon::win32::Win32Registry registry;
    const auto newAppKeys = [&] {
        std::vector<quillon::undo::RegKeyImage> keys;
        for (const auto hive : {quillon::Hive::CurrentUser, quillon::Hive::LocalMachine})
            static_cast<void>(quillon::undo::captureKeyTree(registry, hive, "Software\\NewApp", keys));  // compared below
        return keys;
    };
    const auto installedKeys = newAppKeys();
    const std::string installedWinIni = fileText(WinIni);
    const RunningProgram uninstaller("\"" + ListPath + "\"");
    ASSERT_TRUE(answer(uninstaller, "Confirm Quillon Uninstall", IDYES, "&Yes"));
    ASSERT_TRUE(answer(uninstaller, "DLL file in use", IDC_INUSE_CMDDELETE, "&Delete"));
    ASSERT_TRUE(answer(uninstaller, "Quillon Uninstall complete", IDOK, "OK"));
    ASSERT_TRUE(uninstaller.ends("the completion message"));

    // As before the installation (the script finds the installed files in the Recycle Bin).
    for (const std::string& path : {std::string("X:\\NewApp"), SharedDll, std::string("X:\\Docs\\manual.txt")})
        EXPECT_FALSE(exists(path)) << path;
    for (const char* path : {"X:\\Apps\\Tool\\tool.exe", "X:\\Apps\\Tool\\readme.txt", "X:\\Docs\\notes.txt", "X:\\root.txt"})
        EXPECT_TRUE(exists(path)) << path;
    EXPECT_TRUE(newAppKeys().empty());
    DWORD count = 0, size = sizeof count;
    EXPECT_NE(RegGetValueA(HKEY_LOCAL_MACHINE, SharedDllsKey, SharedDll.c_str(), RRF_RT_REG_DWORD, nullptr, &count, &size),
              ERROR_SUCCESS) << "the installation's count of its DLL stays";
    size = sizeof count;
    RegGetValueA(HKEY_LOCAL_MACHINE, SharedDllsKey, "C:\\windows\\system32\\common.dll", RRF_RT_REG_DWORD, nullptr, &count,
                 &size);
    EXPECT_EQ(count, 2u) << "another program's count was touched";
    EXPECT_EQ(fileText(WinIni), winIniBefore);
    EXPECT_FALSE(exists(ListPath)) << "the uninstalled list stays";

    ASSERT_NO_FATAL_FAILURE(undoTheUninstall());
    EXPECT_EQ(newAppKeys(), installedKeys) << "the keys are not back with their values";
    EXPECT_EQ(fileText(WinIni), installedWinIni) << "win.ini did not get its line back";
    EXPECT_TRUE(exists(ListPath)) << "the uninstalled list is not back";
}

// Scan Now, then its menu's first entry: the junk scan. A scan ends by writing the emptied totals label.
AssertionResult scanFromMenu(HWND window) {
    SendMessageA(descendant(window, IDC_CLEAN_LBLFILENO), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(""));
    if (AssertionResult pressed = press(descendant(window, IDC_CLEAN_CMDSCAN), "&Scan Now"); !pressed) return pressed;
    return chooseFromMenu(false);
}

// Every row of the junk of J: deleted into the Recycle Bin, the old file named in Cyrillic among
// them; road.sh checks that exactly the rows went, not the user's files of the same shapes.
TEST(Road, CleanUpDeletesTheJunkOfJAndStopsItsScanWhenClosed) {
    ASSERT_TRUE(setDrive("(J:) JUNK"));
    const RunningProgram program("");
    HWND main = program.window("Quillon", IDC_MAIN_CMDSYSCLEANUP, 20000);
    ASSERT_NE(main, nullptr) << program.noWindow("the main window").message();
    ASSERT_TRUE(press(descendant(main, IDC_MAIN_CMDSYSCLEANUP), "System clean-up"));
    HWND window = program.window("Quillon System Clean-up", IDC_CLEAN_CMDSCAN, 15000);
    ASSERT_NE(window, nullptr) << program.noWindow("the clean-up window").message();

    ASSERT_TRUE(scanFromMenu(window));
    HWND total = descendant(window, IDC_CLEAN_LBLFILENO);
    ASSERT_TRUE(waitUntil(60000, [&] { return windowText(total).starts_with("Total files:"); })) << program.shows();
    HWND list = descendant(window, IDC_CLEAN_LVWSCANNEDFILES);
    const std::vector<std::string> found = listedPaths(list);
    EXPECT_NE(std::find(found.begin(), found.end(), "J:\\тест1.tmp"), found.end()) << "not listed by its own name";
    ASSERT_TRUE(press(descendant(window, IDC_CLEAN_CMDSELECTALL), "Select &All"));
    ASSERT_TRUE(press(descendant(window, IDC_CLEAN_CMDDELETE), "&Delete"));
    ASSERT_TRUE(answer(program, "Confirm file deletion", IDYES, "&Yes"));
    EXPECT_TRUE(waitUntil(20000, [&] { return rowCount(list) == 0; })) << rowCount(list) << " rows stayed";

    // Closed in the middle of a scan of the big tree: the scan stops and the main window lives on.
    ASSERT_TRUE(scanFromMenu(window));
    ASSERT_TRUE(waitUntil(10000, [&] { return IsWindowEnabled(descendant(window, IDC_CLEAN_CMDSTOP)); }));
    PostMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_TRUE(waitUntil(20000, [&] { return !IsWindow(window); })) << "the window stayed";
    EXPECT_TRUE(IsWindow(main) && IsWindowEnabled(main));
    EXPECT_TRUE(program.closes(main));
}

}  // namespace
