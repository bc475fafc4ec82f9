// Runs inside the fresh prefix of road.sh, in order: the first start of Quillon.exe on a new
// machine, then the whole road of one installation on the settings it left: "\u", an installation
// on X:, the registry and win.ini, "\f" ending in the viewer, the removal list saved from it, and
// `Quillon.exe "C:\Lists\NewApp.qdf"` taking it all away, the shared DLL on the in-use question,
// and "Undo last removal" putting the keys and the win.ini line back.
// Then the options dialog worked with real input on the settings the road left, and last the
// clean-up window's scans of J:, chosen through Scan Now and its menu.
#include <algorithm>
#include <cctype>
#include <map>

#include "ProbeKit.h"
#include "app/resource.h"
#include "shell/frmMainIds.h"
#include "review/frmFoundChangesIds.h"
#include "cleanup/frmSysCleanUpIds.h"
#include "options/frmOptionsIds.h"
#include "platform/win32/Win32Registry.h"
#include "undo/KeyTreeImage.h"

namespace {

using namespace quillon::e2e;

const std::string ListFolder = "C:\\Lists";
const std::string ListPath = ListFolder + "\\NewApp.qdf";
const std::string SharedDll = "X:\\Apps\\Tool\\shared.dll";
const char* const SharedDllsKey = "Software\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs";
const char* const GeneralKey = "Software\\Quillon\\General";
const std::string WinIni = "C:\\windows\\win.ini";
constexpr char Separator = '\x7f';

std::string upper(std::string text) {
    for (char& c : text) c = static_cast<char>(toupper(static_cast<unsigned char>(c)));
    return text;
}

bool hasLine(const std::string& text, const std::string& line) {
    return ("\r\n" + upper(text)).find("\r\n" + upper(line) + "\r\n") != std::string::npos;
}

std::vector<std::string> comboEntries(HWND combo) {
    std::vector<std::string> entries;
    // The wide message: Wine hands an ANSI CB_GETLBTEXT from another process back cut after
    // its first character.
    for (LRESULT i = 0; i < SendMessageA(combo, CB_GETCOUNT, 0, 0); ++i) {
        wchar_t wide[256] = {};
        SendMessageW(combo, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(wide));
        char text[512] = {};
        WideCharToMultiByte(CP_ACP, 0, wide, -1, text, sizeof text, nullptr, nullptr);
        entries.emplace_back(text);
    }
    return entries;
}

TEST(Road, FirstStartWritesTheDefaultsListsTheFixedDrivesAndKeepsTheChosenOne) {
    const RunningProgram main("");
    ASSERT_TRUE(main.started());
    HWND window = main.window("Quillon", IDC_MAIN_CMBDRIVES, 20000);
    ASSERT_NE(window, nullptr) << main.noWindow("the main window").message();

    EXPECT_EQ(stringValue(HKEY_CURRENT_USER, GeneralKey, "DefaultPath"), ProgramFolder);
    EXPECT_EQ(stringValue(HKEY_CURRENT_USER, GeneralKey, "OpenSavePath"), ProgramFolder + "Uninstall logs");
    EXPECT_EQ(stringValue(HKEY_CURRENT_USER, GeneralKey, "DriveName"), "C:\\");
    const std::string ignore = stringValue(HKEY_CURRENT_USER, "Software\\Quillon\\Scanning", "FoldersToIgnore").value_or("");
    EXPECT_EQ(ignore.rfind("C:\\windows\\Applog\\\x7f", 0), 0u) << ignore;
    EXPECT_EQ(stringValue(HKEY_CURRENT_USER, "Software\\Microsoft\\Windows\\CurrentVersion\\Run", "Quillon Scheduler"),
              ProgramFolder + "Quillon Scheduler.exe");
    EXPECT_EQ(stringValue(HKEY_CLASSES_ROOT, ".qdf", nullptr), "QuillonUninstall");
    EXPECT_EQ(stringValue(HKEY_CLASSES_ROOT, "QuillonUninstall\\Shell\\Uninstall\\Command", nullptr),
              "\"" + ProgramFolder + "Quillon.exe\" \"%1\"");

    HWND combo = descendant(window, IDC_MAIN_CMBDRIVES);
    EXPECT_EQ(comboEntries(combo),
              (std::vector<std::string>{"(C:) ", "(D:) DATA", "(J:) JUNK", "(X:) SMALL", "Local hard drives (C:,D:,J:,X:)"}));
    // The drive chosen when the window closes is the one the road below works on.
    SendMessageA(combo, CB_SETCURSEL, 3, 0);
    PostMessageA(window, WM_CLOSE, 0, 0);
    ASSERT_TRUE(main.ends("the main window was closed"));
    EXPECT_EQ(stringValue(HKEY_CURRENT_USER, GeneralKey, "DriveName"), "(X:) SMALL");
}

// "\u" unattended: the completion display answered with OK, the snapshots of X: and the registry.
void updateDatabase() {
    const RunningProgram update("\\u");
    ASSERT_TRUE(update.started());
    ASSERT_TRUE(answer(update, "Scan complete", "The scan database has been updated", IDC_UPDATE_CMDOK, "OK"));
    ASSERT_TRUE(update.ends("OK"));

    const std::string snapshot = ProgramFolder + "Xdbase.qdb";
    EXPECT_EQ(fileText(snapshot),
              // Wine keeps the volume label in a file of the drive's root: a file like any other.
              "X:\\{\r\n.windows-label\r\nroot.txt\r\n}\r\nX:\\Apps\\{\r\n}\r\nX:\\Apps\\Empty\\{\r\n}\r\n"
              "X:\\Apps\\Tool\\{\r\nreadme.txt\r\ntool.exe\r\n}\r\nX:\\Docs\\{\r\nnotes.txt\r\n}\r\n");
    EXPECT_EQ(GetFileAttributesA(snapshot.c_str()) & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_READONLY),
              static_cast<DWORD>(FILE_ATTRIBUTE_HIDDEN));
    EXPECT_EQ(fileText(ProgramFolder + "hklmReg.qdb").rfind("\r\n", 0), 0u) << "a registry snapshot begins with an empty line";
    EXPECT_FALSE(exists("C:\\dbstemp.qdb")) << "the work file was left behind";
}

