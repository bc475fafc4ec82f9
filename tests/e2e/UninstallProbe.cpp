// Runs inside a fresh prefix (see uninstall.sh): the whole road of one installation. "\u",
// an installation (a folder tree and loose files on X:, among them a DLL that SharedDLLs
// counts three times, a key in each hive, a changed win.ini line), "\f", then in the viewer
// Select All and Save selected into C:\Lists\NewApp.qdf; finally `Quillon.exe "C:\Lists\NewApp.qdf"`
// confirmed, the shared DLL deleted on the in-use question, and the machine checked to be as it
// was before the installation.
#include <windows.h>

#include <gtest/gtest.h>

#include <commctrl.h>
#include <shlobj.h>
#include <shlwapi.h>

#include <algorithm>
#include <cctype>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "Probe.h"
#include "app/resource.h"
#include "platform/win32/Handles.h"
#include "ui/ComScope.h"

namespace {

namespace probe = quillon::probe;
using quillon::win32::KernelHandle;
using quillon::win32::RegKey;
using Rows = std::vector<std::vector<std::string>>;
using testing::AssertionFailure;
using testing::AssertionResult;
using testing::AssertionSuccess;

const std::string ListFolder = "C:\\Lists";
const std::string ListPath = ListFolder + "\\NewApp.qdf";
const std::string SharedDll = "X:\\Apps\\Tool\\shared.dll";
const char* const SharedDllsKey = "Software\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs";
const char* const GeneralKey = "Software\\Quillon\\General";
constexpr char Separator = '\x7f';
// The file-name box of the common save dialog (cmb13; edt1 in the older layout).
constexpr int FileNameCombo = 0x47c;
constexpr int FileNameEdit = 0x480;

std::string upper(std::string text) {
    for (char& c : text) c = static_cast<char>(toupper(static_cast<unsigned char>(c)));
    return text;
}

std::string winIniPath() {
    char path[MAX_PATH] = {};
    GetWindowsDirectoryA(path, MAX_PATH);
    return std::string(path) + "\\win.ini";
}

bool exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

bool keyExists(HKEY hive, const char* path) {
    RegKey key;
    return RegOpenKeyExA(hive, path, 0, KEY_READ, key.out()) == ERROR_SUCCESS;
}

std::optional<std::string> stringValue(HKEY hive, const char* path, const char* name) {
    char data[4096] = {};
    DWORD size = sizeof data - 1;
    if (RegGetValueA(hive, path, name, RRF_RT_REG_SZ, nullptr, data, &size) != ERROR_SUCCESS) return std::nullopt;
    return std::string(data);
}

std::optional<DWORD> dwordValue(HKEY hive, const char* path, const char* name) {
    DWORD data = 0;
    DWORD size = sizeof data;
    if (RegGetValueA(hive, path, name, RRF_RT_REG_DWORD, nullptr, &data, &size) != ERROR_SUCCESS) return std::nullopt;
    return data;
}

void writeFile(const std::string& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
}

void createKey(HKEY hive, const char* path, RegKey& key) {
    ASSERT_EQ(RegCreateKeyExA(hive, path, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, key.out(), nullptr), ERROR_SUCCESS)
        << path;
}

void createKey(HKEY hive, const char* path) {
    RegKey key;
    createKey(hive, path, key);
}

void setDword(HKEY hive, const char* path, const std::string& name, DWORD value) {
    RegKey key;
    createKey(hive, path, key);
    if (!key) return;
    ASSERT_EQ(RegSetValueExA(key.get(), name.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value),
              ERROR_SUCCESS);
}

// The program started with the arguments; ended by force when the test leaves it running.
class RunningProgram {
public:
    explicit RunningProgram(std::string_view arguments) : process_(probe::startProgram(arguments)) {}
    ~RunningProgram() {
        if (process_ && !probe::waitForEnd(process_.get(), 0)) TerminateProcess(process_.get(), 1);
    }
    RunningProgram(const RunningProgram&) = delete;
    RunningProgram& operator=(const RunningProgram&) = delete;

