// The undo record's keys: .reg files read back (writing and the round trip in every script are the
// contract suite's), captured and restored.
#include <gtest/gtest.h>

#include "support/FakeFileSystem.h"
#include "support/FakeRegistry.h"
#include "support/TextLines.h"
#include "undo/KeyTreeImage.h"

namespace quillon::undo {
namespace {

using Keys = std::vector<RegKeyImage>;

bool readText(const std::string& text, Keys& keys) {
    fakes::FakeFileSystem files;
    files.addFile("C:\\keys.reg", text);
    std::unique_ptr<TextReader> in;
    return succeeded(files.openRead("C:\\keys.reg", in)) && readRegFile(*in, keys);
}

// Older records are ANSI; a UTF-16 file cut inside a code unit is refused.
TEST(UndoRegFile, ReadingTakesRegeditsLayoutAndAnsiAndRefusesAnythingItCannotPlace) {
    Keys keys;
    ASSERT_TRUE(readText(fakes::crlfText({"REGEDIT4", "; a comment", "", "[HKEY_CURRENT_USER\\Caf\xe9]",
                                          " \"b\" = hex:01,\\", "  FF ,\\", "  0a", "@ = \"\xe9t\xe9\"",
                                          "\"d\"=DWORD:41424344", "\"x\"=hex(2):e9,00"}),
                         keys));
    EXPECT_EQ(keys, (Keys{{"HKEY_CURRENT_USER\\Caf\u00e9", {{"b", {RegType::Binary, "\x01\xff\x0a"}},
                                                           {"", {RegType::Sz, "\u00e9t\u00e9"}},
                                                           {"d", {RegType::Dword, "DCBA"}},
                                                           {"x", {RegType::ExpandSz, "\u00e9"}}}}}));
    std::string utf16 = "\xff\xfe";
    const std::string_view text = "Windows Registry Editor Version 5.00\r\n[HKEY_CURRENT_USER\\A]\r\n\"a\"=hex(2):41\r\n";
    for (const char c : text) utf16 += std::string{c, '\0'};
    const std::string badFiles[] = {"", "REGEDIT5\r\n", "REGEDIT4\r\n\"a\"=\"b\"\r\n", utf16};
    for (const std::string& bad : badFiles) EXPECT_FALSE(readText(bad, keys)) << bad;
    for (const char* bad : {"[-HKEY_CURRENT_USER\\A]", "[HKEY_CURRENT_USER\\A", "\"a\"=-", "\"a\"=\"open",
                            "\"a\"=dword:123456789", "\"a\"=hex:1,zz", "\"a\"=hex:01,\\"})
        EXPECT_FALSE(readText(fakes::crlfText({"REGEDIT4", "[HKEY_CURRENT_USER\\A]", bad}), keys)) << bad;
}

// A capture that meets a key it cannot open fails, so the removal is refused; a restore goes on
// past a key it cannot make and reports it.
TEST(UndoRegFile, CaptureFailsAtAKeyItCannotOpenAndRestoreGoesOnPastOne) {
    fakes::FakeRegistry registry;
    registry.setString(Hive::CurrentUser, "Tree", "v", "1");
    registry.markUnopenable(Hive::CurrentUser, "Tree\\Closed");
    registry.markReadOnly(Hive::CurrentUser, "Locked");
    Keys keys;
    EXPECT_EQ(captureKeyTree(registry, Hive::CurrentUser, "Tree", keys), Status::AccessDenied);
    keys = {{"HKEY_USERS\\X", {}}, {"HKEY_CURRENT_USER\\Locked\\A", {}}, {"hkey_current_user\\B", {{"v", {}}}}};
    EXPECT_EQ(restoreKeys(registry, keys), Status::InvalidName);
    EXPECT_EQ(registry.valueNames(Hive::CurrentUser, "B"), std::vector<std::string>{"v"});
    EXPECT_FALSE(registry.keyExists(Hive::CurrentUser, "Locked\\A"));
}

}  // namespace
}  // namespace quillon::undo
