// Keys whose path from the hive is longer than the system's ANSI calls take in one piece.
#ifdef _WIN32
#include <gtest/gtest.h>

#include <windows.h>

#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "platform/Registry.h"
#include "platform/win32/Win32Registry.h"

namespace quillon {
namespace {

constexpr Hive hkcu = Hive::CurrentUser;
constexpr const char* parentKey = "Software\\QuillonContractTests";

std::string scratchKey() { return std::string(parentKey) + "\\Long" + std::to_string(GetCurrentProcessId()); }

std::string join(const std::vector<std::string>& parts, std::size_t count) {
    std::string path;
    for (std::size_t i = 0; i < count; ++i) path += (i ? "\\" : "") + parts[i];
    return path;
}

// A chain of keys below the scratch key, given by its components.
struct Chain {
    const char* name;
    std::vector<std::string> parts;
};

void PrintTo(const Chain& chain, std::ostream* os) { *os << chain.name; }

std::vector<std::string> shortLevels(int count) {
    std::vector<std::string> parts;
    for (int i = 0; i < count; ++i) parts.push_back("Level" + std::to_string(100 + i) + "_abcdefgh");
    return parts;
}

// A first component that puts the separator after it at `offset` of the full path: pieces are
// cut near 250 characters, so separators right at and beside that point find off-by-ones.
std::vector<std::string> separatorAt(std::size_t offset) {
    std::vector<std::string> parts{std::string(offset - scratchKey().size() - 1, 'f')};
    for (const std::string& level : shortLevels(12)) parts.push_back(level);
    return parts;
}

std::vector<Chain> chains() {
    return {
        {"ManyShortComponents", shortLevels(30)},
        {"LongestComponentInTheMiddle", {"A", std::string(255, 'w'), "B", "C", std::string(100, 'x')}},
        {"LongestComponentsBackToBack", {std::string(255, 'p'), std::string(255, 'q'), "Leaf"}},
        {"SeparatorAtCut", separatorAt(250)},
        {"SeparatorBeforeCut", separatorAt(249)},
        {"SeparatorAfterCut", separatorAt(251)},
    };
}

class Win32RegistryLongPath : public ::testing::TestWithParam<Chain> {
protected:
    void SetUp() override {
        registry_.deleteTree(hkcu, scratch_);
        ASSERT_EQ(registry_.create(hkcu, scratch_, scratchHandle_), Status::Ok);
        const std::vector<std::string>& parts = GetParam().parts;
        ASSERT_GT(join(parts, parts.size()).size(), 300u) << "the chain must be deeper than the limit";
    }
    void TearDown() override {
        scratchHandle_.reset();
        registry_.deleteTree(hkcu, scratch_);
        RegDeleteKeyA(HKEY_CURRENT_USER, parentKey);  // fails, as it should, while not empty
    }

    // The path from the hive of the first `count` components.
    std::string at(std::size_t count) const { return scratch_ + "\\" + join(GetParam().parts, count); }
    std::string deepest() const { return at(GetParam().parts.size()); }

