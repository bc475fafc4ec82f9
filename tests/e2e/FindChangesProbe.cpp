// Runs inside a fresh prefix (see find_changes.sh): "Quillon.exe \u", then an installation
// (files and folders on X:, a key tree in each hive, a section in win.ini), then
// "Quillon.exe \f" scanning the whole registry and refreshing the snapshots, and
// checks the changes files it leaves in the work folder.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <fstream>
#include <string>

#include "Probe.h"
#include "platform/win32/Handles.h"

namespace {

using quillon::probe::fileText;

const std::string DataFolder = "C:\\Program Files\\Quillon\\";
const std::string WorkFolder = "C:\\";
constexpr char Sep = '\x7f';

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

TEST(FindChanges, UnattendedRunWritesTheFourChangesFiles) {
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
    const bool ended = WaitForSingleObject(process.get(), 180000) == WAIT_OBJECT_0;
    if (!ended) TerminateProcess(process.get(), 1);
    ASSERT_TRUE(ended) << "the run did not end";

    EXPECT_EQ(fileText(WorkFolder + "changes.qdb"),
              "X:\\Apps\\Tool\\{\r\nplugin.dll\r\n}\r\n"
              "!X:\\NewApp\\{\r\n}\r\n");
    // autoexec.bat and config.sys do not exist here: the update switched their comparison off.
    EXPECT_EQ(fileText(WorkFolder + "sysChanges.qdb"),
              std::string("Win.ini{\r\n") + "[NewApp]" + Sep + "Start=1" + Sep + "\r\n" + " " + Sep + " " + Sep +
                  "\r\n}\r\nSystem.ini{\r\n\r\n\r\n}\r\n");

    const std::string hkcu = fileText(WorkFolder + "hkcuchanges.qdb");
    const std::string hklm = fileText(WorkFolder + "hklmchanges.qdb");
    EXPECT_TRUE(hasLine(hkcu, "Software\\NewApp")) << hkcu;
    EXPECT_FALSE(hasLine(hkcu, "Software\\NewApp\\Settings")) << "a key below a reported key";
    EXPECT_TRUE(hasLine(hklm, "Software\\NewApp")) << hklm;
    EXPECT_FALSE(hasLine(hklm, "Software\\NewApp\\Components"));
    // Wine itself may add a key or two meanwhile, never the hive.
    EXPECT_LT(std::count(hkcu.begin(), hkcu.end(), '\n'), 10) << hkcu;
    EXPECT_LT(std::count(hklm.begin(), hklm.end(), '\n'), 10) << hklm;

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
