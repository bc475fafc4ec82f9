// What the logic relies on of the registry, below a key of the test's own, and its .reg files.
#include <map>

#include "contract/Sandbox.h"
#include "undo/KeyTreeImage.h"

namespace quillon::contract {
namespace {

using namespace std::string_literals;
using Names = std::vector<std::string>;

// Text in which a lost, doubled or moved character shows.
std::string pattern(std::size_t length) {
    std::string text;
    while (text.size() < length) text += static_cast<char>('a' + text.size() % 26);
    return text;
}

class RegistryContract : public ContractTest {
protected:
    Registry& registry() { return *box_->registry; }
    std::string at(std::string_view relative) const {
        return relative.empty() ? box_->scratchKey : box_->scratchKey + "\\" + std::string(relative);
    }
    Status open(std::string_view relative, RegAccess access, std::unique_ptr<RegistryKey>& key) {
        return registry().open(hkcu, at(relative), access, key);
    }
    std::unique_ptr<RegistryKey> create(std::string_view relative) {
        std::unique_ptr<RegistryKey> key;
        EXPECT_EQ(registry().create(hkcu, at(relative), key), Status::Ok) << relative;
        return key;
    }

    static Names subKeys(RegistryKey& key) {
        Names names;
        std::string name;
        Status s;
        for (std::uint32_t i = 0; (s = key.enumSubKey(i, name)) == Status::Ok; ++i) names.push_back(name);
        EXPECT_EQ(s, Status::NoMoreItems) << "after " << names.size() << " sub-keys";
        return names;
    }
    // Windows lists values in the order they were made, Wine and the fake by name: logic may rely on neither.
    static std::map<std::string, RegValue> values(RegistryKey& key) {
        std::map<std::string, RegValue> all;
        std::string name;
        RegValue value;
        Status s;
        for (std::uint32_t i = 0; (s = key.enumValue(i, name, value)) == Status::Ok; ++i) all[name] = value;
        EXPECT_EQ(s, Status::NoMoreItems) << "after " << all.size() << " values";
        return all;
    }
};

// Sub-keys come whole, in name order without regard to case; the longest name is made
// relative to its parent, by setting its default value, as the adapter does past 250 characters.
TEST_P(RegistryContract, NamesIgnoreCaseKeepTheirFirstSpellingAndSubKeysComeInNameOrder) {
    const auto keys = create("Keys");
    const auto again = create("KEYS");
    ASSERT_EQ(keys->setValue("ValueName", {RegType::Sz, "one"}), Status::Ok);
    ASSERT_EQ(again->setValue("VALUENAME", {RegType::Sz, "two"}), Status::Ok);
    EXPECT_EQ(values(*keys), (std::map<std::string, RegValue>{{"ValueName", {RegType::Sz, "two"}}}));
    ASSERT_EQ(again->deleteValue("valueNAME"), Status::Ok);
    EXPECT_EQ(values(*keys).size(), 0u);

    const std::string longest = pattern(255);
    for (const std::string name : {"zeta", "Beta", "alpha", "Gamma\\Deeper", "a1", "A0", "Zz", "b"})
        create("Keys\\" + name);
    ASSERT_EQ(keys->setDefaultValue(longest, "x"), Status::Ok);
    ASSERT_EQ(again->setDefaultValue("New\\Deeper", "deep"), Status::Ok);
    EXPECT_EQ(subKeys(*keys), (Names{"A0", "a1", longest, "alpha", "b", "Beta", "Gamma", "New", "zeta", "Zz"}));
    std::string text = "stale";
    ASSERT_EQ(keys->queryDefaultValue("gamma\\DEEPER", text), Status::Ok);
    EXPECT_EQ(text, "") << "a default never set reads as empty";
    ASSERT_EQ(keys->queryDefaultValue("NEW\\DEEPER", text), Status::Ok);
    EXPECT_EQ(text, "deep");
    EXPECT_EQ(keys->queryDefaultValue("Missing", text), Status::FileNotFound);
    std::unique_ptr<RegistryKey> key;
    ASSERT_EQ(registry().deleteTree(hkcu, at("KEYS\\gamma")), Status::Ok);
    EXPECT_EQ(open("Keys\\Gamma\\Deeper", RegAccess::Read, key), Status::FileNotFound);
    EXPECT_EQ(open("Keys\\Missing\\Deeper", RegAccess::ReadWrite, key), Status::FileNotFound);
    ASSERT_EQ(registry().open(hkcu, "", RegAccess::Read, key), Status::Ok) << "an empty path opens the hive";
    EXPECT_FALSE(subKeys(*key).empty());
}

// Values of every type and length come back whole, by name and listed; key names, value names
// and text in every script too (UTF-8 here, UTF-16 in the registry).
TEST_P(RegistryContract, ValuesKeepTheirTypeAndAllTheirDataAndNamesInEveryScriptComeBackAsTheyWent) {
    std::string all;
    for (const std::string_view name : worldNames) all += name;
    const std::map<std::string, RegValue> set = {
        {"Dword300", {RegType::Dword, "\x2c\x01\0\0"s}}, {"Binary", {RegType::Binary, "\0\x01\x7f\x80\xff"s}},
        {"LongBinary", {RegType::Binary, pattern(20000) + "\0\xff"s}}, {"EmptyText", {RegType::Sz, ""}},
        {"Text257", {RegType::Sz, pattern(257)}}, {"Text20000", {RegType::Sz, pattern(20000)}},
        {all, {RegType::ExpandSz, "%TEMP%\\" + all}},
        {all + " list", {RegType::MultiSz, all + "\0" + all + all + "\0\0"s}}};
    const auto world = create("World");
    ASSERT_EQ(world->setDefaultValue(all + "\\" + all, "default " + all), Status::Ok);
    const auto key = create("World\\" + all);
    for (const auto& [name, value] : set) ASSERT_EQ(key->setValue(name, value), Status::Ok) << name;
    std::unique_ptr<RegistryKey> again;
    ASSERT_EQ(open("World\\" + all, RegAccess::Read, again), Status::Ok);
    EXPECT_EQ(values(*again), set);
    for (const auto& [name, value] : set) {
        RegValue read;
        ASSERT_EQ(again->queryValue(name, read), Status::Ok) << name;
        EXPECT_EQ(read, value) << name;
    }
    std::string text;
    ASSERT_EQ(world->queryDefaultValue(all + "\\" + all, text), Status::Ok);
    EXPECT_EQ(text, "default " + all);
    EXPECT_EQ(subKeys(*again), Names{all});
    ASSERT_EQ(registry().deleteTree(hkcu, at("World\\" + all)), Status::Ok);
    EXPECT_EQ(subKeys(*world), Names{});
}

// Keys deeper than Wine's ANSI calls take in one piece (260 characters). The adapter cuts
// paths near 250 characters: separators at and beside that point find off-by-ones. A deleted
// tree takes everything below it, and a handle to it is dead.
TEST_P(RegistryContract, DeepKeysAreMadeOpenedListedAndDeletedWholeThroughLongPaths) {
    const auto levels = [](Names parts, int count) {
        for (int i = 0; i < count; ++i) parts.push_back("Level" + std::to_string(100 + i) + "_abcdefgh");
        return parts;
    };
    std::vector<Names> chains = {levels({}, 30), {std::string(255, 'p'), std::string(255, 'q'), "Leaf"}};
    for (const std::size_t cut : {249u, 250u, 251u})
        chains.push_back(levels({std::string(cut - at("").size() - 1, 'f')}, 12));
    ASSERT_NE(create("Sibling"), nullptr);
    for (const Names& parts : chains) {
        std::string relative = parts[0];
        for (std::size_t i = 1; i < parts.size(); ++i) relative += "\\" + parts[i];
        SCOPED_TRACE(relative.substr(0, 40));
        ASSERT_NE(create(relative), nullptr);
        const auto doomed = create(parts[0]);
        ASSERT_EQ(doomed->setValue("Value", {RegType::Sz, "x"}), Status::Ok);
        std::string level, name;
        std::unique_ptr<RegistryKey> key;
        for (std::size_t i = 0; i <= parts.size(); ++i) {
            ASSERT_EQ(open(level, RegAccess::Read, key), Status::Ok) << "length " << at(level).size();
            EXPECT_EQ(key->enumSubKey(0, name), i < parts.size() ? Status::Ok : Status::NoMoreItems);
            EXPECT_TRUE(i == parts.size() || name == parts[i]) << name;
            if (i < parts.size()) level += (i ? "\\" : "") + parts[i];
        }
        EXPECT_EQ(key->setValue("Refused", {RegType::Sz, "x"}), Status::AccessDenied);
        ASSERT_EQ(registry().deleteTree(hkcu, at(relative)), Status::Ok);
        EXPECT_EQ(open(relative, RegAccess::Read, key), Status::FileNotFound);
        ASSERT_EQ(registry().deleteTree(hkcu, at(parts[0])), Status::Ok);
        EXPECT_EQ(open(parts[0] + "\\" + parts[1], RegAccess::Read, key), Status::FileNotFound);
        EXPECT_EQ(registry().deleteTree(hkcu, at(parts[0])), Status::FileNotFound);
        RegValue v;
        EXPECT_EQ(doomed->queryValue("Value", v), Status::KeyDeleted);
        EXPECT_EQ(doomed->enumSubKey(0, name), Status::KeyDeleted);
        EXPECT_EQ(doomed->setValue("Value", {RegType::Sz, "y"}), Status::KeyDeleted);
    }
    std::unique_ptr<RegistryKey> key;
    ASSERT_EQ(open("", RegAccess::Read, key), Status::Ok);
    EXPECT_EQ(subKeys(*key), Names{"Sibling"});
    EXPECT_EQ(registry().deleteTree(hkcu, ""), Status::InvalidParameter) << "never a whole hive";
}

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

// A key tree goes out to a .reg file and comes back whole, through Quillon and through regedit.
TEST_P(RegistryContract, KeyTreesGoToARegFileAndComeBackWholeThroughQuillonAndThroughRegedit) {
    const auto capture = [&](std::vector<undo::RegKeyImage> keys = {}) {
        EXPECT_EQ(undo::captureKeyTree(registry(), hkcu, box_->scratchKey, keys), Status::Ok);
        return keys;
    };
    std::unique_ptr<RegistryKey> key;
    for (const Sample& s : samples) {
        ASSERT_EQ(registry().create(hkcu, box_->scratchKey + s.key, key), Status::Ok);
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

    ASSERT_EQ(registry().deleteTree(hkcu, box_->scratchKey), Status::Ok);
    ASSERT_EQ(undo::restoreKeys(registry(), read), Status::Ok);
    EXPECT_EQ(capture(), original) << "restored by Quillon";
    ASSERT_EQ(registry().deleteTree(hkcu, box_->scratchKey), Status::Ok);
    if (box_->importRegFile(file) != Status::NotSupported) {  // the fake has no regedit
        EXPECT_EQ(capture(), original) << "imported by regedit";
    }
}

INSTANTIATE_TEST_SUITE_P(Targets, RegistryContract, ::testing::ValuesIn(targets()), targetName);

}  // namespace
}  // namespace quillon::contract
