#include <gtest/gtest.h>

#include "support/FakeFileSystem.h"
#include "support/FakeRegistry.h"
#include "support/TextLines.h"
#include "undo/KeyTreeImage.h"

namespace quillon::undo {
namespace {

constexpr Hive hkcu = Hive::CurrentUser;
const std::string tree = "Software\\Undo \"Test\"";
const std::string regFile = "C:\\Undo\\keys.reg";

class UndoRegFile : public ::testing::Test {
protected:
    bool read(const std::string& text, std::vector<RegKeyImage>& keys) {
        files.addFile(regFile, text);
        std::unique_ptr<TextReader> in;
        return succeeded(files.openRead(regFile, in)) && readRegFile(*in, keys);
    }

    fakes::FakeFileSystem files;
    fakes::FakeRegistry registry;
};

TEST_F(UndoRegFile, ReadingTakesRegeditsLayoutAndRefusesAnythingItCannotPlace) {
    std::vector<RegKeyImage> keys;
    ASSERT_TRUE(read(fakes::crlfText({"REGEDIT4", "; exported", "", "[HKEY_CURRENT_USER\\A]", "  \"b\" = hex:01,\\",
                                      "    FF ,\\", "  0a", "@ =  \"x\"", "\"d\"=DWORD:1", "[HKEY_CURRENT_USER\\A\\B]"}),
                     keys));
    const std::vector<RegKeyImage> expected = {
        {"HKEY_CURRENT_USER\\A", {{"b", {RegType::Binary, "\x01\xff\x0a"}}, {"", {RegType::Sz, "x"}},
                                  {"d", {RegType::Dword, std::string("\x01\0\0\0", 4)}}}},
        {"HKEY_CURRENT_USER\\A\\B", {}}};
    EXPECT_EQ(keys, expected);

    for (const std::string bad : {"", "REGEDIT5\r\n", "REGEDIT4 x\r\n", "REGEDIT4\r\n\"a\"=\"b\"\r\n"})
        EXPECT_FALSE(read(bad, keys)) << bad;
    for (const std::string bad : {"[-HKEY_CURRENT_USER\\A]", "[HKEY_CURRENT_USER\\A", "[]", "\"a\"=-", "\"a\"=\"open",
                                  "\"a\"=\"b\" c", "\"a\"=\"\\n\"", "a=\"b\"", "\"a\"\"b\"", "\"a\"=dword:123456789",
                                  "\"a\"=dword:", "\"a\"=hex:1,zz", "\"a\"=hex:01,", "\"a\"=hex:01,\\", "\"a\"=hex:123",
                                  "\"a\"=hex(zz):00", "\"a\"=hex(2:00", "\"a\"=str:x"})
        EXPECT_FALSE(read(fakes::crlfText({"REGEDIT4", "[HKEY_CURRENT_USER\\A]", bad}), keys)) << bad;
}

TEST_F(UndoRegFile, CaptureAndRestoreReportTheFirstFailureAndGoOn) {
    std::vector<RegKeyImage> keys;
    EXPECT_EQ(captureKeyTree(registry, hkcu, "Software\\Missing", keys), Status::FileNotFound);
    registry.createKey(hkcu, tree + "\\Closed\\Below");
    registry.markUnopenable(hkcu, tree + "\\Closed");
    registry.setString(hkcu, tree + "\\Open\\Below", "v", "1");
    EXPECT_EQ(captureKeyTree(registry, hkcu, tree, keys), Status::AccessDenied);
    const std::string root = "HKEY_CURRENT_USER\\" + tree;
    std::vector<std::string> names;
    for (const RegKeyImage& key : keys) names.push_back(key.name);
    EXPECT_EQ(names, (std::vector<std::string>{root, root + "\\Open", root + "\\Open\\Below"}));

    registry.markReadOnly(hkcu, "Software\\Locked");
    const std::vector<RegKeyImage> restore = {{"HKEY_USERS\\X", {}},
                                              {"HKEY_CURRENT_USER\\Software\\Locked\\New", {}},
                                              {"hkey_current_user\\Software\\Back", {{"v", {RegType::Sz, "1"}}}}};
    EXPECT_EQ(restoreKeys(registry, restore), Status::InvalidName);
    EXPECT_EQ(registry.stringValue(hkcu, "Software\\Back", "v"), "1");
    EXPECT_FALSE(registry.keyExists(hkcu, "Software\\Locked\\New"));
}

}  // namespace
}  // namespace quillon::undo
