#include "contract/RegistryContract.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <string_view>
#include <vector>

#include "support/FakeRegistry.h"

#ifdef _WIN32
#include <windows.h>

#include "platform/win32/Handles.h"
#include "platform/win32/Win32Registry.h"
#endif

namespace quillon {

void PrintTo(const RegistryTarget& target, std::ostream* os) { *os << target.name; }

namespace {

using namespace std::string_literals;

constexpr Hive hkcu = Hive::CurrentUser;

class FakeSandbox final : public RegistrySandbox {
public:
    FakeSandbox() { registry_.createKey(hkcu, scratch_); }
    Registry& registry() override { return registry_; }
    const std::string& scratchKey() const override { return scratch_; }

private:
    fakes::FakeRegistry registry_;
    std::string scratch_ = "Software\\QuillonContractTests";
};

#ifdef _WIN32
// A key of this process's own below a shared parent, wiped before and after; the parent goes
// too once no other run holds a key in it.
class Win32Sandbox final : public RegistrySandbox {
public:
    Win32Sandbox() : scratch_(std::string(parent) + "\\" + std::to_string(GetCurrentProcessId())) {
        registry_.deleteTree(hkcu, scratch_);
        std::unique_ptr<RegistryKey> key;
        registry_.create(hkcu, scratch_, key);
    }
    ~Win32Sandbox() override {
        registry_.deleteTree(hkcu, scratch_);
        RegDeleteKeyA(HKEY_CURRENT_USER, parent);  // fails, as it should, while not empty
    }
    Win32Sandbox(const Win32Sandbox&) = delete;
    Win32Sandbox& operator=(const Win32Sandbox&) = delete;

    Registry& registry() override { return registry_; }
    const std::string& scratchKey() const override { return scratch_; }

private:
    static constexpr const char* parent = "Software\\QuillonContractTests";
    win32::Win32Registry registry_;
    std::string scratch_;
};
#endif

std::vector<RegistryTarget> registryTargets() {
    std::vector<RegistryTarget> targets{{"Fake", [] { return std::make_unique<FakeSandbox>(); }}};
#ifdef _WIN32
    targets.push_back({"Win32", [] { return std::make_unique<Win32Sandbox>(); }});
#endif
    return targets;
}

std::string upper(std::string_view text) {
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(),
                   [](char c) { return static_cast<char>(std::toupper(static_cast<unsigned char>(c))); });
    return out;
}

std::string pattern(std::size_t length) {
    std::string text(length, ' ');
    for (std::size_t i = 0; i < length; ++i) text[i] = static_cast<char>('a' + i % 26);
    return text;
}

class RegistryContract : public ::testing::TestWithParam<RegistryTarget> {
protected:
    void SetUp() override {
        sandbox_ = GetParam().make();
        std::unique_ptr<RegistryKey> scratch;
        ASSERT_EQ(open("", RegAccess::ReadWrite, scratch), Status::Ok) << "scratch key " << at("");
        ASSERT_TRUE(subKeys(*scratch).empty());
        ASSERT_TRUE(values(*scratch).empty());
    }

    Registry& registry() { return sandbox_->registry(); }

    // A path below the scratch key.
    std::string at(std::string_view relative) const {
        std::string path = sandbox_->scratchKey();
        if (!relative.empty()) path += "\\" + std::string(relative);
        return path;
    }

    Status open(std::string_view relative, RegAccess access, std::unique_ptr<RegistryKey>& key) {
        return registry().open(hkcu, at(relative), access, key);
    }
    Status create(std::string_view relative, std::unique_ptr<RegistryKey>& key) {
        return registry().create(hkcu, at(relative), key);
    }

    static std::vector<std::string> subKeys(RegistryKey& key) {
        std::vector<std::string> names;
        std::string name;
        Status s;
        while ((s = key.enumSubKey(static_cast<std::uint32_t>(names.size()), name)) == Status::Ok) names.push_back(name);
        EXPECT_EQ(s, Status::NoMoreItems) << "after " << names.size() << " sub-keys";
        return names;
    }