// What an installer does; win.ini had "mapi=1", which becomes "mapi=NewApp".
void install(const std::string& winIniBefore) {
    for (const char* folder : {"X:\\NewApp", "X:\\NewApp\\Data", "X:\\NewApp\\Data\\Maps"})
        ASSERT_TRUE(CreateDirectoryA(folder, nullptr)) << folder;
    writeFile("X:\\NewApp\\app.exe", "MZ");
    writeFile("X:\\NewApp\\Data\\Maps\\world.map", "map");
    writeFile(SharedDll, "MZ shared");
    writeFile("X:\\Docs\\manual.txt", "how to");
    writeFile("X:\\Apps\\Tool\\setup.qdb", "a work file of another run");
    setKey(HKEY_LOCAL_MACHINE, SharedDllsKey, SharedDll, 3);
    setKey(HKEY_CURRENT_USER, "Software\\NewApp\\Settings\\Window");
    setKey(HKEY_LOCAL_MACHINE, "Software\\NewApp\\Components");
    // One value of each kind the undo record must bring back.
    const std::pair<DWORD, std::string> values[] = {{REG_SZ, std::string("X:\\NewApp\0", 10)},
                                                     {REG_EXPAND_SZ, std::string("%TEMP%\\n\0", 10)},
                                                     {REG_MULTI_SZ, std::string("a\0bc\0\0", 6)},
                                                     {REG_BINARY, std::string("\0\x01\xff", 3)},
                                                     {REG_QWORD, std::string("\x01\0\0\0\0\0\0\x80", 8)}};
    for (const auto& [type, data] : values)
        ASSERT_EQ(RegSetKeyValueA(HKEY_CURRENT_USER, "Software\\NewApp\\Settings", ("v" + std::to_string(type)).c_str(),
                                  type, data.data(), static_cast<DWORD>(data.size())),
                  ERROR_SUCCESS);
    const auto at = winIniBefore.find("mapi=1\r\n");
    ASSERT_NE(at, std::string::npos) << winIniBefore;
    writeFile(WinIni, std::string(winIniBefore).replace(at, 6, "mapi=NewApp"));
}

struct ViewerLists {
    HWND files, keys, winIni, systemIni, autoexec, configSys;
};

