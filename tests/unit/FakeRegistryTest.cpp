// What the fake offers beyond the port: set-up helpers, access failures on chosen keys, the
// write log. The port's own behaviour is proven by the registry contract suite.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "support/FakeRegistry.h"

namespace quillon::fakes {
namespace {

constexpr Hive hkcu = Hive::CurrentUser;

std::vector<std::string> enumerated(RegistryKey& key, Status& last) {
    std::vector<std::string> names;
    std::string name;
    while ((last = key.enumSubKey(static_cast<std::uint32_t>(names.size()), name)) == Status::Ok) names.push_back(name);
    return names;
}

struct AccessRow {
    const char* what;
    std::function<Status(FakeRegistry&)> act;
    Status expected;
};

void expectAll(FakeRegistry& reg, const std::vector<AccessRow>& rows) {
    for (const AccessRow& row : rows) EXPECT_EQ(row.act(reg), row.expected) << row.what;
}

Status openKey(FakeRegistry& reg, const char* path, RegAccess access) {
    std::unique_ptr<RegistryKey> key;
    return reg.open(hkcu, path, access, key);
}

Status createKey(FakeRegistry& reg, const char* path) {
    std::unique_ptr<RegistryKey> key;
    return reg.create(hkcu, path, key);
}

Status setDefaultBelow(FakeRegistry& reg, const char* parent, const char* subKey) {
    std::unique_ptr<RegistryKey> key;
    const Status s = reg.open(hkcu, parent, RegAccess::ReadWrite, key);
    return succeeded(s) ? key->setDefaultValue(subKey, "x") : s;
}

Status queryDefaultBelow(FakeRegistry& reg, const char* parent, const char* subKey) {
    std::unique_ptr<RegistryKey> key;
    std::string text;
    const Status s = reg.open(hkcu, parent, RegAccess::Read, key);
    return succeeded(s) ? key->queryDefaultValue(subKey, text) : s;
}

TEST(FakeRegistry, SetUpIsSeenThroughThePortAndIsNotLogged) {
    FakeRegistry reg;
    reg.setString(hkcu, "Software\\App", "Name", "text");
    reg.setValue(hkcu, "Software\\App", "Count", {RegType::Dword, std::string("\x05\0\0\0", 4)});
    reg.createKey(hkcu, "Software\\App\\Child");

    EXPECT_TRUE(reg.keyExists(hkcu, "SOFTWARE\\app\\child"));
    EXPECT_FALSE(reg.keyExists(hkcu, "Software\\Other"));
    EXPECT_FALSE(reg.keyExists(Hive::LocalMachine, "Software\\App"));
    EXPECT_EQ(reg.stringValue(hkcu, "software\\APP", "NAME"), "text");
    EXPECT_EQ(reg.stringValue(hkcu, "Software\\App", "Count"), std::nullopt) << "not a string type";
    EXPECT_EQ(reg.stringValue(hkcu, "Software\\App", "Missing"), std::nullopt);
    ASSERT_TRUE(reg.value(hkcu, "Software\\App", "count").has_value());
    EXPECT_EQ(reg.value(hkcu, "Software\\App", "count")->type, RegType::Dword);
    EXPECT_EQ(reg.valueNames(hkcu, "Software\\App"), (std::vector<std::string>{"Count", "Name"}));
    EXPECT_EQ(reg.subKeyNames(hkcu, "Software\\App"), std::vector<std::string>{"Child"});
    EXPECT_TRUE(reg.valueNames(hkcu, "Software\\Missing").empty());

    std::unique_ptr<RegistryKey> key;
    ASSERT_EQ(reg.open(hkcu, "Software\\App", RegAccess::Read, key), Status::Ok);
    RegValue v;
    ASSERT_EQ(key->queryValue("Name", v), Status::Ok);
    EXPECT_EQ(v.data, "text");
    EXPECT_TRUE(reg.writeLog().empty());
}

TEST(FakeRegistry, ReadOnlyKeyOpensOnlyForReading) {
    FakeRegistry reg;
    reg.setString(hkcu, "Locked", "Value", "kept");
    reg.createKey(hkcu, "Locked\\Existing");
    reg.markReadOnly(hkcu, "Locked");
    expectAll(reg, {
        {"open for reading", [](FakeRegistry& r) { return openKey(r, "Locked", RegAccess::Read); }, Status::Ok},
        {"open for writing", [](FakeRegistry& r) { return openKey(r, "locked", RegAccess::ReadWrite); },
         Status::AccessDenied},
        {"create it", [](FakeRegistry& r) { return createKey(r, "Locked"); }, Status::AccessDenied},
        {"create below it", [](FakeRegistry& r) { return createKey(r, "Locked\\New\\Deeper"); }, Status::AccessDenied},
        {"create an existing child", [](FakeRegistry& r) { return createKey(r, "Locked\\Existing"); }, Status::Ok},
        {"default value made below it", [](FakeRegistry& r) { return setDefaultBelow(r, "Locked\\Existing", ""); },
         Status::Ok},
        {"default value of it from a writable parent", [](FakeRegistry& r) { return setDefaultBelow(r, "", "Locked"); },
         Status::AccessDenied},
        {"delete its tree", [](FakeRegistry& r) { return r.deleteTree(hkcu, "Locked"); }, Status::AccessDenied},
    });
    EXPECT_EQ(reg.stringValue(hkcu, "Locked", "Value"), "kept");
    EXPECT_FALSE(reg.keyExists(hkcu, "Locked\\New"));
    EXPECT_TRUE(reg.keyExists(hkcu, "Locked\\Existing"));
}

TEST(FakeRegistry, UnopenableKeyIsListedButRefusesEveryOpen) {
    FakeRegistry reg;
    reg.createKey(hkcu, "Parent\\Before");
    reg.createKey(hkcu, "Parent\\Sealed\\Inner");
    reg.markUnopenable(hkcu, "Parent\\Sealed");
    expectAll(reg, {
        {"open for reading", [](FakeRegistry& r) { return openKey(r, "Parent\\Sealed", RegAccess::Read); },
         Status::AccessDenied},
        {"open for writing", [](FakeRegistry& r) { return openKey(r, "Parent\\Sealed", RegAccess::ReadWrite); },
         Status::AccessDenied},
        {"create it", [](FakeRegistry& r) { return createKey(r, "Parent\\Sealed"); }, Status::AccessDenied},
        {"create below it", [](FakeRegistry& r) { return createKey(r, "Parent\\Sealed\\New"); }, Status::AccessDenied},
        {"its default value", [](FakeRegistry& r) { return queryDefaultBelow(r, "Parent", "Sealed"); },
         Status::AccessDenied},
        {"open a key below it", [](FakeRegistry& r) { return openKey(r, "Parent\\Sealed\\Inner", RegAccess::Read); },
         Status::Ok},
        {"delete the parent's tree", [](FakeRegistry& r) { return r.deleteTree(hkcu, "Parent"); },
         Status::AccessDenied},
    });
    std::unique_ptr<RegistryKey> parent;
    ASSERT_EQ(reg.open(hkcu, "Parent", RegAccess::Read, parent), Status::Ok);
    Status last = Status::Ok;
    EXPECT_EQ(enumerated(*parent, last), (std::vector<std::string>{"Before", "Sealed"}));
    EXPECT_EQ(last, Status::NoMoreItems);
    EXPECT_TRUE(reg.keyExists(hkcu, "Parent\\Before")) << "a refused deleteTree deletes nothing";
}

TEST(FakeRegistry, FailDeleteTreeRefusesOnlyDeletion) {
    FakeRegistry reg;
    reg.createKey(hkcu, "Root\\Stuck\\Child");
    reg.createKey(hkcu, "Root\\Free");
    reg.failDeleteTree(hkcu, "Root\\Stuck");
    expectAll(reg, {
        {"delete it", [](FakeRegistry& r) { return r.deleteTree(hkcu, "Root\\Stuck"); }, Status::AccessDenied},
        {"delete its parent", [](FakeRegistry& r) { return r.deleteTree(hkcu, "Root"); }, Status::AccessDenied},
        {"open it for writing", [](FakeRegistry& r) { return openKey(r, "Root\\Stuck", RegAccess::ReadWrite); },
         Status::Ok},
        {"delete below it", [](FakeRegistry& r) { return r.deleteTree(hkcu, "Root\\Stuck\\Child"); }, Status::Ok},
        {"delete a sibling", [](FakeRegistry& r) { return r.deleteTree(hkcu, "Root\\Free"); }, Status::Ok},
    });
    EXPECT_EQ(reg.subKeyNames(hkcu, "Root"), std::vector<std::string>{"Stuck"});
}

TEST(FakeRegistry, WriteLogRecordsEachSuccessfulWriteAsSpelled) {
    FakeRegistry reg;
    reg.createKey(Hive::LocalMachine, "Software\\Gone\\Below");
    std::unique_ptr<RegistryKey> key, root, reader;
    ASSERT_EQ(reg.create(hkcu, "Software\\New\\Deep", key), Status::Ok);
    ASSERT_EQ(reg.create(hkcu, "software\\NEW", key), Status::Ok) << "exists: not logged";
    ASSERT_EQ(key->setValue("Name", {RegType::Sz, "a"}), Status::Ok);
    ASSERT_EQ(key->setValue("", {RegType::Sz, "b"}), Status::Ok);
    ASSERT_EQ(reg.open(Hive::ClassesRoot, "", RegAccess::ReadWrite, root), Status::Ok);
    ASSERT_EQ(root->setDefaultValue(".qdf", "QuillonUninstall"), Status::Ok);
    ASSERT_EQ(key->setDefaultValue("", "own"), Status::Ok);
    ASSERT_EQ(key->setDefaultValue("Deep\\Er", "made"), Status::Ok);
    ASSERT_EQ(key->deleteValue("name"), Status::Ok);
    ASSERT_EQ(reg.deleteTree(Hive::LocalMachine, "SOFTWARE\\gone"), Status::Ok);

    // Refused or failed writes leave no line.
    ASSERT_EQ(reg.open(hkcu, "Software\\New", RegAccess::Read, reader), Status::Ok);
    EXPECT_EQ(reader->setValue("X", {RegType::Sz, "x"}), Status::AccessDenied);
    EXPECT_EQ(key->deleteValue("Missing"), Status::FileNotFound);
    EXPECT_EQ(reg.deleteTree(hkcu, "Software\\Missing"), Status::FileNotFound);

    EXPECT_EQ(reg.writeLog(), (std::vector<std::string>{
                                  "create HKCU\\Software\\New\\Deep",
                                  "set HKCU\\software\\NEW\\Name",
                                  "set HKCU\\software\\NEW\\",
                                  "default HKCR\\.qdf",
                                  "default HKCU\\software\\NEW",
                                  "default HKCU\\software\\NEW\\Deep\\Er",
                                  "delete HKCU\\software\\NEW\\name",
                                  "deltree HKLM\\SOFTWARE\\gone",
                              }));
    EXPECT_EQ(reg.stringValue(Hive::ClassesRoot, ".QDF", ""), "QuillonUninstall");
    reg.clearWriteLog();
    EXPECT_TRUE(reg.writeLog().empty());
}

// The system cannot make such a name, but an enumeration must still cope with one.
TEST(FakeRegistry, SubKeyNameOverTheLimitEnumeratesAsMoreData) {
    FakeRegistry reg;
    reg.createKey(hkcu, "Names\\a");
    reg.createKey(hkcu, "Names\\" + std::string(256, 'm'));
    reg.createKey(hkcu, "Names\\z");
    std::unique_ptr<RegistryKey> key;
    ASSERT_EQ(reg.open(hkcu, "Names", RegAccess::Read, key), Status::Ok);
    std::string name;
    EXPECT_EQ(key->enumSubKey(0, name), Status::Ok);
    EXPECT_EQ(key->enumSubKey(1, name), Status::MoreData);
    EXPECT_EQ(key->enumSubKey(2, name), Status::Ok);
    EXPECT_EQ(name, "z");
}

TEST(FakeRegistry, KeysOutliveTheRegistry) {
    auto reg = std::make_unique<FakeRegistry>();
    reg->setString(hkcu, "Kept", "Value", "still here");
    std::unique_ptr<RegistryKey> key;
    ASSERT_EQ(reg->open(hkcu, "Kept", RegAccess::ReadWrite, key), Status::Ok);
    reg.reset();
    RegValue v;
    ASSERT_EQ(key->queryValue("Value", v), Status::Ok);
    EXPECT_EQ(v.data, "still here");
    EXPECT_EQ(key->setValue("Other", {RegType::Sz, "x"}), Status::Ok);
}

}  // namespace
}  // namespace quillon::fakes