    win32::Win32Registry registry_;
    std::string scratch_ = scratchKey();
    std::unique_ptr<RegistryKey> scratchHandle_;
};

TEST_P(Win32RegistryLongPath, CreatedChainOpensAtEveryLevelAndListsOneSubKeyEach) {
    const std::vector<std::string>& parts = GetParam().parts;
    std::unique_ptr<RegistryKey> created;
    ASSERT_EQ(registry_.create(hkcu, deepest(), created), Status::Ok);
    ASSERT_EQ(created->setValue("Depth", {RegType::Sz, "bottom"}), Status::Ok);

    for (std::size_t level = 0; level <= parts.size(); ++level) {
        const std::string path = level ? at(level) : scratch_;
        std::unique_ptr<RegistryKey> key;
        ASSERT_EQ(registry_.open(hkcu, path, RegAccess::Read, key), Status::Ok) << "length " << path.size();
        std::string name;
        if (level < parts.size()) {
            ASSERT_EQ(key->enumSubKey(0, name), Status::Ok) << "length " << path.size();
            EXPECT_EQ(name, parts[level]);
            EXPECT_EQ(key->enumSubKey(1, name), Status::NoMoreItems) << "length " << path.size();
        } else {
            EXPECT_EQ(key->enumSubKey(0, name), Status::NoMoreItems);
        }
    }

    std::unique_ptr<RegistryKey> writer, again;
    ASSERT_EQ(registry_.open(hkcu, deepest(), RegAccess::ReadWrite, writer), Status::Ok);
    RegValue read;
    ASSERT_EQ(writer->queryValue("Depth", read), Status::Ok);
    EXPECT_EQ(read.data, "bottom");
    ASSERT_EQ(writer->setValue("Written", {RegType::Sz, "through the open"}), Status::Ok);
    ASSERT_EQ(registry_.create(hkcu, deepest(), again), Status::Ok) << "creating an existing key opens it";
    ASSERT_EQ(again->queryValue("Written", read), Status::Ok);
    EXPECT_EQ(read.data, "through the open");
}

TEST_P(Win32RegistryLongPath, MissingDeepKeysAreNotFoundAndReadOnlyOpensRefuseWrites) {
    std::unique_ptr<RegistryKey> key, reader;
    EXPECT_EQ(registry_.open(hkcu, deepest(), RegAccess::Read, key), Status::FileNotFound);
    EXPECT_EQ(key, nullptr);
    ASSERT_EQ(registry_.create(hkcu, deepest(), key), Status::Ok);
    EXPECT_EQ(registry_.open(hkcu, deepest() + "\\Missing", RegAccess::ReadWrite, key), Status::FileNotFound);

    ASSERT_EQ(registry_.open(hkcu, deepest(), RegAccess::Read, reader), Status::Ok);
    EXPECT_EQ(reader->setValue("Refused", {RegType::Sz, "x"}), Status::AccessDenied);
}

TEST_P(Win32RegistryLongPath, DefaultValuesOfDeepSubKeysRoundTrip) {
    const std::vector<std::string>& parts = GetParam().parts;
    const std::string relative = join(parts, parts.size());
    ASSERT_EQ(scratchHandle_->setDefaultValue(relative, "deep default"), Status::Ok) << "creates the chain";
    std::string text;
    ASSERT_EQ(scratchHandle_->queryDefaultValue(relative, text), Status::Ok);
    EXPECT_EQ(text, "deep default");
    EXPECT_EQ(scratchHandle_->queryDefaultValue(relative + "\\Missing", text), Status::FileNotFound);

    std::unique_ptr<RegistryKey> key;
    ASSERT_EQ(registry_.open(hkcu, deepest(), RegAccess::Read, key), Status::Ok);
    ASSERT_EQ(key->queryDefaultValue("", text), Status::Ok);
    EXPECT_EQ(text, "deep default");
}

TEST_P(Win32RegistryLongPath, DeletingTheTreeTakesTheWholeChain) {
    const std::vector<std::string>& parts = GetParam().parts;
    std::unique_ptr<RegistryKey> key;
    ASSERT_EQ(registry_.create(hkcu, deepest(), key), Status::Ok);
    key.reset();

    // From a long path within the chain, then from its short top.
    const std::size_t middle = parts.size() - 1;
    ASSERT_EQ(registry_.deleteTree(hkcu, at(middle + 1)), Status::Ok);
    EXPECT_EQ(registry_.open(hkcu, deepest(), RegAccess::Read, key), Status::FileNotFound);
    ASSERT_EQ(registry_.open(hkcu, at(middle), RegAccess::Read, key), Status::Ok);
    std::string name;
    EXPECT_EQ(key->enumSubKey(0, name), Status::NoMoreItems);

    ASSERT_EQ(registry_.deleteTree(hkcu, at(1)), Status::Ok);
    EXPECT_EQ(registry_.open(hkcu, at(middle), RegAccess::Read, key), Status::FileNotFound);
    EXPECT_EQ(scratchHandle_->enumSubKey(0, name), Status::NoMoreItems);
}

INSTANTIATE_TEST_SUITE_P(Chains, Win32RegistryLongPath, ::testing::ValuesIn(chains()),
                         [](const ::testing::TestParamInfo<Chain>& row) { return std::string(row.param.name); });

}  // namespace
}  // namespace quillon
#endif