void expectFoundInstallation(const ViewerLists& lists) {
    Rows files = listViewRows(lists.files, 2);
    std::sort(files.begin(), files.end());
    EXPECT_EQ(files, (Rows{{"NewApp", "X:\\"}, {"manual.txt", "X:\\Docs\\"}, {"shared.dll", "X:\\Apps\\Tool\\"}}))
        << "work files are never reported";
    Rows keys = listViewRows(lists.keys, 2);
    for (auto& row : keys) row[1] = upper(row[1]);  // Wine spells the key "Software", Windows "SOFTWARE"
    for (const Rows::value_type& key : Rows{{"NewApp", "HKEY_CURRENT_USER\\SOFTWARE\\"},
                                            {"NewApp", "HKEY_LOCAL_MACHINE\\SOFTWARE\\"}})
        EXPECT_NE(std::find(keys.begin(), keys.end(), key), keys.end()) << key[1] << key[0];
    for (const auto& key : keys) EXPECT_NE(key[0], "Settings") << "a key below a reported key";
    EXPECT_EQ(listViewRows(lists.winIni, 2), (Rows{{"mapi=NewApp", "mapi=1"}}));
    EXPECT_EQ(rowCount(lists.systemIni), 0);
    // autoexec.bat does not exist here: the update switched its comparison off.
    EXPECT_EQ(listViewRows(lists.autoexec, 1), (Rows{{"Scanning not enabled."}}));
}

AssertionResult saveRemovalList(const RunningProgram& program, HWND viewer) {
    return saveThrough(program, viewer, descendant(viewer, IDC_FOUND_CMDSAVE), "&Save selected", ListPath);
}

// The list as the rows shown in the viewer say it must be: every row was selected.
std::string expectedRemovalList(const ViewerLists& lists) {
    std::string text = "Files{\r\n";
    for (const auto& row : listViewRows(lists.files, 2)) text += row[1] + row[0] + "\r\n";
    text += "}\r\nRegistry{\r\n";
    for (const auto& row : listViewRows(lists.keys, 2)) text += row[1] + row[0] + "\r\n";
    text += "}\r\nWin.ini{\r\n";
    for (const auto& row : listViewRows(lists.winIni, 2)) text += row[0] + Separator + row[1] + Separator + "\r\n";
    return text + "}\r\nSystem.ini{\r\n}\r\nAutoexec.bat{\r\n}\r\nConfig.sys{\r\n}\r\n";
}

// "\f" ends in the viewer; the removal list of every row is saved from it.
void findChangesAndSaveThem() {
    const RunningProgram finder("\\f");
    ASSERT_TRUE(finder.started());
    HWND viewer = finder.window("Changes found  -Quillon", 0, 180000);
    ASSERT_NE(viewer, nullptr) << finder.noWindow("the viewer").message();
    const ViewerLists lists{descendant(viewer, IDC_FOUND_LVWFILESADDED),   descendant(viewer, IDC_FOUND_LVWREGADDED),
                            descendant(viewer, IDC_FOUND_LVWWININILINES),  descendant(viewer, IDC_FOUND_LVWSYSINILINES),
                            descendant(viewer, IDC_FOUND_LVWAUTOEXECLINES), descendant(viewer, IDC_FOUND_LVWCONFIGSYSLINES)};
    ASSERT_TRUE(lists.files && lists.keys && lists.winIni && lists.systemIni && lists.autoexec && lists.configSys);
    ASSERT_TRUE(waitUntil(10000, [&] { return rowCount(lists.keys) > 0; })) << "the registry list (filled last) stays empty";
    EXPECT_EQ(finder.shows().find("Finding changes"), std::string::npos) << "the progress window stays up behind the viewer";
    expectFoundInstallation(lists);
    HWND selectAll = descendant(viewer, IDC_FOUND_CMDSELECTALL);
    DWORD_PTR ignored = 0;
    ASSERT_TRUE(SendMessageTimeoutA(selectAll, BM_CLICK, 0, 0, SMTO_NORMAL, 20000, &ignored)) << "Select All did not return";
    // Every row but the placeholders of the lists that were not compared.
    for (HWND list : {lists.files, lists.keys, lists.winIni}) EXPECT_EQ(selectedCount(list), rowCount(list)) << GetDlgCtrlID(list);
    for (HWND list : {lists.systemIni, lists.autoexec, lists.configSys}) EXPECT_EQ(selectedCount(list), 0) << GetDlgCtrlID(list);
    ASSERT_TRUE(saveRemovalList(finder, viewer));

    EXPECT_EQ(fileText(ListPath), expectedRemovalList(lists)) << "the folder is one entry, without \\";
    EXPECT_EQ(stringValue(HKEY_CURRENT_USER, GeneralKey, "SavedForDeletion"), ListPath + Separator);
    EXPECT_EQ(stringValue(HKEY_CURRENT_USER, GeneralKey, "OpenSavePath"), ListFolder);

    PostMessageA(viewer, WM_CLOSE, 0, 0);
    ASSERT_TRUE(finder.ends("the viewer was closed"));
    for (const char* name : {"changes.qdb", "sysChanges.qdb", "hkcuchanges.qdb", "hklmchanges.qdb", "current.qdb",
                             "0current.qdb", "dbase.qdb", "hkcutmp.qdb", "hklmtmp.qdb"})
        EXPECT_FALSE(exists(std::string("C:\\") + name)) << name << " was left behind";
    // The first start's settings refresh the snapshots from the new scan.
    EXPECT_TRUE(hasLine(fileText(ProgramFolder + "Xdbase.qdb"), "shared.dll"));
    EXPECT_FALSE(hasLine(fileText(ProgramFolder + "Xdbase.qdb"), "setup.qdb")) << "work files are never recorded";
    EXPECT_EQ(fileText(ProgramFolder + "winIni.qdb"), fileText(WinIni));
}