    bool started() const { return static_cast<bool>(process_); }
    DWORD id() const { return GetProcessId(process_.get()); }
    HWND waitForWindow(const char* title, int controlId, DWORD timeoutMs) const {
        return probe::waitForProcessWindow(id(), title, controlId, timeoutMs);
    }
    AssertionResult ends(const char* after) const {
        if (probe::waitForEnd(process_.get(), 20000)) return AssertionSuccess();
        return AssertionFailure() << "the program did not end after " << after << "; it shows:\n"
                                  << probe::describeProcessWindows(id());
    }
    AssertionResult noWindow(const char* what) const {
        return AssertionFailure() << what << " never appeared; the program shows:\n" << probe::describeProcessWindows(id());
    }

private:
    KernelHandle process_;
};

AssertionResult press(HWND button, const char* caption) {
    if (!button || !IsWindowVisible(button)) return AssertionFailure() << "no visible button " << caption;
    if (probe::windowText(button) != caption)
        return AssertionFailure() << "the button reads \"" << probe::windowText(button) << "\", not " << caption;
    PostMessageA(button, BM_CLICK, 0, 0);
    return AssertionSuccess();
}

// Waits for the message box, checks its text and presses the button `answer`.
AssertionResult answerMessage(const RunningProgram& program, const char* title, const std::string& text, int answer,
                              const char* caption) {
    HWND box = program.waitForWindow(title, 0, 60000);
    if (!box) return program.noWindow(title);
    if (!FindWindowExA(box, nullptr, "Static", text.c_str()))
        return AssertionFailure() << title << " does not read \"" << text << "\":\n"
                                  << probe::describeProcessWindows(program.id());
    return press(GetDlgItem(box, answer), caption);
}

// A COM interface, released when it goes.
template <typename T>
struct ComTraits {
    static T* empty() noexcept { return nullptr; }
    static void close(T* p) noexcept { p->Release(); }
};
template <typename T>
using ComPtr = quillon::win32::UniqueHandle<T*, ComTraits<T>>;

// The names of the files and folders in the Recycle Bin, as the shell shows them.
std::vector<std::string> recycleBinNames() {
    std::vector<std::string> names;
    const quillon::ui::ComScope com;
    ComPtr<IShellFolder> desktop;
    quillon::win32::CoTaskMemPtr<ITEMIDLIST> binId;
    ComPtr<IShellFolder> bin;
    ComPtr<IEnumIDList> items;
    if (FAILED(SHGetDesktopFolder(desktop.out())) ||
        FAILED(SHGetSpecialFolderLocation(nullptr, CSIDL_BITBUCKET, binId.out())) ||
        FAILED(desktop.get()->BindToObject(binId.get(), nullptr, IID_IShellFolder, reinterpret_cast<void**>(bin.out()))) ||
        bin.get()->EnumObjects(nullptr, SHCONTF_FOLDERS | SHCONTF_NONFOLDERS | SHCONTF_INCLUDEHIDDEN, items.out()) != S_OK)
        return names;
    quillon::win32::CoTaskMemPtr<ITEMIDLIST> item;
    while (items.get()->Next(1, item.out(), nullptr) == S_OK) {
        STRRET name{};
        char text[MAX_PATH] = {};
        if (SUCCEEDED(bin.get()->GetDisplayNameOf(item.get(), SHGDN_INFOLDER, &name)) &&
            SUCCEEDED(StrRetToBufA(&name, item.get(), text, MAX_PATH)))
            names.emplace_back(text);
    }
    return names;
}

// Settings a first run would have written, a machine that already counts one shared DLL, and
// the folder the removal list goes to.
void prepareMachine() {
    RegKey scanning;
    createKey(HKEY_CURRENT_USER, "Software\\Quillon\\Scanning", scanning);
    if (!scanning) return;
    for (const char* name : {"AutoUpdateDb", "RegScan", "RegFullScan", "WinIniScan", "SystemIniScan", "AutoexecScan",
                             "ConfigSysScan"})
        RegSetValueExA(scanning.get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>("1"), 2);
    RegSetValueExA(scanning.get(), "ScanMode", 0, REG_SZ, reinterpret_cast<const BYTE*>("0"), 2);
    setDword(HKEY_LOCAL_MACHINE, SharedDllsKey, "C:\\windows\\system32\\common.dll", 2);
    ASSERT_TRUE(CreateDirectoryA(ListFolder.c_str(), nullptr));
}

// What an installer does; win.ini had "mapi=1", which becomes "mapi=NewApp".
void install(const std::string& winIniBefore) {
    ASSERT_TRUE(CreateDirectoryA("X:\\NewApp", nullptr));
    ASSERT_TRUE(CreateDirectoryA("X:\\NewApp\\Data", nullptr));
    ASSERT_TRUE(CreateDirectoryA("X:\\NewApp\\Data\\Maps", nullptr));
    writeFile("X:\\NewApp\\app.exe", "MZ");
    writeFile("X:\\NewApp\\Data\\base.dat", "data");
    writeFile("X:\\NewApp\\Data\\Maps\\world.map", "map");
    writeFile(SharedDll, "MZ shared");
    writeFile("X:\\Docs\\manual.txt", "how to");
    setDword(HKEY_LOCAL_MACHINE, SharedDllsKey, SharedDll, 3);
    createKey(HKEY_CURRENT_USER, "Software\\NewApp\\Settings\\Window");
    createKey(HKEY_LOCAL_MACHINE, "Software\\NewApp\\Components");
    const auto at = winIniBefore.find("mapi=1\r\n");
    ASSERT_NE(at, std::string::npos) << winIniBefore;
    std::string changed = winIniBefore;
    changed.replace(at, 6, "mapi=NewApp");
    writeFile(winIniPath(), changed);
}

// Every list of the viewer, once the registry list (filled last) has rows.
struct ViewerLists {
    HWND files, keys, winIni, systemIni, autoexec, configSys;
};

ViewerLists viewerLists(HWND viewer) {
    ViewerLists lists{probe::descendant(viewer, IDC_FOUND_LVWFILESADDED), probe::descendant(viewer, IDC_FOUND_LVWREGADDED),
                      probe::descendant(viewer, IDC_FOUND_LVWWININILINES), probe::descendant(viewer, IDC_FOUND_LVWSYSINILINES),
                      probe::descendant(viewer, IDC_FOUND_LVWAUTOEXECLINES),
                      probe::descendant(viewer, IDC_FOUND_LVWCONFIGSYSLINES)};
    for (int waited = 0; waited < 200 && lists.keys && SendMessageA(lists.keys, LVM_GETITEMCOUNT, 0, 0) == 0; ++waited)
        Sleep(50);
    return lists;
}

int rowCount(HWND list) { return static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0)); }
int selectedCount(HWND list) { return static_cast<int>(SendMessageA(list, LVM_GETSELECTEDCOUNT, 0, 0)); }

