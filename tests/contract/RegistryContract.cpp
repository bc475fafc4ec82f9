// What the logic relies on of the registry, below a key of the test's own.
#include <algorithm>
#include <map>

#include "contract/Sandbox.h"

namespace quillon::contract {
namespace {

using namespace std::string_literals;

// Text in which a lost, doubled or moved character shows.
std::string pattern(std::size_t length) {
    std::string text;
    while (text.size() < length) text += static_cast<char>('a' + text.size() % 26);
    return text;
}

using Names = std::vector<std::string>;

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

TEST_P(RegistryContract, KeysAreMadeWithTheirParentsAndNamesIgnoreCaseButKeepTheirFirstSpelling) {
    const auto first = create("Mixed\\Case\\Deeper");
    ASSERT_EQ(first->setValue("ValueName", {RegType::Sz, "one"}), Status::Ok);
    const auto again = create("MIXED\\case\\deeper");
    ASSERT_EQ(again->setValue("VALUENAME", {RegType::Sz, "two"}), Status::Ok);
    std::unique_ptr<RegistryKey> key;
    ASSERT_EQ(open("mixed\\CASE", RegAccess::Read, key), Status::Ok);
    EXPECT_EQ(subKeys(*key), Names{"Deeper"});
    RegValue v;
    ASSERT_EQ(first->queryValue("valuename", v), Status::Ok);
    EXPECT_EQ(v.data, "two");
    EXPECT_EQ(values(*first).count("ValueName"), 1u);
    ASSERT_EQ(again->deleteValue("valueNAME"), Status::Ok);
    EXPECT_EQ(first->queryValue("ValueName", v), Status::FileNotFound);
    EXPECT_EQ(open("Mixed\\Missing\\Deeper", RegAccess::ReadWrite, key), Status::FileNotFound);
    ASSERT_EQ(registry().open(hkcu, "", RegAccess::Read, key), Status::Ok) << "an empty path opens the hive";
    EXPECT_FALSE(subKeys(*key).empty());
}

TEST_P(RegistryContract, ValuesKeepTheirTypeAndAllTheirData) {
    struct Row { std::string name; RegValue value; };
    const std::vector<Row> rows = {
        {"Dword300", {RegType::Dword, "\x2c\x01\0\0"s}},
        {"Binary", {RegType::Binary, "\0\x01\x7f\x80\xff"s}},
        {"LongBinary", {RegType::Binary, pattern(20000) + "\0\xff"s}},
        {"MultiSz", {RegType::MultiSz, "first\0second\0\0"s}},
        {"Text", {RegType::Sz, "plain text"}},
        {"EmptyText", {RegType::Sz, ""}},
        {"Text257", {RegType::Sz, pattern(257)}},
        {"Text20000", {RegType::Sz, pattern(20000)}},
        {"Expandable", {RegType::ExpandSz, "%TEMP%\\sub"}},
    };
    const auto key = create("Types");
    for (const Row& row : rows) ASSERT_EQ(key->setValue(row.name, row.value), Status::Ok) << row.name;

    const auto listed = values(*key);
    ASSERT_EQ(listed.size(), rows.size());
    for (const Row& row : rows) {
        RegValue read;
        ASSERT_EQ(key->queryValue(row.name, read), Status::Ok) << row.name;
        for (const RegValue& got : {read, listed.at(row.name)}) {
            EXPECT_EQ(got.type, row.value.type) << row.name;
            EXPECT_EQ(got.data, row.value.data) << row.name;
        }
    }
}

// Key names, value names and text are UTF-8 here and UTF-16 in the registry: nothing is lost
// either way.
TEST_P(RegistryContract, NamesAndTextInEveryScriptComeBackAsTheyWent) {
    const auto world = create("World");
    Names made;
    for (const std::string_view name : worldNames) {
        const std::string n(name);
        SCOPED_TRACE(n);
        const std::map<std::string, RegValue> set = {{"", {RegType::Sz, "default " + n}},
                                                       {n, {RegType::Sz, n + " = " + n}},
                                                       {"path", {RegType::ExpandSz, "%TEMP%\\" + n}},
                                                       {"list", {RegType::MultiSz, n + "\0" + n + n + "\0\0"s}},
                                                       {"bytes", {RegType::Binary, n}}};
        ASSERT_EQ(world->setDefaultValue(n, "first " + n), Status::Ok);
        const auto key = create("World\\" + n);
        for (const auto& [valueName, value] : set) ASSERT_EQ(key->setValue(valueName, value), Status::Ok) << valueName;
        std::unique_ptr<RegistryKey> again;
        ASSERT_EQ(open("World\\" + n, RegAccess::Read, again), Status::Ok);
        EXPECT_EQ(values(*again), set);
        RegValue read;
        ASSERT_EQ(again->queryValue(n, read), Status::Ok);
        EXPECT_EQ(read, set.at(n));
        std::string text;
        ASSERT_EQ(world->queryDefaultValue(n, text), Status::Ok);
        EXPECT_EQ(text, "default " + n);
        made.push_back(n);
    }
    Names listed = subKeys(*world);
    std::sort(listed.begin(), listed.end());
    std::sort(made.begin(), made.end());
    EXPECT_EQ(listed, made);
    for (const std::string& n : made) EXPECT_EQ(registry().deleteTree(hkcu, at("World\\" + n)), Status::Ok) << n;
    EXPECT_EQ(subKeys(*world), Names{});
}

// The longest name is made relative to its parent, by setting its default value, as the
// adapter does past 250 characters.
TEST_P(RegistryContract, SubKeysEnumerateWholeInNameOrderIgnoringCaseAndDefaultValuesMakeThem) {
    const std::string longest = pattern(255);
    const auto keys = create("Keys");
    for (const std::string name : {"zeta", "Beta", "alpha", "Gamma", "a1", "A0", "Zz", "b"}) create("Keys\\" + name);
    ASSERT_EQ(keys->setDefaultValue(longest, "x"), Status::Ok);
    ASSERT_EQ(keys->setDefaultValue("New\\Deeper", "deep"), Status::Ok);
    EXPECT_EQ(subKeys(*keys), (Names{"A0", "a1", longest, "alpha", "b", "Beta", "Gamma", "New", "zeta", "Zz"}));
    std::string text = "stale";
    ASSERT_EQ(keys->queryDefaultValue("b", text), Status::Ok);
    EXPECT_EQ(text, "") << "a default never set reads as empty";
    ASSERT_EQ(keys->queryDefaultValue("NEW\\DEEPER", text), Status::Ok);
    EXPECT_EQ(text, "deep");
    EXPECT_EQ(keys->queryDefaultValue("Missing", text), Status::FileNotFound);
}

TEST_P(RegistryContract, DeleteTreeTakesEverythingBelowAndLeavesOpenHandlesDead) {
    for (const char* path : {"Tree\\A\\B", "Tree\\C", "Sibling"})
        ASSERT_EQ(create(path)->setValue("Value", {RegType::Sz, path}), Status::Ok) << path;
    const auto doomed = create("Tree");
    ASSERT_EQ(registry().deleteTree(hkcu, at("tree")), Status::Ok);
    std::unique_ptr<RegistryKey> key;
    for (const char* gone : {"Tree", "Tree\\A\\B", "Tree\\C"})
        EXPECT_EQ(open(gone, RegAccess::Read, key), Status::FileNotFound) << gone;
    ASSERT_EQ(open("", RegAccess::Read, key), Status::Ok);
    EXPECT_EQ(subKeys(*key), Names{"Sibling"});
    EXPECT_EQ(registry().deleteTree(hkcu, at("Tree")), Status::FileNotFound);
    EXPECT_EQ(registry().deleteTree(hkcu, ""), Status::InvalidParameter) << "never a whole hive";

    RegValue v;
    std::string name;
    EXPECT_EQ(doomed->queryValue("Value", v), Status::KeyDeleted);
    EXPECT_EQ(doomed->enumSubKey(0, name), Status::KeyDeleted);
    EXPECT_EQ(doomed->setValue("Value", {RegType::Sz, "y"}), Status::KeyDeleted);
}

// Keys deeper than Wine's ANSI calls take in one piece (260 characters). The adapter
// cuts paths near 250 characters: separators at and beside that point find off-by-ones.
TEST_P(RegistryContract, DeepKeysAreMadeOpenedListedAndDeletedThroughLongPaths) {
    const auto levels = [](Names parts, int count) {
        for (int i = 0; i < count; ++i) parts.push_back("Level" + std::to_string(100 + i) + "_abcdefgh");
        return parts;
    };
    std::vector<Names> chains = {levels({}, 30), {std::string(255, 'p'), std::string(255, 'q'), "Leaf"}};
    for (const std::size_t cut : {249u, 250u, 251u})
        chains.push_back(levels({std::string(cut - at("").size() - 1, 'f')}, 12));
    for (const Names& parts : chains) {
        std::string relative = parts[0];
        for (std::size_t i = 1; i < parts.size(); ++i) relative += "\\" + parts[i];
        SCOPED_TRACE(relative.substr(0, 40));
        ASSERT_NE(create(relative), nullptr);
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
    }
}

INSTANTIATE_TEST_SUITE_P(Targets, RegistryContract, ::testing::ValuesIn(targets()), targetName);

}  // namespace
}  // namespace quillon::contract