// A message box's text, read whole.
std::string boxText(HWND box) { return windowText(GetDlgItem(box, 0xFFFF)); }

// File, "Undo last removal...": the question names what the uninstall took, Yes restores it,
// and the report sends the user to the Recycle Bin for the files.
void undoTheUninstall() {
    const RunningProgram program("");
    HWND main = program.window("Quillon", IDC_MAIN_CMBDRIVES, 20000);
    ASSERT_NE(main, nullptr) << program.noWindow("the main window").message();
    PostMessageA(main, WM_COMMAND, IDM_MAIN_UNDO, 0);
    HWND question = program.window("Undo last removal", IDYES, 20000);
    ASSERT_NE(question, nullptr) << program.noWindow("the undo question").message();
    const std::string asked = boxText(question);
    for (const char* item : {"(NewApp, ", "HKEY_LOCAL_MACHINE\\Software\\NewApp", "HKEY_CURRENT_USER\\Software\\NewApp",
                             "C:\\windows\\win.ini: mapi=NewApp", "X:\\NewApp", "X:\\Docs\\manual.txt"})
        EXPECT_NE(asked.find(item), std::string::npos) << item << " is not in:\n" << asked;
    ASSERT_TRUE(press(GetDlgItem(question, IDYES), "&Yes"));
    HWND report = nullptr;
    ASSERT_TRUE(waitUntil(30000, [&] {
        report = program.window("Undo last removal", IDOK, 0);
        return report && boxText(report).starts_with("Registry keys restored");
    })) << program.shows();
    const std::string told = boxText(report);
    const auto recycled = told.find("Recycle Bin");
    ASSERT_NE(recycled, std::string::npos) << told;
    for (const std::string& path : {std::string("X:\\NewApp"), SharedDll, std::string("X:\\Docs\\manual.txt")})
        EXPECT_NE(told.find("    " + path + "\r\n", recycled), std::string::npos) << path << " is not listed in:\n" << told;
    // Wine's volatile keys that Find changes reported may not come back; the program's keys must.
    const auto failed = told.find("could not be restored");
    EXPECT_TRUE(failed == std::string::npos || told.find("NewApp", failed) == std::string::npos) << told;
    ASSERT_TRUE(press(GetDlgItem(report, IDOK), "OK"));
    PostMessageA(main, WM_CLOSE, 0, 0);
    ASSERT_TRUE(program.ends("the main window was closed"));
}

