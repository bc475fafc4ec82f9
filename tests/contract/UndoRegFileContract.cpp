// The undo record's registry file: a key tree holding every kind of value goes out to a REGEDIT4
// file and comes back whole, through Quillon's own reader and, on Windows, through regedit.
#include "contract/Sandbox.h"
#include "undo/KeyTreeImage.h"

namespace quillon::contract {
namespace {

using namespace std::string_literals;
using Keys = std::vector<undo::RegKeyImage>;

struct Sample {
    std::string key;  // below the scratch key
    std::string name;
    RegValue value;
};

// The forms easy to lose on the way through a text file: empty values, quotes, backslashes,
// line breaks and NULs in text, bytes above 0x7f, data long enough to wrap, unusual types.
std::vector<Sample> samples() {
    std::string longBinary;
    for (int i = 0; i < 300; ++i) longBinary += static_cast<char>(i * 7);
    return {{"", "", {RegType::Sz, "the default"}},
            {"", "EmptyText", {RegType::Sz, ""}},
            {"", "Say \"hi\" \\ there", {RegType::Sz, "C:\\dir\\ \"quoted\" \\"}},
            {"", "Lines", {RegType::Sz, "one\r\ntwo\tthree"}},
            {"", "Nul inside", {RegType::Sz, "a\0b"s}},
            {"", "Caf\xe9", {RegType::Sz, "caf\xe9"}},
            {"", "Expand", {RegType::ExpandSz, "%TEMP%\\sub"}},
            {"", "EmptyExpand", {RegType::ExpandSz, ""}},
            {"", "Multi", {RegType::MultiSz, "first\0second\0\0"s}},
            {"", "EmptyMulti", {RegType::MultiSz, ""}},
            {"", "BlankMulti", {RegType::MultiSz, "\0"s}},
            {"", "Dword", {RegType::Dword, "\x2a\0\0\0"s}},
            {"", "ShortDword", {RegType::Dword, "\x01\x02"s}},
            {"", "Qword", {RegType::Qword, "\x01\x02\x03\x04\x05\x06\x07\x80"s}},
            {"", "Binary", {RegType::Binary, "\0\x01\x7f\x80\xff"s}},
            {"", "EmptyBinary", {RegType::Binary, ""}},
            {"", "LongBinary", {RegType::Binary, longBinary}},
            {"", "None", {RegType::None, ""}},
            {"", "Unknown type", {0x103, "\x05"s}},
            {"\\Caf\xe9 key", "v", {RegType::Sz, "x"}},
            {"\\Nested\\Deeper", "Deep", {RegType::Sz, "deep"}},
            {"\\Nested\\Deeper\\Deepest", "Link", {RegType::Link, "\x10\x20"s}}};
}

class UndoRegFileContract : public ContractTest {
protected:
    Keys capture() {
        Keys keys;
        EXPECT_EQ(undo::captureKeyTree(*box_->registry, hkcu, box_->scratchKey, keys), Status::Ok);
        return keys;
    }
};

TEST_P(UndoRegFileContract, EveryValueComesBackWholeThroughQuillonAndThroughRegedit) {
    Registry& registry = *box_->registry;
    std::unique_ptr<RegistryKey> key;
    for (const Sample& s : samples()) {
        ASSERT_EQ(registry.create(hkcu, box_->scratchKey + s.key, key), Status::Ok);
        ASSERT_EQ(key->setValue(s.name, s.value), Status::Ok) << s.name;
    }
    for (const char* empty : {"\\Empty", "\\Nested\\Also Empty"})
        ASSERT_EQ(registry.create(hkcu, box_->scratchKey + empty, key), Status::Ok);
    key.reset();
    const Keys original = capture();
    ASSERT_EQ(original.size(), 7u);

    const std::string file = box_->scratchFolder + "keys.reg";
    std::unique_ptr<TextWriter> out;
    ASSERT_EQ(box_->fs->openWrite(file, WriteMode::Create, out), Status::Ok);
    ASSERT_EQ(undo::writeRegFile(*out, original), Status::Ok);
    ASSERT_EQ(out->close(), Status::Ok);
    out.reset();
    std::unique_ptr<TextReader> in;
    ASSERT_EQ(box_->fs->openRead(file, in), Status::Ok);
    std::string line;
    int wrapped = 0;
    while (in->readLine(line)) {
        EXPECT_LT(line.size(), 80u) << line;
        wrapped += line.ends_with(",\\");
    }
    EXPECT_GE(wrapped, 10);
    Keys read;
    ASSERT_EQ(in->seek(0), Status::Ok);
    ASSERT_TRUE(undo::readRegFile(*in, read));
    in.reset();
    EXPECT_EQ(read, original);

    ASSERT_EQ(registry.deleteTree(hkcu, box_->scratchKey), Status::Ok);
    ASSERT_EQ(undo::restoreKeys(registry, read), Status::Ok);
    EXPECT_EQ(capture(), original) << "restored by Quillon";
    ASSERT_EQ(registry.deleteTree(hkcu, box_->scratchKey), Status::Ok);
    const Status imported = box_->importRegFile(file);
    if (imported == Status::NotSupported) return;  // the fake has no regedit
    ASSERT_EQ(imported, Status::Ok);
    EXPECT_EQ(capture(), original) << "imported by regedit";
}

INSTANTIATE_TEST_SUITE_P(Targets, UndoRegFileContract, ::testing::ValuesIn(targets()), targetName);

}  // namespace
}  // namespace quillon::contract