void expectFoundInstallation(const ViewerLists& lists) {
    Rows files = probe::listViewRows(lists.files, 2);
    std::sort(files.begin(), files.end());
    EXPECT_EQ(files, (Rows{{"NewApp", "X:\\"}, {"manual.txt", "X:\\Docs\\"}, {"shared.dll", "X:\\Apps\\Tool\\"}}));
    Rows keys = probe::listViewRows(lists.keys, 2);
    for (auto& row : keys) row[1] = upper(row[1]);  // Wine spells the key "Software", Windows "SOFTWARE"
    for (const Rows::value_type& key : Rows{{"NewApp", "HKEY_CURRENT_USER\\SOFTWARE\\"},
                                            {"NewApp", "HKEY_LOCAL_MACHINE\\SOFTWARE\\"}})
        EXPECT_NE(std::find(keys.begin(), keys.end(), key), keys.end()) << key[1] << key[0];
    EXPECT_EQ(probe::listViewRows(lists.winIni, 2), (Rows{{"mapi=NewApp", "mapi=1"}}));
    EXPECT_EQ(rowCount(lists.systemIni), 0);
}

AssertionResult selectAll(HWND viewer, const ViewerLists& lists) {
    HWND button = probe::descendant(viewer, IDC_FOUND_CMDSELECTALL);
    if (!button || probe::windowText(button) != "Select &All") return AssertionFailure() << "no Select All button";
    DWORD_PTR ignored = 0;
    if (!SendMessageTimeoutA(button, BM_CLICK, 0, 0, SMTO_NORMAL, 20000, &ignored))
        return AssertionFailure() << "Select All did not return";
    // Every row but the placeholders of the lists that were not compared.
    for (HWND list : {lists.files, lists.keys, lists.winIni})
        if (selectedCount(list) != rowCount(list) || rowCount(list) == 0)
            return AssertionFailure() << selectedCount(list) << " of " << rowCount(list) << " rows selected in list "
                                      << GetDlgCtrlID(list);
    for (HWND list : {lists.systemIni, lists.autoexec, lists.configSys})
        if (selectedCount(list) != 0) return AssertionFailure() << "a placeholder selected in list " << GetDlgCtrlID(list);
    return AssertionSuccess();
}