TEST(Road, SavedRemovalListTakesTheInstallationAwayAgain) {
    ASSERT_EQ(stringValue(HKEY_CURRENT_USER, GeneralKey, "DriveName"), "(X:) SMALL") << "the first start went wrong";
    setKey(HKEY_LOCAL_MACHINE, SharedDllsKey, "C:\\windows\\system32\\common.dll", 2);
    ASSERT_TRUE(CreateDirectoryA(ListFolder.c_str(), nullptr));
    updateDatabase();
    if (HasFatalFailure()) return;
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
    ASSERT_TRUE(uninstaller.started());
    ASSERT_TRUE(answer(uninstaller, "Confirm Quillon Uninstall",
                       "Are you sure you want to remove NewApp and and all of its components?", IDYES, "&Yes"));
    ASSERT_TRUE(answer(uninstaller, "DLL file in use",
                       "The DLL file " + SharedDll + " may be in use by other applications. Delete it?",
                       IDC_INUSE_CMDDELETE, "&Delete"));
    ASSERT_TRUE(answer(uninstaller, "Quillon Uninstall complete", "NewApp has been uninstalled.", IDOK, "OK"));
    ASSERT_TRUE(uninstaller.ends("the completion message"));

    // As before the installation: the installed files gone (into the Recycle Bin, as the script
    // checks), the machine's own files still there.
    for (const std::string& path : {std::string("X:\\NewApp"), SharedDll, std::string("X:\\Docs\\manual.txt")})
        EXPECT_FALSE(exists(path)) << path;
    for (const char* path : {"X:\\Apps\\Tool\\tool.exe", "X:\\Apps\\Tool\\readme.txt", "X:\\Docs\\notes.txt", "X:\\root.txt"})
        EXPECT_TRUE(exists(path)) << path;
    EXPECT_FALSE(keyExists(HKEY_CURRENT_USER, "Software\\NewApp"));
    EXPECT_FALSE(keyExists(HKEY_LOCAL_MACHINE, "Software\\NewApp"));
    EXPECT_TRUE(keyExists(HKEY_CURRENT_USER, GeneralKey));
    DWORD count = 0, size = sizeof count;
    RegGetValueA(HKEY_LOCAL_MACHINE, SharedDllsKey, SharedDll.c_str(), RRF_RT_REG_DWORD, nullptr, &count, &size);
    EXPECT_EQ(count, 3u) << "SharedDLLs is never written";
    EXPECT_EQ(fileText(WinIni), winIniBefore);
    EXPECT_FALSE(exists(ListPath)) << "the uninstalled list stays";
    EXPECT_FALSE(exists("C:\\temp.qdf")) << "nothing failed, yet the failed-items list stays";
    EXPECT_EQ(stringValue(HKEY_CURRENT_USER, GeneralKey, "SavedForDeletion").value_or(""), "");

    undoTheUninstall();
    if (HasFatalFailure()) return;
    EXPECT_EQ(newAppKeys(), installedKeys) << "the keys are not back with their values";
    EXPECT_EQ(fileText(WinIni), installedWinIni) << "win.ini did not get its line back";
    EXPECT_TRUE(exists(ListPath)) << "the uninstalled list is not back";
    EXPECT_EQ(stringValue(HKEY_CURRENT_USER, GeneralKey, "SavedForDeletion"), ListPath + Separator);
}

// Every string value of a key, by name.
std::map<std::string, std::string> values(const char* path) {
    std::map<std::string, std::string> all;
    RegKey key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, path, 0, KEY_READ, key.out()) != ERROR_SUCCESS) return all;
    char name[256];
    BYTE data[4096];
    for (DWORD i = 0;; ++i) {
        DWORD nameSize = sizeof name, dataSize = sizeof data;
        if (RegEnumValueA(key.get(), i, name, &nameSize, nullptr, nullptr, data, &dataSize) != ERROR_SUCCESS) break;
        all[name] = std::string(reinterpret_cast<char*>(data), dataSize ? dataSize - 1 : 0);
    }
    return all;
}

bool checked(HWND dialog, int id) { return SendMessageA(descendant(dialog, id), BM_GETCHECK, 0, 0) == BST_CHECKED; }

// The options dialog over the main window, opened with a click on its button.
HWND openOptions(const RunningProgram& program, HWND main) {
    // A click while a new window still settles can be lost under load; once the modal dialog
    // is up, another click on its disabled owner does nothing.
    for (int attempt = 0; attempt < 3; ++attempt) {
        click(descendant(main, IDC_MAIN_CMDOPTIONS));
        if (HWND dialog = program.window("Options -Quillon", IDC_OPT_TABOPTIONS, 8000)) return dialog;
    }
    return nullptr;
}

// Focuses the tab strip at its first tab, then moves right page by page.
AssertionResult showTab(HWND dialog, int page, int tabsId = IDC_OPT_TABOPTIONS) {
    HWND tabs = descendant(dialog, tabsId);
    RECT r{};
    GetWindowRect(tabs, &r);
    GUITHREADINFO gui{};
    gui.cbSize = sizeof gui;
    const DWORD thread = GetWindowThreadProcessId(tabs, nullptr);
    const auto focused = [&] { return GetGUIThreadInfo(thread, &gui) && gui.hwndFocus == tabs; };
    // The click brings the first page with the focus; a loaded machine can lose it on a
    // just-shown dialog: click again, as openOptions does.
    for (int tries = 0; tries < 3 && (tries == 0 || !focused()); ++tries) {
        clickAt(r.left + 15, r.top + 8);
        waitUntil(5000, focused);
    }
    if (!focused()) return AssertionFailure() << "the tabs did not take the focus for page " << page;
    keys(std::vector<WORD>(page, VK_RIGHT));
    if (!waitUntil(10000, [&] { return SendMessageA(tabs, TCM_GETCURSEL, 0, 0) == page; }))
        return AssertionFailure() << "page " << page << " did not come up";
    return AssertionSuccess();
}

