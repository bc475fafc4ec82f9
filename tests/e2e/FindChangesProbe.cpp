// Runs inside a fresh prefix (see find_changes.sh): "Quillon.exe \u", then an installation
// (files and folders on X:, a key tree in each hive, a section in win.ini), then
// "Quillon.exe \f" scanning the whole registry and refreshing the snapshots; checks what the
// viewer shows at the end of the run and what the run left in the data and work folders.
#include <windows.h>

#include <gtest/gtest.h>

#include <commctrl.h>

#include <algorithm>
#include <cctype>
#include <fstream>
#include <string>
#include <vector>

#include "Probe.h"
#include "app/resource.h"
#include "platform/win32/Handles.h"

namespace {

using quillon::probe::fileText;

const std::string DataFolder = "C:\\Program Files\\Quillon\\";
const std::string WorkFolder = "C:\\";

std::string upper(std::string text) {
    for (char& c : text) c = static_cast<char>(toupper(static_cast<unsigned char>(c)));
    return text;
}

bool hasLine(const std::string& text, const std::string& line) {
    return ("\r\n" + upper(text)).find("\r\n" + upper(line) + "\r\n") != std::string::npos;
}

std::string windowsFolder() {
    char path[MAX_PATH] = {};
    GetWindowsDirectoryA(path, MAX_PATH);
    return std::string(path) + "\\";
}

void writeFile(const std::string& path, const std::string& text, bool append = false) {
    std::ofstream out(path, std::ios::binary | (append ? std::ios::app : std::ios::trunc));
    out << text;
}

void createKey(HKEY hive, const char* path) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(hive, path, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr), ERROR_SUCCESS) << path;
    RegCloseKey(key);
}

// What a first run would have written (the script's own settings make this no first run).
void chooseScanning() {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Quillon\\Scanning", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                              &key, nullptr),
              ERROR_SUCCESS);
    for (const char* name : {"AutoUpdateDb", "RegScan", "RegFullScan", "WinIniScan", "SystemIniScan", "AutoexecScan",
                             "ConfigSysScan"})
        RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>("1"), 2);
    RegSetValueExA(key, "ScanMode", 0, REG_SZ, reinterpret_cast<const BYTE*>("0"), 2);
    RegCloseKey(key);
}

void install() {
    ASSERT_TRUE(CreateDirectoryA("X:\\NewApp", nullptr));
    ASSERT_TRUE(CreateDirectoryA("X:\\NewApp\\Data", nullptr));
    writeFile("X:\\NewApp\\app.exe", "MZ");
    writeFile("X:\\NewApp\\Data\\base.dat", "data");
    writeFile("X:\\Apps\\Tool\\plugin.dll", "MZ");
    writeFile("X:\\Apps\\Tool\\setup.qdb", "work file of another run");
    createKey(HKEY_CURRENT_USER, "Software\\NewApp\\Settings\\Window");
    createKey(HKEY_LOCAL_MACHINE, "Software\\NewApp\\Components");
    writeFile(windowsFolder() + "win.ini", "[NewApp]\r\nStart=1\r\n", true);
}