// The common save dialog of the program: the list's path typed into its file-name box, then Save.
AssertionResult saveRemovalList(const RunningProgram& program, HWND viewer) {
    if (AssertionResult pressed = press(probe::descendant(viewer, IDC_FOUND_CMDSAVE), "&Save selected"); !pressed)
        return pressed;
    HWND dialog = program.waitForWindow(nullptr, FileNameCombo, 30000);
    if (!dialog) dialog = program.waitForWindow(nullptr, FileNameEdit, 1000);
    if (!dialog) return program.noWindow("the save dialog");
    // Its own controls only: the shell's file list inside it has a child numbered IDOK too.
    HWND name = GetDlgItem(dialog, FileNameCombo);
    if (!name) name = GetDlgItem(dialog, FileNameEdit);
    DWORD_PTR ignored = 0;
    SendMessageTimeoutA(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(ListPath.c_str()), SMTO_NORMAL, 5000, &ignored);
    if (probe::windowText(name) != ListPath)
        return AssertionFailure() << "the file name box reads " << probe::windowText(name);
    if (AssertionResult pressed = press(GetDlgItem(dialog, IDOK), "&Save"); !pressed) return pressed;
    for (int waited = 0; waited < 400 && (IsWindow(dialog) || !exists(ListPath)); ++waited) Sleep(50);
    if (IsWindow(dialog)) return AssertionFailure() << "the save dialog stays open:\n" << probe::describeProcessWindows(program.id());
    // The viewer answers again once the save handler has returned, the file closed.
    if (!SendMessageTimeoutA(viewer, WM_NULL, 0, 0, SMTO_NORMAL, 20000, &ignored))
        return AssertionFailure() << "the viewer does not answer after the save";
    if (!exists(ListPath)) return AssertionFailure() << ListPath << " was not written";
    return AssertionSuccess();
}

// The list as the rows shown in the viewer say it must be: every row was selected.
std::string expectedRemovalList(const ViewerLists& lists) {
    std::string text = "Files{\r\n";
    for (const auto& row : probe::listViewRows(lists.files, 2)) text += row[1] + row[0] + "\r\n";
    text += "}\r\nRegistry{\r\n";
    for (const auto& row : probe::listViewRows(lists.keys, 2)) text += row[1] + row[0] + "\r\n";
    text += "}\r\nWin.ini{\r\n";
    for (const auto& row : probe::listViewRows(lists.winIni, 2))
        text += row[0] + Separator + row[1] + Separator + "\r\n";
    return text + "}\r\nSystem.ini{\r\n}\r\nAutoexec.bat{\r\n}\r\nConfig.sys{\r\n}\r\n";
}