AssertionResult closeWith(HWND dialog, int button) {
    click(descendant(dialog, button));
    if (waitUntil(10000, [&] { return !IsWindow(dialog); })) return AssertionSuccess();
    return AssertionFailure() << "the options dialog did not close";
}

// After the road, on the settings it left.
TEST(Road, OptionsAreWrittenOnOkAndCancelWritesNothing) {
    const char* schedulerKey = "Software\\Quillon\\Scheduler";
    const char* scanningKey = "Software\\Quillon\\Scanning";
    RegKey key;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, schedulerKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, key.out(), nullptr),
              ERROR_SUCCESS);
    for (const auto& [name, text] : {std::pair<const char*, std::string>{"WindowsToIgnore", "setup.exe\x7f" "1024\x7f"},
                                     {"WindowsToIgnoreInfo", "C:\\Setup\\\x7f" "Monday, Dec 7 2026\x7f"}})
        RegSetValueExA(key.get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                       static_cast<DWORD>(text.size() + 1));
    const RunningProgram program("");
    ASSERT_TRUE(program.started());
    HWND main = program.window("Quillon", IDC_MAIN_CMDOPTIONS, 20000);
    ASSERT_NE(main, nullptr) << program.noWindow("the main window").message();
    HWND dialog = openOptions(program, main);
    ASSERT_NE(dialog, nullptr) << program.noWindow("the options dialog").message();

    // A folder added through the folder browser, which starts at the desktop folder.
    click(descendant(dialog, IDC_OPT_CMDADD));
    HWND browser = program.window("Browse for Folder", 0, 15000);
    ASSERT_NE(browser, nullptr) << program.noWindow("the folder browser").message();
    keys({VK_RETURN});
    ASSERT_TRUE(waitUntil(10000, [&] { return !IsWindow(browser); }));
    ASSERT_TRUE(showTab(dialog, 1));
    click(descendant(dialog, IDC_OPT_OPTSCANWINONLY));
    ASSERT_TRUE(showTab(dialog, 2));
    click(descendant(dialog, IDC_OPT_CHKSCHSCANDISK));
    click(descendant(dialog, IDC_OPT_OPTWEEKLY));
    keys({VK_TAB, 'F'});  // the day box follows the option button
    HWND days = descendant(dialog, IDC_OPT_CMBDAYSOFWEEK);
    ASSERT_TRUE(waitUntil(10000, [&] { return SendMessageA(days, CB_GETCURSEL, 0, 0) == 5; })) << "Friday";
    ASSERT_TRUE(showTab(dialog, 3));
    HWND programs = descendant(dialog, IDC_OPT_LVWEXESTOIGNORE);
    RECT header{};
    GetWindowRect(reinterpret_cast<HWND>(SendMessageA(programs, LVM_GETHEADER, 0, 0)), &header);
    clickAt(header.left + 30, header.bottom + 8);
    // Real input arrives in its own time: the row must be selected before Remove is pressed.
    ASSERT_TRUE(waitUntil(10000, [&] { return selectedCount(programs) == 1; })) << "the program row was not selected";
    click(descendant(dialog, IDC_OPT_CMDREMOVEEXESETUP));
    ASSERT_TRUE(waitUntil(10000, [&] { return rowCount(programs) == 0; })) << "the row stayed";
    ASSERT_TRUE(closeWith(dialog, IDOK));

    const auto scanning = values(scanningKey);
    const auto scheduler = values(schedulerKey);
    EXPECT_EQ(scanning.at("ScanMode"), "2");
    EXPECT_NE(scanning.at("FoldersToIgnore").find("\\Desktop\\\x7f"), std::string::npos) << scanning.at("FoldersToIgnore");
    EXPECT_EQ(scheduler.at("ScanDisk"), "1");
    EXPECT_EQ(scheduler.at("Weekly"), "6");
    EXPECT_EQ(scheduler.at("WindowsToIgnore") + scheduler.at("WindowsToIgnoreInfo"), "");

    dialog = openOptions(program, main);
    ASSERT_NE(dialog, nullptr) << program.noWindow("the options dialog, again").message();
    EXPECT_TRUE(checked(dialog, IDC_OPT_OPTSCANWINONLY));
    EXPECT_TRUE(checked(dialog, IDC_OPT_CHKSCHSCANDISK));
    EXPECT_EQ(SendMessageA(descendant(dialog, IDC_OPT_CMBDAYSOFWEEK), CB_GETCURSEL, 0, 0), 5);
    // Cancel after a row removed and a box cleared.
    HWND folders = descendant(dialog, IDC_OPT_LVWFOLDERSTOIGNORE);
    const int rows = rowCount(folders);
    RECT list{};
    GetWindowRect(folders, &list);
    clickAt(list.left + 60, list.top + 8);
    ASSERT_TRUE(waitUntil(10000, [&] { return selectedCount(folders) == 1; })) << "the folder row was not selected";
    click(descendant(dialog, IDC_OPT_CMDREMOVE));
    ASSERT_TRUE(waitUntil(10000, [&] { return rowCount(folders) == rows - 1; })) << "the folder row stayed";
    ASSERT_TRUE(showTab(dialog, 2));
    click(descendant(dialog, IDC_OPT_CHKSCHSCANDISK));
    ASSERT_TRUE(waitUntil(10000, [&] { return !checked(dialog, IDC_OPT_CHKSCHSCANDISK); }));
    ASSERT_TRUE(closeWith(dialog, IDCANCEL));
    EXPECT_EQ(values(scanningKey), scanning);
    EXPECT_EQ(values(schedulerKey), scheduler);
}

