#include <gtest/gtest.h>

#include "support/FakeFileSystem.h"
#include "support/FakeRegistry.h"
#include "support/RegSamples.h"
#include "support/TextLines.h"
#include "undo/KeyTreeImage.h"

namespace quillon::undo {
namespace {

constexpr Hive hkcu = Hive::CurrentUser;
const std::string tree = "Software\\Undo \"Test\"";
const std::string regFile = "C:\\Undo\\keys.reg";

class UndoRegFile : public ::testing::Test {
protected:
    UndoRegFile() {
        files.addFolder("C:\\Undo");
        for (const auto& sample : fakes::sampleKeyTree())
            registry.setValue(hkcu, tree + (sample.key.empty() ? "" : "\\" + sample.key), sample.name, sample.value);
        for (const auto& empty : fakes::sampleEmptyKeys()) registry.createKey(hkcu, tree + "\\" + empty);
    }
    std::vector<RegKeyImage> capture() {
        std::vector<RegKeyImage> keys;
        EXPECT_EQ(captureKeyTree(registry, hkcu, tree, keys), Status::Ok);
        return keys;
    }
    bool read(const std::string& text, std::vector<RegKeyImage>& keys) {
        files.addFile(regFile, text);
        std::unique_ptr<TextReader> in;
        return succeeded(files.openRead(regFile, in)) && readRegFile(*in, keys);
    }

    fakes::FakeFileSystem files;
    fakes::FakeRegistry registry;
};

TEST_F(UndoRegFile, EveryValueComesBackWholeThroughTheFile) {
    const auto original = capture();
    ASSERT_EQ(original.size(), 7u);
    std::unique_ptr<TextWriter> out;
    ASSERT_EQ(files.openWrite(regFile, WriteMode::Create, out), Status::Ok);
    ASSERT_EQ(writeRegFile(*out, original), Status::Ok);
    ASSERT_EQ(out->close(), Status::Ok);
    const std::string text = *files.content(regFile);
    EXPECT_EQ(text.rfind("REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Undo \"Test\"]\r\n@=\"the default\"\r\n", 0), 0u);
    for (const char* line : {"\"Dword\"=dword:0000002a\r\n", "\"EmptyBinary\"=hex:\r\n", "\"None\"=hex(0):\r\n",
                             "\"ShortDword\"=hex(4):01,02\r\n", "\"Lines\"=hex(1):6f,6e,65,0d,0a,74,77,6f,09",
                             "\"Say \\\"hi\\\" \\\\ there\"=\"C:\\\\dir\\\\ \\\"quoted\\\" \\\\\"\r\n", ",\\\r\n  "})
        EXPECT_NE(text.find(line), std::string::npos) << line;
    for (std::size_t start = 0, end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
        EXPECT_LT(end - start, 80u) << text.substr(start, end - start);

    std::vector<RegKeyImage> read;
    std::unique_ptr<TextReader> in;
    ASSERT_EQ(files.openRead(regFile, in), Status::Ok);
    ASSERT_TRUE(readRegFile(*in, read));
    EXPECT_EQ(read, original);
    ASSERT_EQ(registry.deleteTree(hkcu, tree), Status::Ok);
    ASSERT_EQ(restoreKeys(registry, read), Status::Ok);
    EXPECT_EQ(capture(), original);
}

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
    registry.markUnopenable(hkcu, tree + "\\Nested\\Deeper");
    EXPECT_EQ(captureKeyTree(registry, hkcu, tree, keys), Status::AccessDenied);
    EXPECT_EQ(keys.size(), 5u) << "all but the unopenable key and the one below it";

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