    struct NamedValue {
        std::string name;
        RegValue value;
    };
    static std::vector<NamedValue> values(RegistryKey& key) {
        std::vector<NamedValue> all;
        NamedValue next;
        Status s;
        while ((s = key.enumValue(static_cast<std::uint32_t>(all.size()), next.name, next.value)) == Status::Ok) {
            all.push_back(next);
        }
        EXPECT_EQ(s, Status::NoMoreItems) << "after " << all.size() << " values";
        return all;
    }
    static std::vector<std::string> valueNames(RegistryKey& key) {
        std::vector<std::string> names;
        for (const NamedValue& v : values(key)) names.push_back(v.name);
        return names;
    }

private:
    std::unique_ptr<RegistrySandbox> sandbox_;
};

TEST_P(RegistryContract, NamesIgnoreCaseAndKeepTheirFirstSpelling) {
    std::unique_ptr<RegistryKey> first, again, reader, parent;
    ASSERT_EQ(create("Mixed\\Case", first), Status::Ok);
    ASSERT_EQ(first->setValue("ValueName", {RegType::Sz, "one"}), Status::Ok);
    ASSERT_EQ(create("MIXED\\case", again), Status::Ok);
    ASSERT_EQ(again->setValue("VALUENAME", {RegType::Sz, "two"}), Status::Ok);

    ASSERT_EQ(registry().open(hkcu, upper(at("Mixed\\Case")), RegAccess::Read, reader), Status::Ok);
    RegValue v;
    ASSERT_EQ(reader->queryValue("valuename", v), Status::Ok);
    EXPECT_EQ(v.data, "two");
    EXPECT_EQ(valueNames(*reader), std::vector<std::string>{"ValueName"});
    ASSERT_EQ(open("mixed", RegAccess::Read, parent), Status::Ok);
    EXPECT_EQ(subKeys(*parent), std::vector<std::string>{"Case"});

    ASSERT_EQ(again->deleteValue("valueNAME"), Status::Ok);
    EXPECT_EQ(first->queryValue("ValueName", v), Status::FileNotFound);
}

TEST_P(RegistryContract, EachTypeRoundTripsAsRawData) {
    struct Row {
        const char* name;
        RegValue value;
    };
    const Row rows[] = {
        {"Dword300", {RegType::Dword, "\x2c\x01\0\0"s}},
        {"Qword", {RegType::Qword, "\x01\x02\x03\x04\x05\x06\x07\x08"s}},
        {"Binary", {RegType::Binary, "\0\x01\x7f\x80\xff"s}},
        {"OddBinary", {RegType::Binary, "\x01\x02\x03"s}},
        {"NoBytes", {RegType::Binary, ""}},
        {"MultiSz", {RegType::MultiSz, "first\0second\0\0"s}},
        {"Text", {RegType::Sz, "plain text"}},
        {"EmptyText", {RegType::Sz, ""}},
        {"Expandable", {RegType::ExpandSz, "%TEMP%\\sub"}},
        {"None", {RegType::None, ""}},
    };
    std::unique_ptr<RegistryKey> key;
    ASSERT_EQ(create("Types", key), Status::Ok);
    for (const Row& row : rows) ASSERT_EQ(key->setValue(row.name, row.value), Status::Ok) << row.name;

    const std::vector<NamedValue> listed = values(*key);
    for (const Row& row : rows) {
        RegValue read;
        ASSERT_EQ(key->queryValue(row.name, read), Status::Ok) << row.name;
        EXPECT_EQ(read.type, row.value.type) << row.name;
        EXPECT_EQ(read.data, row.value.data) << row.name;
        const auto it = std::find_if(listed.begin(), listed.end(), [&](const NamedValue& v) { return v.name == row.name; });
        ASSERT_NE(it, listed.end()) << row.name;
        EXPECT_EQ(it->value.type, row.value.type) << row.name;
        EXPECT_EQ(it->value.data, row.value.data) << row.name;
    }
}

TEST_P(RegistryContract, OverwritingAValueReplacesItsTypeAndData) {
    std::unique_ptr<RegistryKey> key;
    ASSERT_EQ(create("Overwrite", key), Status::Ok);
    ASSERT_EQ(key->setValue("Setting", {RegType::Dword, "\x01\0\0\0"s}), Status::Ok);
    ASSERT_EQ(key->setValue("Setting", {RegType::Sz, "now text"}), Status::Ok);
    RegValue read;
    ASSERT_EQ(key->queryValue("Setting", read), Status::Ok);
    EXPECT_EQ(read.type, RegType::Sz);
    EXPECT_EQ(read.data, "now text");
    EXPECT_EQ(valueNames(*key).size(), 1u);
}

TEST_P(RegistryContract, LongValuesReadWhole) {
    std::unique_ptr<RegistryKey> key;
    ASSERT_EQ(create("Long", key), Status::Ok);
    for (const std::size_t length : {255u, 256u, 257u, 2000u, 20000u}) {
        const std::string text = pattern(length);
        const std::string bytes = text + "\0\xff"s;
        ASSERT_EQ(key->setValue("Text", {RegType::Sz, text}), Status::Ok) << length;
        ASSERT_EQ(key->setValue("Bytes", {RegType::Binary, bytes}), Status::Ok) << length;
        ASSERT_EQ(key->setDefaultValue("Sub", text), Status::Ok) << length;

        RegValue read;
        ASSERT_EQ(key->queryValue("Text", read), Status::Ok) << length;
        EXPECT_EQ(read.data, text) << length;
        ASSERT_EQ(key->queryValue("Bytes", read), Status::Ok) << length;
        EXPECT_EQ(read.data, bytes) << length;
        std::string defaultText;
        ASSERT_EQ(key->queryDefaultValue("Sub", defaultText), Status::Ok) << length;
        EXPECT_EQ(defaultText, text) << length;
        for (const NamedValue& v : values(*key)) {
            EXPECT_EQ(v.value.data, v.name == "Text" ? text : bytes) << v.name << " " << length;
        }
    }
}

TEST_P(RegistryContract, SubKeysEnumerateInNameOrderIgnoringCase) {
    const char* created[] = {"zeta", "Beta", "alpha", "Gamma", "a1", "A0", "delta", "Zz", "b"};
    for (const char* name : created) {
        std::unique_ptr<RegistryKey> key;
        ASSERT_EQ(create(std::string("Keys\\") + name, key), Status::Ok) << name;
    }
    std::unique_ptr<RegistryKey> keys;
    ASSERT_EQ(open("Keys", RegAccess::Read, keys), Status::Ok);
    EXPECT_EQ(subKeys(*keys),
              (std::vector<std::string>{"A0", "a1", "alpha", "b", "Beta", "delta", "Gamma", "zeta", "Zz"}));
    std::string name;
    EXPECT_EQ(keys->enumSubKey(100, name), Status::NoMoreItems);
}

// Windows lists values in the order they were made; Wine, like the fake, by name. Logic must
// not depend on either.
TEST_P(RegistryContract, ValuesEnumerateInNameOrderIgnoringCase) {
    std::unique_ptr<RegistryKey> key;
    ASSERT_EQ(create("Values", key), Status::Ok);
    for (const char* name : {"zeta", "Beta", "", "alpha", "b", "A0"}) {
        ASSERT_EQ(key->setValue(name, {RegType::Sz, name}), Status::Ok) << name;
    }
    EXPECT_EQ(valueNames(*key), (std::vector<std::string>{"", "A0", "alpha", "b", "Beta", "zeta"}));
    std::string name;
    RegValue v;
    EXPECT_EQ(key->enumValue(100, name, v), Status::NoMoreItems);
}

// Made relative to its parent: Wine's ANSI calls refuse a whole path over 260 characters.
TEST_P(RegistryContract, LongestKeyNameEnumeratesWhole) {
    const std::string longest = pattern(255);
    std::unique_ptr<RegistryKey> parent;
    ASSERT_EQ(create("Names", parent), Status::Ok);
    ASSERT_EQ(parent->setDefaultValue(longest, "x"), Status::Ok);
    EXPECT_EQ(subKeys(*parent), std::vector<std::string>{longest});
}

TEST_P(RegistryContract, MissingKeysAndValuesAreFileNotFound) {
    std::unique_ptr<RegistryKey> key, missing;
    ASSERT_EQ(create("Present", key), Status::Ok);
    RegValue v;
    std::string text;
    const struct {
        const char* what;
        Status got;
    } rows[] = {
        {"open missing key for reading", open("Missing", RegAccess::Read, missing)},
        {"open missing key for writing", open("Missing", RegAccess::ReadWrite, missing)},
        {"open below a missing key", open("Missing\\Deeper", RegAccess::Read, missing)},
        {"query missing value", key->queryValue("Missing", v)},
        {"delete missing value", key->deleteValue("Missing")},
        {"default value of missing sub-key", key->queryDefaultValue("Missing", text)},
        {"delete missing tree", registry().deleteTree(hkcu, at("Missing"))},
    };
    for (const auto& row : rows) EXPECT_EQ(row.got, Status::FileNotFound) << row.what;
}

TEST_P(RegistryContract, ReadAccessRefusesWrites) {
    std::unique_ptr<RegistryKey> writer, reader;
    ASSERT_EQ(create("Guarded\\Sub", writer), Status::Ok);
    ASSERT_EQ(create("Guarded", writer), Status::Ok);
    ASSERT_EQ(writer->setValue("Kept", {RegType::Sz, "original"}), Status::Ok);
    ASSERT_EQ(open("Guarded", RegAccess::Read, reader), Status::Ok);

    const struct {
        const char* what;
        Status got;
    } rows[] = {
        {"overwrite value", reader->setValue("Kept", {RegType::Sz, "changed"})},
        {"new value", reader->setValue("New", {RegType::Sz, "x"})},
        {"delete value", reader->deleteValue("Kept")},
        {"own default value", reader->setDefaultValue("", "x")},
    };
    for (const auto& row : rows) EXPECT_EQ(row.got, Status::AccessDenied) << row.what;

    RegValue v;
    ASSERT_EQ(reader->queryValue("Kept", v), Status::Ok);
    EXPECT_EQ(v.data, "original");
    EXPECT_EQ(valueNames(*reader), std::vector<std::string>{"Kept"});
    EXPECT_EQ(subKeys(*reader), std::vector<std::string>{"Sub"});
}

TEST_P(RegistryContract, DefaultValues) {
    std::unique_ptr<RegistryKey> key, bare, deep;
    ASSERT_EQ(create("Defaults", key), Status::Ok);
    ASSERT_EQ(create("Defaults\\Bare", bare), Status::Ok);
    std::string text = "stale";
    ASSERT_EQ(key->queryDefaultValue("", text), Status::Ok);
    EXPECT_EQ(text, "") << "a default never set reads as empty text";
    text = "stale";
    ASSERT_EQ(key->queryDefaultValue("Bare", text), Status::Ok);
    EXPECT_EQ(text, "");

    ASSERT_EQ(key->setDefaultValue("New\\Deeper", "deep text"), Status::Ok) << "creates the sub-keys";
    ASSERT_EQ(open("Defaults\\new\\deeper", RegAccess::Read, deep), Status::Ok);
    ASSERT_EQ(key->queryDefaultValue("NEW\\DEEPER", text), Status::Ok);
    EXPECT_EQ(text, "deep text");
    RegValue v;
    ASSERT_EQ(deep->queryValue("", v), Status::Ok);
    EXPECT_EQ(v.type, RegType::Sz);
    EXPECT_EQ(v.data, "deep text");

    ASSERT_EQ(key->setDefaultValue("", "own"), Status::Ok);
    ASSERT_EQ(key->queryValue("", v), Status::Ok);
    EXPECT_EQ(v.data, "own");
    ASSERT_EQ(key->setValue("", {RegType::Sz, "via value"}), Status::Ok);
    ASSERT_EQ(key->queryDefaultValue("", text), Status::Ok);
    EXPECT_EQ(text, "via value");
}

TEST_P(RegistryContract, DeleteTreeRemovesTheKeyAndEverythingBelow) {
    std::unique_ptr<RegistryKey> key;
    for (const char* path : {"Tree\\A\\B", "Tree\\C", "Sibling"}) {
        ASSERT_EQ(create(path, key), Status::Ok) << path;
        ASSERT_EQ(key->setValue("Value", {RegType::Sz, path}), Status::Ok) << path;
    }
    key.reset();
    ASSERT_EQ(registry().deleteTree(hkcu, at("tree")), Status::Ok);

    for (const char* gone : {"Tree", "Tree\\A", "Tree\\A\\B", "Tree\\C"}) {
        EXPECT_EQ(open(gone, RegAccess::Read, key), Status::FileNotFound) << gone;
    }
    std::unique_ptr<RegistryKey> scratch;
    ASSERT_EQ(open("", RegAccess::Read, scratch), Status::Ok);
    EXPECT_EQ(subKeys(*scratch), std::vector<std::string>{"Sibling"});
    EXPECT_EQ(registry().deleteTree(hkcu, at("Tree")), Status::FileNotFound);
}

TEST_P(RegistryContract, DeleteTreeRefusesAWholeHive) {
    EXPECT_EQ(registry().deleteTree(hkcu, ""), Status::InvalidParameter);
    std::unique_ptr<RegistryKey> scratch;
    EXPECT_EQ(open("", RegAccess::Read, scratch), Status::Ok);
}

TEST_P(RegistryContract, CreateMakesMissingParentsAndOpensExistingKeys) {
    std::unique_ptr<RegistryKey> deep, middle, again;
    ASSERT_EQ(create("P\\Q\\R", deep), Status::Ok);
    for (const char* path : {"P", "P\\Q", "P\\Q\\R"}) {
        std::unique_ptr<RegistryKey> key;
        EXPECT_EQ(open(path, RegAccess::ReadWrite, key), Status::Ok) << path;
    }
    ASSERT_EQ(open("P\\Q", RegAccess::ReadWrite, middle), Status::Ok);
    ASSERT_EQ(middle->setValue("Mark", {RegType::Sz, "kept"}), Status::Ok);
    ASSERT_EQ(create("p\\q", again), Status::Ok);
    RegValue v;
    ASSERT_EQ(again->queryValue("Mark", v), Status::Ok);
    EXPECT_EQ(v.data, "kept");
    EXPECT_EQ(subKeys(*again), std::vector<std::string>{"R"});
}

TEST_P(RegistryContract, EmptyPathOpensTheHive) {
    std::unique_ptr<RegistryKey> root;
    ASSERT_EQ(registry().open(hkcu, "", RegAccess::Read, root), Status::Ok);
    const std::vector<std::string> names = subKeys(*root);
    EXPECT_NE(std::find_if(names.begin(), names.end(), [](const std::string& n) { return upper(n) == "SOFTWARE"; }),
              names.end());
}

TEST_P(RegistryContract, HandleOfADeletedKeyReportsKeyDeleted) {
    std::unique_ptr<RegistryKey> key;
    ASSERT_EQ(create("Doomed\\Child", key), Status::Ok);
    ASSERT_EQ(create("Doomed", key), Status::Ok);
    ASSERT_EQ(key->setValue("Value", {RegType::Sz, "x"}), Status::Ok);
    ASSERT_EQ(registry().deleteTree(hkcu, at("Doomed")), Status::Ok);

    RegValue v;
    std::string text;
    const struct {
        const char* what;
        Status got;
    } rows[] = {
        {"query value", key->queryValue("Value", v)},
        {"set value", key->setValue("Value", {RegType::Sz, "y"})},
        {"delete value", key->deleteValue("Value")},
        {"query default", key->queryDefaultValue("", text)},
        {"set default", key->setDefaultValue("", "y")},
        {"enumerate sub-keys", key->enumSubKey(0, text)},
        {"enumerate values", key->enumValue(0, text, v)},
    };
    for (const auto& row : rows) EXPECT_EQ(row.got, Status::KeyDeleted) << row.what;
}

INSTANTIATE_TEST_SUITE_P(Registry, RegistryContract, ::testing::ValuesIn(registryTargets()),
                         [](const ::testing::TestParamInfo<RegistryTarget>& target) { return target.param.name; });

#ifdef _WIN32
// Other programs read what the adapter writes: one terminator stored, not two, and a string
// stored without one still reads whole. The wide API shows the stored bytes unconverted. (The
// system counts a NUL that follows the data by itself, so a missing one cannot be seen here.)
TEST(Win32RegistryStrings, AreStoredTerminatedAndReadWithoutTheTerminator) {
    Win32Sandbox sandbox;
    std::unique_ptr<RegistryKey> key;
    ASSERT_EQ(sandbox.registry().open(hkcu, sandbox.scratchKey(), RegAccess::ReadWrite, key), Status::Ok);
    ASSERT_EQ(key->setValue("Written", {RegType::Sz, "abc"}), Status::Ok);

    win32::RegKey raw;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, sandbox.scratchKey().c_str(), 0, KEY_READ | KEY_WRITE, raw.out()),
              ERROR_SUCCESS);
    wchar_t stored[8] = {};
    DWORD size = sizeof stored;
    ASSERT_EQ(RegQueryValueExW(raw.get(), L"Written", nullptr, nullptr, reinterpret_cast<BYTE*>(stored), &size),
              ERROR_SUCCESS);
    EXPECT_EQ(size, 4 * sizeof(wchar_t)) << "three characters and the terminator";

    const wchar_t unterminated[] = {L'x', L'y', L'z'};
    ASSERT_EQ(RegSetValueExW(raw.get(), L"Bare", 0, REG_SZ, reinterpret_cast<const BYTE*>(unterminated),
                             sizeof unterminated),
              ERROR_SUCCESS);
    RegValue read;
    ASSERT_EQ(key->queryValue("Bare", read), Status::Ok);
    EXPECT_EQ(read.data, "xyz");
}
#endif

}  // namespace
}  // namespace quillon