// A click where the pointer is now.
bool clickHere() {
    INPUT move{}, down{}, up{};
    move.type = down.type = up.type = INPUT_MOUSE;
    move.mi.dwFlags = MOUSEEVENTF_MOVE;  // makes the entry under the pointer the menu's hot one
    down.mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    up.mi.dwFlags = MOUSEEVENTF_LEFTUP;
    return sendInput({move, down, up});
}

// Scan Now, then a click where the window moved the pointer: on the current tab's own scan. The
// totals label is emptied first: a scan ends by writing it again.
AssertionResult scanFromMenu(const RunningProgram& program, HWND window) {
    SendMessageA(descendant(window, IDC_CLEAN_LBLFILENO), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(""));
    click(descendant(window, IDC_CLEAN_CMDSCAN));
    HWND menu = nullptr;
    if (!waitUntil(10000, [&] { return (menu = FindWindowA("#32768", nullptr)) && IsWindowVisible(menu); }))
        return AssertionFailure() << "the scan menu did not open:\n" << program.shows();
    // Under load the menu can show before it takes input: click until it closes.
    for (int tries = 0; tries < 3 && IsWindowVisible(menu); ++tries) {
        clickHere();
        waitUntil(3000, [&] { return !IsWindowVisible(menu); });
    }
    if (IsWindowVisible(menu)) return AssertionFailure() << "the scan menu stays open after three clicks";
    return AssertionSuccess();
}

AssertionResult scanEnds(HWND window) {
    HWND total = descendant(window, IDC_CLEAN_LBLFILENO);
    if (waitUntil(60000, [&] { return windowText(total).rfind("Total files:", 0) == 0; })) return AssertionSuccess();
    return AssertionFailure() << "the scan did not end: \"" << windowText(total) << "\"";
}

// The clean-up window opened with a click on the main window's button.
AssertionResult openCleanUp(const RunningProgram& program, HWND& main, HWND& window) {
    if (!program.started()) return AssertionFailure() << "the program did not start";
    main = program.window("Quillon", IDC_MAIN_CMDSYSCLEANUP, 20000);
    if (!main) return program.noWindow("the main window");
    click(descendant(main, IDC_MAIN_CMDSYSCLEANUP));
    window = program.window("Quillon System Clean-up", IDC_CLEAN_CMDSCAN, 15000);
    return window ? AssertionSuccess() : program.noWindow("the clean-up window");
}

