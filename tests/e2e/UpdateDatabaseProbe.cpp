// Runs inside a fresh prefix (see update_database.sh): starts "Quillon.exe \u", presses OK on
// the completion display and checks the snapshot files.
#include <windows.h>

#include <gtest/gtest.h>

#include <cctype>
#include <cstdio>
#include <string>

#include "Probe.h"
#include "platform/win32/Handles.h"

namespace {

using quillon::probe::fileText;

const std::string DataFolder = "C:\\Program Files\\Quillon\\";

DWORD attributes(const std::string& path) { return GetFileAttributesA(path.c_str()); }

TEST(UpdateDatabase, UnattendedRunWritesTheSnapshotsAndEndsWithOk) {
    std::string failure;
    ASSERT_TRUE(quillon::probe::updateDatabase(failure)) << failure;

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
