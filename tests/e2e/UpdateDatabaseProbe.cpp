// Runs inside a fresh prefix (see update_database.sh): starts "Quillon.exe \u", presses OK on
// the completion display and checks the snapshot files.
#include <windows.h>

#include <gtest/gtest.h>

#include <cctype>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "Probe.h"
#include "platform/win32/Handles.h"

namespace {

const std::string DataFolder = "C:\\Program Files\\Quillon\\";

std::string fileText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

DWORD attributes(const std::string& path) { return GetFileAttributesA(path.c_str()); }

TEST(UpdateDatabase, UnattendedRunWritesTheSnapshotsAndEndsWithOk) {
    const quillon::win32::KernelHandle process = quillon::probe::startProgram("\\u");
    ASSERT_TRUE(process) << "could not start " << quillon::probe::programPath();

    HWND done = quillon::probe::waitForWindow(nullptr, "Scan complete", 120000);
    if (!done) TerminateProcess(process.get(), 1);
    ASSERT_NE(done, nullptr) << "the completion display never appeared";
    HWND ok = FindWindowExA(done, nullptr, "Button", "OK");
    ASSERT_NE(ok, nullptr);
    EXPECT_TRUE(IsWindowVisible(ok));
    EXPECT_NE(FindWindowExA(done, nullptr, "Static", "The scan database has been updated"), nullptr);
    PostMessageA(ok, BM_CLICK, 0, 0);
    ASSERT_EQ(WaitForSingleObject(process.get(), 10000), WAIT_OBJECT_0) << "the program did not end after OK";

    const std::string snapshot = DataFolder + "Xdbase.qdb";
    EXPECT_EQ(fileText(snapshot),
              // Wine keeps the volume label in a file of the drive's root: a file like any other.
              "X:\\{\r\n.windows-label\r\nroot.txt\r\n}\r\n"
              "X:\\Apps\\{\r\n}\r\n"
              "X:\\Apps\\Empty\\{\r\n}\r\n"
              "X:\\Apps\\Tool\\{\r\nreadme.txt\r\ntool.exe\r\n}\r\n"
              "X:\\Docs\\{\r\nnotes.txt\r\n}\r\n");
    EXPECT_EQ(attributes(snapshot) & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_READONLY),
              static_cast<DWORD>(FILE_ATTRIBUTE_HIDDEN));

    for (const char* name : {"hkcuReg.qdb", "hklmReg.qdb"}) {
        const std::string text = fileText(DataFolder + name);
        EXPECT_EQ(text.rfind("\r\n", 0), 0u) << name << " does not begin with the empty line";
        EXPECT_TRUE(attributes(DataFolder + name) & FILE_ATTRIBUTE_HIDDEN) << name;
    }
    // Wine spells the key "Software" where Windows has "SOFTWARE": names compare without case.
    std::string hklm = fileText(DataFolder + "hklmReg.qdb");
    for (char& c : hklm) c = static_cast<char>(toupper(static_cast<unsigned char>(c)));
    EXPECT_NE(hklm.find("\r\nSOFTWARE\r\n"), std::string::npos);
    EXPECT_EQ(hklm.find("\r\nSOFTWARE\\CLASSES"), std::string::npos);
    EXPECT_NE(hklm.find("\r\nSOFTWARE\\MICROSOFT\r\n"), std::string::npos);
    EXPECT_NE(fileText(DataFolder + "hkcuReg.qdb").find("\r\nSoftware\\Quillon\\General\r\n"), std::string::npos);
    EXPECT_EQ(attributes("C:\\dbstemp.qdb"), INVALID_FILE_ATTRIBUTES) << "the work file was left behind";
}

}  // namespace