TEST(Road, CleanUpListsTheJunkOfJAndDeletesItIntoTheRecycleBin) {
    ASSERT_TRUE(setDrive("(J:) JUNK"));
    const RunningProgram program("");
    HWND main = nullptr, window = nullptr;
    ASSERT_TRUE(openCleanUp(program, main, window));

    ASSERT_TRUE(scanFromMenu(program, window));
    ASSERT_TRUE(scanEnds(window));
    HWND list = descendant(window, IDC_CLEAN_LVWSCANNEDFILES);
    std::vector<std::string> found;
    for (const auto& row : listViewRows(list, 2)) found.push_back(row[1] + row[0]);
    std::sort(found.begin(), found.end());
    EXPECT_EQ(found, (std::vector<std::string>{"J:\\Deep\\A\\B\\lost.chk", "J:\\Keep\\OLD.BAK", "J:\\chklist.001",
                                               "J:\\error.log", "J:\\old.bak", "J:\\old.tmp", "J:\\setup.lo$",
                                               "J:\\x.~mp"}));

    click(descendant(window, IDC_CLEAN_CMDSELECTALL));
    ASSERT_TRUE(waitUntil(10000, [&] { return selectedCount(list) == static_cast<int>(found.size()); }));
    click(descendant(window, IDC_CLEAN_CMDDELETE));
    HWND confirm = program.window("Confirm file deletion", 0, 15000);
    ASSERT_NE(confirm, nullptr) << program.noWindow("the shell's question").message();
    keys({VK_RETURN});
    EXPECT_TRUE(waitUntil(20000, [&] { return rowCount(list) == 0; })) << rowCount(list) << " rows stayed";

    // Closed in the middle of a scan of the big tree: the scan stops, the settings are written and
    // the main window lives on.
    RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\Quillon\\Sys Clean");
    ASSERT_TRUE(scanFromMenu(program, window));
    ASSERT_TRUE(waitUntil(10000, [&] { return IsWindowEnabled(descendant(window, IDC_CLEAN_CMDSTOP)); }));
    PostMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_TRUE(waitUntil(20000, [&] { return !IsWindow(window); })) << "the window stayed";
    EXPECT_EQ(stringValue(HKEY_CURRENT_USER, "Software\\Quillon\\Sys Clean", "Bak files"), "1");
    EXPECT_TRUE(IsWindow(main) && IsWindowEnabled(main));
    PostMessageA(main, WM_CLOSE, 0, 0);
    EXPECT_TRUE(program.ends("the main window was closed"));
}

// With the two other scans shown: the duplicates of J:\Dups and the unused library of J:\Libs.
TEST(Road, CleanUpFindsDuplicatesAndUnusedLibrariesWhenAllScansAreShown) {
    RegKey sysClean;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Quillon\\Sys Clean", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                              sysClean.out(), nullptr),
              ERROR_SUCCESS);
    RegSetValueExA(sysClean.get(), "ShowAllScans", 0, REG_SZ, reinterpret_cast<const BYTE*>("1"), 2);
    setKey(HKEY_LOCAL_MACHINE, SharedDllsKey, "J:\\Libs\\unused.dll", 0);
    setKey(HKEY_LOCAL_MACHINE, SharedDllsKey, "J:\\Libs\\used.dll", 1);
    const RunningProgram program("");
    HWND main = nullptr, window = nullptr;
    ASSERT_TRUE(openCleanUp(program, main, window));
    HWND list = descendant(window, IDC_CLEAN_LVWSCANNEDFILES);
    const auto scannedPaths = [&] {
        std::vector<std::string> paths;
        for (const auto& row : listViewRows(list, 2)) paths.push_back(upper(row[1] + row[0]));
        std::sort(paths.begin(), paths.end());
        return paths;
    };

    ASSERT_TRUE(showTab(window, 2, IDC_CLEAN_TABFILELIST));
    ASSERT_TRUE(scanFromMenu(program, window));
    ASSERT_TRUE(scanEnds(window));
    EXPECT_EQ(scannedPaths(), (std::vector<std::string>{"J:\\DUPS\\A\\X.TXT", "J:\\DUPS\\B\\X.TXT", "J:\\DUPS\\C\\X.TXT"}));

    ASSERT_TRUE(showTab(window, 3, IDC_CLEAN_TABFILELIST));
    ASSERT_TRUE(scanFromMenu(program, window));
    ASSERT_TRUE(scanEnds(window));
    const std::vector<std::string> libraries = scannedPaths();
    EXPECT_NE(std::find(libraries.begin(), libraries.end(), "J:\\LIBS\\UNUSED.DLL"), libraries.end());
    EXPECT_EQ(std::find(libraries.begin(), libraries.end(), "J:\\LIBS\\USED.DLL"), libraries.end());
    PostMessageA(main, WM_CLOSE, 0, 0);
    PostMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_TRUE(program.ends("the windows were closed"));
}

}  // namespace