TEST(FindChanges, UnattendedRunEndsInTheViewerWithEveryKindOfChange) {
    chooseScanning();
    if (HasFatalFailure()) return;
    std::string failure;
    ASSERT_TRUE(quillon::probe::updateDatabase(failure)) << failure;
    install();
    if (HasFatalFailure()) return;

    const quillon::win32::KernelHandle process = quillon::probe::startProgram("\\f");
    ASSERT_TRUE(process);
    HWND progress = quillon::probe::waitForWindow(nullptr, "Finding changes...", 20000);
    EXPECT_NE(progress, nullptr) << "the progress window never appeared";
    if (progress) {
        EXPECT_NE(FindWindowExA(progress, nullptr, "Static", "Please wait. Scanning for files added or changed..."),
                  nullptr);
        EXPECT_NE(FindWindowExA(progress, nullptr, "msctls_progress32", nullptr), nullptr);
    }
    // The run ends in the viewer, which reads the changes files and deletes them.
    HWND viewer = quillon::probe::waitForWindow(nullptr, "Changes found  -Quillon", 180000);
    if (!viewer) TerminateProcess(process.get(), 1);
    ASSERT_NE(viewer, nullptr) << "the run did not end in the viewer";
    EXPECT_FALSE(IsWindowVisible(progress)) << "the progress window stays up behind the viewer";
    HWND files = quillon::probe::descendant(viewer, IDC_FOUND_LVWFILESADDED);
    HWND keys = quillon::probe::descendant(viewer, IDC_FOUND_LVWREGADDED);
    HWND winIni = quillon::probe::descendant(viewer, IDC_FOUND_LVWWININILINES);
    HWND systemIni = quillon::probe::descendant(viewer, IDC_FOUND_LVWSYSINILINES);
    HWND autoexec = quillon::probe::descendant(viewer, IDC_FOUND_LVWAUTOEXECLINES);
    ASSERT_TRUE(files && keys && winIni && systemIni && autoexec);
    // The registry list is filled last.
    for (int waited = 0; waited < 200 && SendMessageA(keys, LVM_GETITEMCOUNT, 0, 0) == 0; ++waited) Sleep(50);

    using Rows = std::vector<std::vector<std::string>>;
    Rows fileRows = quillon::probe::listViewRows(files, 4);
    for (auto& row : fileRows) row[2].clear();  // the size text: the shell's idea of a few bytes
    EXPECT_EQ(fileRows, (Rows{{"plugin.dll", "X:\\Apps\\Tool\\", "", fileRows.empty() ? "" : fileRows[0][3]},
                              {"NewApp", "X:\\", "", "Folder"}}));
    Rows keyRows = quillon::probe::listViewRows(keys, 2);
    for (auto& row : keyRows) row[1] = upper(row[1]);  // Wine spells the key "Software", Windows "SOFTWARE"
    std::sort(keyRows.begin(), keyRows.end());
    // Wine itself may add a key or two meanwhile, never the hive.
    EXPECT_LT(keyRows.size(), 10u);
    for (const Rows::value_type& key : Rows{{"NewApp", "HKEY_CURRENT_USER\\SOFTWARE\\"},
                                            {"NewApp", "HKEY_LOCAL_MACHINE\\SOFTWARE\\"}})
        EXPECT_NE(std::find(keyRows.begin(), keyRows.end(), key), keyRows.end()) << key[1] << key[0];
    for (const auto& key : keyRows) EXPECT_NE(key[0], "Settings") << "a key below a reported key";
    EXPECT_EQ(quillon::probe::listViewRows(winIni, 2), (Rows{{"[NewApp]", " "}, {"Start=1", " "}}));
    EXPECT_EQ(quillon::probe::listViewRows(systemIni, 2), Rows{});
    // autoexec.bat does not exist here: the update switched its comparison off.
    EXPECT_EQ(quillon::probe::listViewRows(autoexec, 1), (Rows{{"Scanning not enabled."}}));

    PostMessageA(viewer, WM_CLOSE, 0, 0);
    const bool ended = WaitForSingleObject(process.get(), 20000) == WAIT_OBJECT_0;
    if (!ended) TerminateProcess(process.get(), 1);
    ASSERT_TRUE(ended) << "the program did not end with the viewer";

    for (const char* name : {"changes.qdb", "sysChanges.qdb", "hkcuchanges.qdb", "hklmchanges.qdb"})
        EXPECT_EQ(GetFileAttributesA((WorkFolder + name).c_str()), INVALID_FILE_ATTRIBUTES) << name << " not consumed";
    for (const char* name : {"current.qdb", "0current.qdb", "dbase.qdb", "hkcutmp.qdb", "hklmtmp.qdb"})
        EXPECT_EQ(GetFileAttributesA((WorkFolder + name).c_str()), INVALID_FILE_ATTRIBUTES) << name << " left behind";

    // The first-run settings refresh the snapshots from the new scan.
    const std::string snapshot = fileText(DataFolder + "Xdbase.qdb");
    EXPECT_TRUE(hasLine(snapshot, "plugin.dll")) << snapshot;
    EXPECT_FALSE(hasLine(snapshot, "setup.qdb")) << "work files are never recorded";
    EXPECT_TRUE(hasLine(fileText(DataFolder + "hkcuReg.qdb"), "Software\\NewApp\\Settings\\Window"));
    EXPECT_EQ(fileText(DataFolder + "winIni.qdb"), fileText(windowsFolder() + "win.ini"));
}

}  // namespace
