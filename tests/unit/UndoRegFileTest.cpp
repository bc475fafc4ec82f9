#include <gtest/gtest.h>

#include "support/FakeFileSystem.h"
#include "support/FakeRegistry.h"
#include "support/TextLines.h"
#include "undo/KeyTreeImage.h"

namespace quillon::undo {
namespace {

using Keys = std::vector<RegKeyImage>;
using namespace std::string_literals;

bool readText(const std::string& text, Keys& keys) {
    fakes::FakeFileSystem files;
    files.addFile("C:\\keys.reg", text);
    std::unique_ptr<TextReader> in;
    return succeeded(files.openRead("C:\\keys.reg", in)) && readRegFile(*in, keys);
}

TEST(UndoRegFile, ReadingTakesRegeditsLayoutAndRefusesAnythingItCannotPlace) {
    Keys keys;
    ASSERT_TRUE(readText(fakes::crlfText({"REGEDIT4", "; a comment", "", "[HKEY_CURRENT_USER\\A]", " \"b\" = hex:01,\\",
                                          "  FF ,\\", "  0a", "@ = \"x\"", "\"d\"=DWORD:41424344"}), keys));
    EXPECT_EQ(keys, (Keys{{"HKEY_CURRENT_USER\\A", {{"b", {RegType::Binary, "\x01\xff\x0a"}}, {"", {RegType::Sz, "x"}},
                                                   {"d", {RegType::Dword, "DCBA"}}}}}));
    for (const std::string bad : {"", "REGEDIT5\r\n", "REGEDIT4 x\r\n", "REGEDIT4\r\n\"a\"=\"b\"\r\n"})
        EXPECT_FALSE(readText(bad, keys)) << bad;
    for (const std::string bad : {"[-HKEY_CURRENT_USER\\A]", "[HKEY_CURRENT_USER\\A", "[]", "\"a\"=-", "\"a\"=\"open",
                                  "\"a\"=\"b\" c", "\"a\"=\"\\n\"", "a=\"b\"", "\"a\"\"b\"", "\"a\"=dword:123456789",
                                  "\"a\"=dword:", "\"a\"=hex:1,zz", "\"a\"=hex:01,", "\"a\"=hex:01,\\", "\"a\"=hex:123",
                                  "\"a\"=hex(zz):00", "\"a\"=hex(2:00", "\"a\"=str:x"})
        EXPECT_FALSE(readText(fakes::crlfText({"REGEDIT4", "[HKEY_CURRENT_USER\\A]", bad}), keys)) << bad;
}

// Writing and reading back in any script is the contract suite's round trip; older files are ANSI.
TEST(UndoRegFile, ReadsAnsiFilesAndRefusesHalfAUtf16CodeUnit) {
    Keys read;
    ASSERT_TRUE(readText(fakes::crlfText({"REGEDIT4", "[HKEY_CURRENT_USER\\Caf\xe9]", "\"\xe9\"=\"\xe9t\xe9\"",
                                          "\"x\"=hex(2):e9,00", "\"u\"=hex(2):c3,a9,00"}), read));
    EXPECT_EQ(read, (Keys{{"HKEY_CURRENT_USER\\Caf\u00e9", {{"\u00e9", {RegType::Sz, "\u00e9t\u00e9"}},
                                                           {"x", {RegType::ExpandSz, "\u00e9"}},
                                                           {"u", {RegType::ExpandSz, "\u00e9"}}}}}));
    std::string utf16 = "\xff\xfe";
    const std::string_view text = "Windows Registry Editor Version 5.00\r\n[HKEY_CURRENT_USER\\A]\r\n\"a\"=hex(2):41\r\n";
    for (const char c : text) utf16 += std::string{c, '\0'};
    EXPECT_FALSE(readText(utf16, read)) << "half a UTF-16 code unit";
}

TEST(UndoRegFile, CaptureAndRestoreGoOnAfterAFailureAndReportTheFirst) {
    fakes::FakeRegistry registry;
    registry.markUnopenable(Hive::CurrentUser, "Tree\\Closed");
    registry.setString(Hive::CurrentUser, "Tree\\Open\\Below", "v", "1");
    registry.markReadOnly(Hive::CurrentUser, "Locked");
    Keys keys;
    EXPECT_EQ(captureKeyTree(registry, Hive::CurrentUser, "Tree", keys), Status::AccessDenied);
    EXPECT_EQ(keys, (Keys{{"HKEY_CURRENT_USER\\Tree", {}}, {"HKEY_CURRENT_USER\\Tree\\Open", {}},
                          {"HKEY_CURRENT_USER\\Tree\\Open\\Below", {{"v", {RegType::Sz, "1"}}}}}));

    keys = {{"HKEY_USERS\\X", {}}, {"HKEY_CURRENT_USER\\Locked\\New", {}}, {"hkey_current_user\\Back", {{"v", {}}}}};
    EXPECT_EQ(restoreKeys(registry, keys), Status::InvalidName);
    EXPECT_EQ(registry.valueNames(Hive::CurrentUser, "Back"), std::vector<std::string>{"v"});
    EXPECT_FALSE(registry.keyExists(Hive::CurrentUser, "Locked\\New"));
}

}  // namespace
}  // namespace quillon::undo
