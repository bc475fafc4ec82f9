// Runs inside a fresh prefix (see update_database.sh): starts "Quillon.exe \u", presses OK on
// the completion display and checks the snapshot files.
#include <windows.h>

#include <gtest/gtest.h>

#include <cctype>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "platform/win32/Handles.h"

namespace {

std::string programPath;  // from the command line, before the tests run
const std::string DataFolder = "C:\\Program Files\\Quillon\\";

std::string fileText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

DWORD attributes(const std::string& path) { return GetFileAttributesA(path.c_str()); }

HWND waitForWindow(const char* title, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < timeoutMs) {
        if (HWND w = FindWindowA(nullptr, title); w && IsWindowVisible(w)) return w;
        Sleep(50);
    }
    return nullptr;
}

TEST(UpdateDatabase, UnattendedRunWritesTheSnapshotsAndEndsWithOk) {
    std::string commandLine = "\"" + programPath + "\" \\u";
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    ASSERT_TRUE(CreateProcessA(programPath.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                               &si, &pi));
    quillon::win32::KernelHandle process(pi.hProcess);
    quillon::win32::KernelHandle thread(pi.hThread);

    HWND done = waitForWindow("Scan complete", 120000);
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

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: probe <path of Quillon.exe>\n");
        return 2;
    }
    programPath = argv[1];
    return RUN_ALL_TESTS();
}
