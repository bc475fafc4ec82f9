#include <gtest/gtest.h>

#include "support/fakes.h"
#include "shell/Settings.h"
#include "shell/modRegistry.h"

namespace quillon::shell {
namespace {

using fakes::FakeRegistry;

TEST(RegistryRoutines, ValueTextByType) {
    struct Row { RegValue value; const char* text; };
    const Row rows[] = {
        {{RegType::Sz, "C:\\Data"}, "C:\\Data"},
        {{RegType::Sz, ""}, ""},
        {{RegType::Dword, std::string("\x2c\x01\x00\x00", 4)}, "300"},
        {{RegType::Dword, std::string("\xff\xff\xff\xff", 4)}, "4294967295"},
        {{RegType::Binary, std::string("\x01\x02", 2)}, ""},
        {{RegType::MultiSz, std::string("a\0b\0\0", 5)}, "<unsupported type: 7>"},
        {{RegType::ExpandSz, "%TEMP%"}, "<unsupported type: 2>"},
    };
    for (const auto& r : rows) EXPECT_EQ(valueText(r.value), r.text) << r.value.type;
}

TEST(RegistryRoutines, ReadsThroughTheRegistryInAnyLength) {
    FakeRegistry reg;
    const std::string longList(2000, 'x');
    reg.setString(Hive::CurrentUser, "Software\\Quillon\\General", "SavedForDeletion", longList);
    reg.setValue(Hive::CurrentUser, "Software\\Quillon\\General", "Count", {RegType::Dword, std::string("\x2c\x01\0\0", 4)});
    const KeyPtr key = openKey(reg, Hive::CurrentUser, "software\\QUILLON\\general");
    ASSERT_TRUE(key);
    EXPECT_EQ(queryValue(key.get(), "savedfordeletion"), longList);
    EXPECT_EQ(queryValue(key.get(), "Count"), "300");
    EXPECT_EQ(queryValue(key.get(), "Missing"), "");
}

TEST(RegistryRoutines, AFailedOpenReadsEmptyAndRefusesWrites) {
    FakeRegistry reg;
    const KeyPtr key = openKey(reg, Hive::CurrentUser, "Software\\Nowhere");
    EXPECT_FALSE(key);
    EXPECT_EQ(queryValue(key.get(), "X"), "");
    EXPECT_EQ(queryDefaultValue(key.get(), ""), "");
    EXPECT_FALSE(succeeded(setValue(key.get(), "X", "1")));
    EXPECT_FALSE(reg.keyExists(Hive::CurrentUser, "Software\\Nowhere"));
}

TEST(RegistryRoutines, AReadOnlyKeyServesReadsAndRefusesWrites) {
    FakeRegistry reg;
    reg.setString(Hive::CurrentUser, "Software\\Locked", "Flag", "1");
    reg.markReadOnly(Hive::CurrentUser, "Software\\Locked");
    const KeyPtr key = openKey(reg, Hive::CurrentUser, "Software\\Locked");
    ASSERT_TRUE(key);
    EXPECT_EQ(queryValue(key.get(), "Flag"), "1");
    EXPECT_FALSE(succeeded(setValue(key.get(), "Flag", "0")));
    EXPECT_EQ(reg.stringValue(Hive::CurrentUser, "Software\\Locked", "Flag"), "1");
}

TEST(RegistryRoutines, DefaultValuesOfSubKeys) {
    FakeRegistry reg;
    reg.createKey(Hive::ClassesRoot, "");
    const KeyPtr root = openKey(reg, Hive::ClassesRoot, "");
    ASSERT_TRUE(root);
    EXPECT_TRUE(succeeded(setDefaultValue(root.get(), ".qdf", "QuillonUninstall")));
    EXPECT_EQ(queryDefaultValue(root.get(), ".QDF"), "QuillonUninstall");
    EXPECT_EQ(reg.stringValue(Hive::ClassesRoot, ".qdf", ""), "QuillonUninstall");
}

TEST(RegistryRoutines, DeleteKeyReportsOnlyFailure) {
    FakeRegistry reg;
    fakes::ScriptedPrompter prompter;
    reg.createKey(Hive::CurrentUser, "Software\\Acme\\Sub");
    reg.createKey(Hive::LocalMachine, "Software\\Guarded");
    reg.failDeleteTree(Hive::LocalMachine, "Software\\Guarded");

    EXPECT_FALSE(deleteKey(reg, prompter, Hive::CurrentUser, "Software\\Acme"));
    EXPECT_FALSE(reg.keyExists(Hive::CurrentUser, "Software\\Acme\\Sub"));
    EXPECT_TRUE(prompter.messages().empty());

    prompter.answer(MsgAnswer::Ok);
    EXPECT_TRUE(deleteKey(reg, prompter, Hive::LocalMachine, "Software\\Guarded"));
    ASSERT_EQ(prompter.messages().size(), 1u);
    const auto& m = prompter.messages()[0];
    EXPECT_EQ(m.title, "Error deleting key");
    EXPECT_EQ(m.text, "Error deleting key Software\\Guarded. Administrative privileges required");
    EXPECT_EQ(m.icon, MsgIcon::Critical);
}

TEST(RegistryRoutines, ListSubKeysLastEnumeratedFirst) {
    FakeRegistry reg;
    for (const char* k : {"Software\\Acme", "Software\\Beta", "Software\\Classes\\x", "AppEvents"})
        reg.createKey(Hive::LocalMachine, k);
    fakes::FakeRunContext run;
    const std::string sep(1, settings::ListSeparator);

    EXPECT_EQ(listSubKeys(reg, run, Hive::LocalMachine, "", ""), "\\Software" + sep + "\\AppEvents" + sep);
    EXPECT_EQ(listSubKeys(reg, run, Hive::LocalMachine, "Software", "SOFTWARE\\classes"),
              "Software\\Beta" + sep + "Software\\Acme" + sep);
    EXPECT_EQ(listSubKeys(reg, run, Hive::LocalMachine, "Software\\Missing", ""), "");
    EXPECT_GE(run.yields(), 5);
}

TEST(RegistryRoutines, ListSubKeysOfAnUnopenableKeyIsEmpty) {
    FakeRegistry reg;
    reg.createKey(Hive::CurrentUser, "Software\\Secret\\Inner");
    reg.markUnopenable(Hive::CurrentUser, "Software\\Secret");
    fakes::FakeRunContext run;
    EXPECT_EQ(listSubKeys(reg, run, Hive::CurrentUser, "Software\\Secret", ""), "");
    EXPECT_NE(listSubKeys(reg, run, Hive::CurrentUser, "Software", "").find("Software\\Secret"), std::string::npos);
}

}  // namespace
}  // namespace quillon::shell
