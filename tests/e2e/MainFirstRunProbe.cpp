// Runs inside a fresh prefix (see main_first_run.sh): starts the installed Quillon.exe for the
// first time and checks what it wrote and what its window shows.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Probe.h"
#include "platform/win32/Handles.h"

namespace {

std::string readString(HKEY root, const char* path, const char* name) {
    char buffer[4096];
    DWORD size = sizeof buffer;
    DWORD type = 0;
    quillon::win32::RegKey key;
    if (RegOpenKeyExA(root, path, 0, KEY_READ, key.out()) != ERROR_SUCCESS) return "<no key>";
    if (RegQueryValueExA(key.get(), name, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size) != ERROR_SUCCESS)
        return "<no value>";
    return type == REG_SZ ? std::string(buffer, size ? size - 1 : 0) : "<not a string>";
}

std::vector<std::string> comboEntries(HWND combo) {
    std::vector<std::string> entries;
    const auto count = SendMessageA(combo, CB_GETCOUNT, 0, 0);
    // The wide message: Wine hands an ANSI CB_GETLBTEXT from another process back cut after
    // its first character.
    for (LRESULT i = 0; i < count; ++i) {
        wchar_t wide[256] = {};
        SendMessageW(combo, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(wide));
        char text[512] = {};
        WideCharToMultiByte(CP_ACP, 0, wide, -1, text, sizeof text, nullptr, nullptr);
        entries.emplace_back(text);
    }
    return entries;
}

class MainFirstRun : public ::testing::Test {
protected:
    void SetUp() override {
        process_ = quillon::probe::startProgram("");
        ASSERT_TRUE(process_) << "could not start " << quillon::probe::programPath();
    }
    void TearDown() override {
        if (process_ && WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT) TerminateProcess(process_.get(), 1);
    }

    quillon::win32::KernelHandle process_;
};

TEST_F(MainFirstRun, WritesTheDefaultsAndListsTheFixedDrives) {
    HWND main = quillon::probe::waitForWindow("QuillonMainWindow", "Quillon", 20000);
    ASSERT_NE(main, nullptr) << "the main window never appeared";

    const char* general = "Software\\Quillon\\General";
    EXPECT_EQ(readString(HKEY_CURRENT_USER, general, "DefaultPath"), "C:\\Program Files\\Quillon\\");
    EXPECT_EQ(readString(HKEY_CURRENT_USER, general, "OpenSavePath"), "C:\\Program Files\\Quillon\\Uninstall logs");
    EXPECT_EQ(readString(HKEY_CURRENT_USER, general, "DriveName"), "C:\\");
    EXPECT_EQ(readString(HKEY_CURRENT_USER, "Software\\Quillon\\Scanning", "RegFullScan"), "1");
    EXPECT_EQ(readString(HKEY_CURRENT_USER, "Software\\Quillon\\Scheduler", "Weekly"), "2");
    EXPECT_EQ(readString(HKEY_CURRENT_USER, "Software\\Quillon\\Sys Clean", "Skip Zero Length"), "1");
    const std::string ignore = readString(HKEY_CURRENT_USER, "Software\\Quillon\\Scanning", "FoldersToIgnore");
    ASSERT_FALSE(ignore.empty());
    EXPECT_EQ(ignore.back(), '\x7f');
    EXPECT_EQ(ignore.rfind("C:\\windows\\Applog\\\x7f", 0), 0u) << ignore;
    EXPECT_EQ(readString(HKEY_CURRENT_USER, "Software\\Microsoft\\Windows\\CurrentVersion\\Run", "Quillon Scheduler"),
              "C:\\Program Files\\Quillon\\Quillon Scheduler.exe");
    EXPECT_EQ(readString(HKEY_CLASSES_ROOT, ".qdf", ""), "QuillonUninstall");
    EXPECT_EQ(readString(HKEY_CLASSES_ROOT, "QuillonUninstall\\Shell\\Uninstall\\Command", ""),
              "\"C:\\Program Files\\Quillon\\Quillon.exe\" \"%1\"");

    HWND combo = FindWindowExA(main, nullptr, "ComboBox", nullptr);
    ASSERT_NE(combo, nullptr);
    const std::vector<std::string> expected{"(C:) ", "(D:) DATA", "(E:) TOOLS", "Local hard drives (C:,D:,E:)"};
    EXPECT_EQ(comboEntries(combo), expected);

    // Choosing the last entry and closing stores it for the next start.
    SendMessageA(combo, CB_SETCURSEL, 3, 0);
    PostMessageA(main, WM_CLOSE, 0, 0);
    ASSERT_EQ(WaitForSingleObject(process_.get(), 10000), WAIT_OBJECT_0) << "the program did not end";
    EXPECT_EQ(readString(HKEY_CURRENT_USER, general, "DriveName"), "Local hard drives (C:,D:,E:)");
}

}  // namespace
