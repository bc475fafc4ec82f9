// A key tree goes out to a .reg file and comes back whole, through Quillon and through regedit.
#include "contract/Sandbox.h"
#include "undo/KeyTreeImage.h"

namespace quillon::contract {
namespace {

using namespace std::string_literals;

// The forms easy to lose in a text file: empty values, quotes, backslashes, control bytes, long data.
struct Sample { std::string key, name; RegValue value; };
const std::vector<Sample> samples = {
    {"", "", {RegType::Sz, "the default"}}, {"", "EmptyText", {RegType::Sz, ""}}, {"", "Nul", {RegType::Sz, "a\0b"s}},
    {"", "Say \"hi\" \\ there", {RegType::Sz, "C:\\dir\\ \"quoted\" \\"}}, 
    {"", "Lines", {RegType::Sz, "one\r\ntwo\tthree"}}, {"", "Expand", {RegType::ExpandSz, "%TEMP%\\sub"}},
    {"", "EmptyExpand", {RegType::ExpandSz, ""}}, {"", "Multi", {RegType::MultiSz, "first\0second\0\0"s}},
    {"", "EmptyMulti", {RegType::MultiSz, ""}}, {"", "BlankMulti", {RegType::MultiSz, "\0"s}},
    {"", "Dword", {RegType::Dword, "\x2a\0\0\0"s}}, {"", "ShortDword", {RegType::Dword, "\x01\x02"s}},
    {"", "Qword", {RegType::Qword, "\x01\x02\x03\x04\x05\x06\x07\x80"s}}, {"", "None", {RegType::None, ""}},
    {"", "Binary", {RegType::Binary, "\0\x01\x7f\x80\xff"s}}, {"", "EmptyBinary", {RegType::Binary, ""}},
    {"", "LongBinary", {RegType::Binary, std::string(300, '\xa5')}}, 
    {"\\Nested\\Deeper", "Deep", {RegType::Sz, "deep"}}, {"", "Odd", {0x103, "\x05"s}},
    {"\\Nested\\Deeper\\Deepest", "", {RegType::Link, "\x10"s}},
    // Names and text beyond any ANSI code page: Cyrillic, Japanese, an emoji (a surrogate pair).
    {"", "Caf\u00e9", {RegType::Sz, "caf\u00e9"}}, {"", "\u0414\u043e\u043c", {RegType::Sz, "\u0434\u043e\u043c \U0001F600"}},
    {"", "\u65e5\u672c\u8a9e", {RegType::ExpandSz, "%TEMP%\\\u65e5\u672c"}},
    {"", "\U0001F600", {RegType::MultiSz, "\u0434\0\u65e5\0\0"s}}, {"", "Control", {RegType::Sz, "\u0434\r\n"}},
    {"\\\u0414\u043e\u043c \u65e5\u672c \U0001F600", "", {RegType::Sz, "\u00df"}}};

using UndoRegFileContract = ContractTest;

// Writes the samples, captures them to a file, and restores them through Quillon and regedit.
TEST_P(UndoRegFileContract, EveryValueComesBackWholeThroughQuillonAndThroughRegedit) {
    Registry& registry = *box_->registry;
    const auto capture = [&](std::vector<undo::RegKeyImage> keys = {}) {
        EXPECT_EQ(undo::captureKeyTree(registry, hkcu, box_->scratchKey, keys), Status::Ok);
        return keys;
    };
    std::unique_ptr<RegistryKey> key;
    for (const Sample& s : samples) {
        ASSERT_EQ(registry.create(hkcu, box_->scratchKey + s.key, key), Status::Ok);
        ASSERT_EQ(key->setValue(s.name, s.value), Status::Ok) << s.name;
    }
    const auto original = capture();
    ASSERT_EQ(original.size(), 5u) << "\"Nested\" among them, holding no value";

    const std::string file = box_->scratchFolder + "keys.reg";
    std::unique_ptr<TextWriter> out;
    ASSERT_EQ(box_->fs->openWrite(file, WriteMode::Create, out), Status::Ok);
    ASSERT_TRUE(succeeded(undo::writeRegFile(*out, original)) && succeeded(out->close()));
    std::unique_ptr<TextReader> in;
    std::vector<undo::RegKeyImage> read;
    ASSERT_TRUE(succeeded(box_->fs->openRead(file, in)) && undo::readRegFile(*in, read));
    EXPECT_EQ(read, original);

    ASSERT_EQ(registry.deleteTree(hkcu, box_->scratchKey), Status::Ok);
    ASSERT_EQ(undo::restoreKeys(registry, read), Status::Ok);
    EXPECT_EQ(capture(), original) << "restored by Quillon";
    ASSERT_EQ(registry.deleteTree(hkcu, box_->scratchKey), Status::Ok);
    if (box_->importRegFile(file) != Status::NotSupported) {  // the fake has no regedit
        EXPECT_EQ(capture(), original) << "imported by regedit";
    }
}

INSTANTIATE_TEST_SUITE_P(Targets, UndoRegFileContract, ::testing::ValuesIn(targets()), targetName);

}  // namespace
}  // namespace quillon::contract