TEST(Uninstall, SavedRemovalListTakesTheInstallationAwayAgain) {
    prepareMachine();
    if (HasFatalFailure()) return;
    std::string failure;
    ASSERT_TRUE(probe::updateDatabase(failure)) << failure;
    const std::string winIniBefore = probe::fileText(winIniPath());
    install(winIniBefore);
    if (HasFatalFailure()) return;

    {
        const RunningProgram finder("\\f");
        ASSERT_TRUE(finder.started());
        HWND viewer = finder.waitForWindow("Changes found  -Quillon", 0, 180000);
        ASSERT_NE(viewer, nullptr) << finder.noWindow("the viewer").message();
        const ViewerLists lists = viewerLists(viewer);
        ASSERT_TRUE(lists.files && lists.keys && lists.winIni && lists.systemIni && lists.autoexec && lists.configSys);
        expectFoundInstallation(lists);
        ASSERT_TRUE(selectAll(viewer, lists));
        ASSERT_TRUE(saveRemovalList(finder, viewer));

        const std::string saved = probe::fileText(ListPath);
        EXPECT_EQ(saved, expectedRemovalList(lists));
        EXPECT_NE(saved.find("\r\nX:\\NewApp\r\n"), std::string::npos) << "the folder is one entry, without \\";
        EXPECT_NE(saved.find("\r\n" + SharedDll + "\r\n"), std::string::npos);
        EXPECT_NE(upper(saved).find("\r\nHKEY_CURRENT_USER\\SOFTWARE\\NEWAPP\r\n"), std::string::npos);
        EXPECT_NE(upper(saved).find("\r\nHKEY_LOCAL_MACHINE\\SOFTWARE\\NEWAPP\r\n"), std::string::npos);
        EXPECT_EQ(stringValue(HKEY_CURRENT_USER, GeneralKey, "SavedForDeletion"), ListPath + Separator);
        EXPECT_EQ(stringValue(HKEY_CURRENT_USER, GeneralKey, "OpenSavePath"), ListFolder);

        PostMessageA(viewer, WM_CLOSE, 0, 0);
        ASSERT_TRUE(finder.ends("the viewer was closed"));
    }
    EXPECT_TRUE(exists(ListPath)) << "closing the viewer after a find-changes run touches no list";

    {
        const RunningProgram uninstaller("\"" + ListPath + "\"");
        ASSERT_TRUE(uninstaller.started());
        ASSERT_TRUE(answerMessage(uninstaller, "Confirm Quillon Uninstall",
                                  "Are you sure you want to remove NewApp and and all of its components?", IDYES, "&Yes"));
        HWND prompt = uninstaller.waitForWindow("DLL file in use", 0, 60000);
        ASSERT_NE(prompt, nullptr) << uninstaller.noWindow("the in-use question").message();
        const std::string question =
            "The DLL file " + SharedDll + " may be in use by other applications. Delete it?";
        EXPECT_NE(probe::childWithText(prompt, nullptr, question.c_str()), nullptr)
            << probe::describeProcessWindows(uninstaller.id());
        EXPECT_NE(probe::childWithText(prompt, "Button", "Delete &All"), nullptr);
        EXPECT_NE(probe::childWithText(prompt, "Button", "&Skip"), nullptr);
        ASSERT_TRUE(press(probe::childWithText(prompt, "Button", "&Delete"), "&Delete"));
        ASSERT_TRUE(answerMessage(uninstaller, "Quillon Uninstall complete", "NewApp has been uninstalled.", IDOK, "OK"));
        ASSERT_TRUE(uninstaller.ends("the completion message"));
    }

    // As before the installation: the installed files gone into the Recycle Bin, the
    // machine's own files still there.
    for (const std::string& path : {std::string("X:\\NewApp"), SharedDll, std::string("X:\\Docs\\manual.txt")})
        EXPECT_FALSE(exists(path)) << path;
    for (const char* path : {"X:\\Apps\\Tool\\tool.exe", "X:\\Apps\\Tool\\readme.txt", "X:\\Docs\\notes.txt", "X:\\root.txt"})
        EXPECT_TRUE(exists(path)) << path;
    const std::vector<std::string> binned = recycleBinNames();
    for (const char* name : {"NewApp", "shared.dll", "manual.txt"})
        EXPECT_NE(std::find(binned.begin(), binned.end(), name), binned.end()) << name << " is not in the Recycle Bin";

    EXPECT_FALSE(keyExists(HKEY_CURRENT_USER, "Software\\NewApp"));
    EXPECT_FALSE(keyExists(HKEY_LOCAL_MACHINE, "Software\\NewApp"));
    EXPECT_TRUE(keyExists(HKEY_CURRENT_USER, "Software\\Quillon\\General"));
    EXPECT_EQ(dwordValue(HKEY_LOCAL_MACHINE, SharedDllsKey, SharedDll.c_str()), 3u) << "SharedDLLs is never written";

    EXPECT_EQ(probe::fileText(winIniPath()), winIniBefore);

    EXPECT_FALSE(exists(ListPath)) << "the uninstalled list stays";
    EXPECT_FALSE(exists("C:\\temp.qdf")) << "nothing failed, yet the failed-items list stays";
    EXPECT_EQ(stringValue(HKEY_CURRENT_USER, GeneralKey, "SavedForDeletion").value_or(""), "");
}

}  // namespace
