// Runs inside the fresh prefix of road.sh, in order: the first start of Quillon.exe on a new
// machine, then the whole road of one installation on the drive it left chosen: "\u", an
// installation on X:, "\f" ending in the viewer, the removal list saved from it, and
// `Quillon.exe "C:\Lists\NewApp.qdf"` taking it all away, the shared DLL on the in-use question,
// and "Undo last removal" putting the keys and the win.ini line back. Last, the clean-up window
// deletes the junk of J:.
#include <cstring>

#include "ProbeKit.h"
#include "cleanup/frmSysCleanUpIds.h"
#include "platform/win32/Win32Registry.h"
#include "shell/frmMainIds.h"
#include "undo/KeyTreeImage.h"

namespace {

using namespace quillon::e2e;

const std::string ListPath = "C:\\Lists\\NewApp.qdf";
const std::string SharedDll = "X:\\Apps\\Tool\\shared.dll";
const char* const SharedDllsKey = "Software\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs";
const char* const GeneralKey = "Software\\Quillon\\General";
const std::string WinIni = "C:\\windows\\win.ini";

TEST(Road, FirstStartRegistersTheProgramListsTheFixedDrivesAndKeepsTheChosenOne) {
    const RunningProgram main("");
    HWND window = main.window("Quillon", IDC_MAIN_CMBDRIVES, 20000);
    ASSERT_NE(window, nullptr) << main.noWindow("the main window").message();
    // What the shell runs on a double click of a removal list.
    EXPECT_EQ(stringValue(HKEY_CLASSES_ROOT, "QuillonUninstall\\Shell\\Uninstall\\Command", nullptr),
              "\"" + ProgramFolder + "Quillon.exe\" \"%1\"");

    HWND combo = descendant(window, IDC_MAIN_CMBDRIVES);
    std::vector<std::string> drives;
    for (LRESULT i = 0; i < SendMessageW(combo, CB_GETCOUNT, 0, 0); ++i) {
        wchar_t text[256] = {};
        SendMessageW(combo, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
        drives.push_back(quillon::win32::utf8(text));
    }
    EXPECT_EQ(drives,
              (std::vector<std::string>{"(C:) ", "(D:) DATA", "(J:) JUNK", "(X:) SMALL", "Local hard drives (C:,D:,J:,X:)"}));
    // The drive chosen when the window closes is the one the road below works on.
    SendMessageA(combo, CB_SETCURSEL, 3, 0);
    PostMessageA(window, WM_CLOSE, 0, 0);
    ASSERT_TRUE(main.ends("the main window was closed"));
    EXPECT_EQ(stringValue(HKEY_CURRENT_USER, GeneralKey, "DriveName"), "(X:) SMALL");
}

// What an installer does: files on X: (and a work file of another run, never to be reported), a
// shared DLL counted in SharedDLLs, keys with a value, and win.ini's "mapi=1" made "mapi=NewApp".
void install(const std::string& winIniBefore) {
    for (const char* folder : {"X:\\NewApp", "X:\\NewApp\\Data", "X:\\NewApp\\Data\\Maps"})
        ASSERT_TRUE(CreateDirectoryA(folder, nullptr)) << folder;
    for (const std::string& file : {std::string("X:\\NewApp\\app.exe"), std::string("X:\\NewApp\\Data\\Maps\\world.map"),
                                    SharedDll, std::string("X:\\Docs\\manual.txt"), std::string("X:\\Apps\\Tool\\setup.qdb")})
        writeFile(file, file);
    setKey(HKEY_LOCAL_MACHINE, SharedDllsKey, SharedDll, 3);
    setKey(HKEY_CURRENT_USER, "Software\\NewApp\\Settings\\Window");
    setKey(HKEY_LOCAL_MACHINE, "Software\\NewApp\\Components");
    setKey(HKEY_CURRENT_USER, "Software\\NewApp\\Settings", "Width", 640);
    const auto at = winIniBefore.find("mapi=1\r\n");
    ASSERT_NE(at, std::string::npos) << winIniBefore;
    writeFile(WinIni, std::string(winIniBefore).replace(at, 6, "mapi=NewApp"));
}

// "\f" ends in the viewer listing the installation; every row is saved to the removal list.
void findChangesAndSaveThem() {
    const RunningProgram finder("\\f");
    HWND viewer = filledViewer(finder.id());
    ASSERT_NE(viewer, nullptr) << finder.noWindow("the viewer").message();
    EXPECT_EQ(finder.shows().find("Finding changes"), std::string::npos) << "the progress window stays up behind the viewer";
    EXPECT_EQ(listedPaths(descendant(viewer, IDC_FOUND_LVWFILESADDED)),
              (std::vector<std::string>{SharedDll, "X:\\Docs\\manual.txt", "X:\\NewApp"}));
    // Wine spells the parent "Software", Windows "SOFTWARE".
    const std::vector<std::string> keys = listedPaths(descendant(viewer, IDC_FOUND_LVWREGADDED));
    for (const std::string key : {"HKEY_CURRENT_USER\\Software\\NewApp", "HKEY_LOCAL_MACHINE\\Software\\NewApp"})
        EXPECT_TRUE(std::any_of(keys.begin(), keys.end(), [&](auto& k) { return _stricmp(k.c_str(), key.c_str()) == 0; }))
            << key;
    EXPECT_EQ(listViewRows(descendant(viewer, IDC_FOUND_LVWWININILINES), 2), (Rows{{"mapi=NewApp", "mapi=1"}}));
    ASSERT_TRUE(saveAll(finder, viewer, ListPath));
    PostMessageA(viewer, WM_CLOSE, 0, 0);
    ASSERT_TRUE(finder.ends("the viewer was closed"));

    for (const char* name : {"changes.qdb", "sysChanges.qdb", "hkcuchanges.qdb", "hklmchanges.qdb", "current.qdb",
                             "0current.qdb", "dbase.qdb", "hkcutmp.qdb", "hklmtmp.qdb"})
        EXPECT_FALSE(exists(std::string("C:\\") + name)) << name << " was left behind";
    // The first start's settings refresh the snapshot from the new scan.
    EXPECT_NE(fileText(ProgramFolder + "Xdbase.qdb").find("\r\nshared.dll\r\n"), std::string::npos);
}

// File, "Undo last removal...": Yes puts back what the uninstall took.
void undoTheUninstall() {
    const RunningProgram program("");
    HWND main = program.window("Quillon", IDC_MAIN_CMBDRIVES, 20000);
    ASSERT_NE(main, nullptr) << program.noWindow("the main window").message();
    PostMessageA(main, WM_COMMAND, IDM_MAIN_UNDO, 0);
    ASSERT_TRUE(answer(program, "Undo last removal", IDYES, "&Yes"));
    ASSERT_TRUE(answer(program, "Undo last removal", IDOK, "OK"));  // the report, which has no Yes
    PostMessageA(main, WM_CLOSE, 0, 0);
    ASSERT_TRUE(program.ends("the main window was closed"));
}

TEST(Road, SavedRemovalListTakesTheInstallationAwayAndUndoBringsItBack) {
    ASSERT_EQ(stringValue(HKEY_CURRENT_USER, GeneralKey, "DriveName"), "(X:) SMALL") << "the first start went wrong";
    setKey(HKEY_LOCAL_MACHINE, SharedDllsKey, "C:\\windows\\system32\\common.dll", 2);
    ASSERT_TRUE(CreateDirectoryA("C:\\Lists", nullptr));
    ASSERT_TRUE(updateDatabase());
    const std::string snapshot = ProgramFolder + "Xdbase.qdb";
    EXPECT_EQ(fileText(snapshot),
              // Wine keeps the volume label in a file of the drive's root: a file like any other.
              "X:\\{\r\n.windows-label\r\nroot.txt\r\n}\r\nX:\\Apps\\{\r\n}\r\nX:\\Apps\\Empty\\{\r\n}\r\n"
              "X:\\Apps\\Tool\\{\r\nreadme.txt\r\ntool.exe\r\n}\r\nX:\\Docs\\{\r\nnotes.txt\r\n}\r\n");
    EXPECT_EQ(GetFileAttributesA(snapshot.c_str()) & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_READONLY),
              static_cast<DWORD>(FILE_ATTRIBUTE_HIDDEN));
    EXPECT_FALSE(exists("C:\\dbstemp.qdb")) << "the work file was left behind";
    const std::string winIniBefore = fileText(WinIni);
    install(winIniBefore);
    if (HasFatalFailure()) return;
    findChangesAndSaveThem();
    if (HasFatalFailure()) return;

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

    // As before the installation: the installed files gone (into the Recycle Bin, as the script
    // checks), the machine's own files still there.
    for (const std::string& path : {std::string("X:\\NewApp"), SharedDll, std::string("X:\\Docs\\manual.txt")})
        EXPECT_FALSE(exists(path)) << path;
    for (const char* path : {"X:\\Apps\\Tool\\tool.exe", "X:\\Apps\\Tool\\readme.txt", "X:\\Docs\\notes.txt", "X:\\root.txt"})
        EXPECT_TRUE(exists(path)) << path;
    EXPECT_TRUE(newAppKeys().empty());
    DWORD count = 0, size = sizeof count;
    RegGetValueA(HKEY_LOCAL_MACHINE, SharedDllsKey, SharedDll.c_str(), RRF_RT_REG_DWORD, nullptr, &count, &size);
    EXPECT_EQ(count, 3u) << "SharedDLLs is never written";
    EXPECT_EQ(fileText(WinIni), winIniBefore);
    EXPECT_FALSE(exists(ListPath)) << "the uninstalled list stays";

    undoTheUninstall();
    if (HasFatalFailure()) return;
    EXPECT_EQ(newAppKeys(), installedKeys) << "the keys are not back with their values";
    EXPECT_EQ(fileText(WinIni), installedWinIni) << "win.ini did not get its line back";
    EXPECT_TRUE(exists(ListPath)) << "the uninstalled list is not back";
}

// Scan Now, then its menu's first entry: the junk scan. The totals label is emptied first: a scan
// ends by writing it again.
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
    ASSERT_TRUE(waitUntil(10000, [&] { return selectedCount(list) == static_cast<int>(found.size()); }));
    ASSERT_TRUE(press(descendant(window, IDC_CLEAN_CMDDELETE), "&Delete"));
    ASSERT_TRUE(answer(program, "Confirm file deletion", IDYES, "&Yes"));
    EXPECT_TRUE(waitUntil(20000, [&] { return rowCount(list) == 0; })) << rowCount(list) << " rows stayed";

    // Closed in the middle of a scan of the big tree: the scan stops and the main window lives on.
    ASSERT_TRUE(scanFromMenu(window));
    ASSERT_TRUE(waitUntil(10000, [&] { return IsWindowEnabled(descendant(window, IDC_CLEAN_CMDSTOP)); }));
    PostMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_TRUE(waitUntil(20000, [&] { return !IsWindow(window); })) << "the window stayed";
    EXPECT_TRUE(IsWindow(main) && IsWindowEnabled(main));
    PostMessageA(main, WM_CLOSE, 0, 0);
    EXPECT_TRUE(program.ends("the main window was closed"));
}

}  // namespace
