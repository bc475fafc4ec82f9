#include <gtest/gtest.h>

#include <set>

#include "detection/ValueCompare.h"
#include "platform/ValueLine.h"
#include "review/ChangeRemoval.h"
#include "review/ConvertRemovalList.h"
#include "review/LoadChanges.h"
#include "review/RemovalListWriter.h"
#include "snapshot/RegistryWalk.h"
#include "support/FakeMachine.h"
#include "undo/UndoRestore.h"

namespace quillon {
namespace {

using Rows = std::set<std::string>;
constexpr const char* App = "Software\\Vendor\\App";

RegValue text(std::string_view s, std::uint32_t type = RegType::Sz) { return {type, std::string(s)}; }

std::optional<RegValue> valueOf(Registry& registry, Hive hive, std::string_view key, std::string_view name) {
    std::unique_ptr<RegistryKey> open;
    RegValue v;
    if (!succeeded(registry.open(hive, key, RegAccess::Read, open)) || !succeeded(open->queryValue(name, v)))
        return std::nullopt;
    return v;
}

TEST(RegistryValues, EveryTypeReadsBackAsWrittenAndLargeDataKeepsOnlyItsDigest) {
    const RegValue values[] = {text(""), text("C:\\Tab\there%41\r\nnext"), text("%PATH%;C:\\App", RegType::ExpandSz),
                               {RegType::MultiSz, std::string("a\0b\0\0", 5)}, {RegType::Dword, std::string("\1\0\0\0", 4)},
                               {RegType::Qword, std::string(8, '\xff')}, {RegType::Binary, ""}, {RegType::None, "\0\t"},
                               {RegType::Binary, std::string(WholeDataLimit, 'x')}};
    for (const RegValue& v : values) {
        const std::string line = valueLine({"Software\\A\tB", "na\tme%", encodeValueData(v)});
        ValueLine back;
        RegValue data;
        ASSERT_TRUE(parseValueLine(line, back)) << line;
        EXPECT_EQ(back.key, "Software\\A\tB");
        EXPECT_EQ(back.name, "na\tme%");
        ASSERT_TRUE(decodeValueData(back.data, data)) << line;
        EXPECT_EQ(data, v) << line;
    }
    const std::string big = encodeValueData({RegType::Binary, std::string(1 << 20, 'y')});
    RegValue none;
    EXPECT_TRUE(isDigestOnly(big));
    EXPECT_FALSE(decodeValueData(big, none));
    EXPECT_NE(big, encodeValueData({RegType::Binary, std::string(1 << 20, 'z')}));
    EXPECT_EQ(displayValueData(encodeValueData(values[4])), "0x00000001 (1)");
}

// One machine before and after an installation, walked and compared as Find changes does.
struct Installed {
    fakes::FakeMachine m;
    Rows compare(const shell::KeyIgnoreList* ignore = nullptr) {
        walk("C:\\freshKeys", "C:\\freshValues");
        const detection::RegistryCompareRules rules{Hive::CurrentUser, ignore, {}};
        EXPECT_EQ(detection::compareValueScan(m.files, m.run,
                                              {"C:\\oldKeys", "C:\\oldValues", "C:\\freshKeys", "C:\\freshValues", "C:\\out"},
                                              rules),
                  detection::RegistryOutcome::Completed);
        Rows rows;
        std::string all = m.files.content("C:\\out").value_or("<none>");
        for (std::size_t at = 0; (at = all.find("\r\n")) != std::string::npos; all.erase(0, at + 2)) {
            detection::ValueChangeLine line;
            EXPECT_TRUE(detection::parseValueChange(all.substr(0, at), line));
            rows.insert(std::string(detection::valueChangeWord(line.change)) + " " + line.key + " [" + line.name + "] " +
                        displayValueData(line.newData) + " / " + displayValueData(line.oldData));
        }
        return rows;
    }
    void walk(std::string_view keys, std::string_view values) {
        ASSERT_EQ(snapshot::walkRegistry(m.registry, m.files, m.run, Hive::CurrentUser, "", keys, "", nullptr, values),
                  snapshot::UpdateOutcome::Completed);
    }
    Installed() {
        m.registry.setValue(Hive::CurrentUser, App, "Kept", text("same"));
        m.registry.setValue(Hive::CurrentUser, App, "Gone", text("old"));
        m.registry.setValue(Hive::CurrentUser, App, "Twice", text("first"));
        m.registry.setValue(Hive::CurrentUser, "Environment", "PATH", text("C:\\Win", RegType::ExpandSz));
        m.registry.setValue(Hive::CurrentUser, "Software\\Churn", "Seed", text("1"));
        walk("C:\\oldKeys", "C:\\oldValues");
        m.registry.setValue(Hive::CurrentUser, App, "", text("default"));
        m.registry.setValue(Hive::CurrentUser, App, "Twice", text("second"));
        m.registry.setValue(Hive::CurrentUser, App, "Twice", text("third"));
        m.registry.setValue(Hive::CurrentUser, "Environment", "PATH", text("C:\\Win;C:\\App", RegType::ExpandSz));
        m.registry.setValue(Hive::CurrentUser, "Software\\Churn", "Seed", text("2"));
        m.registry.setValue(Hive::CurrentUser, "Software\\Vendor\\New", "Inside", text("new key"));
        std::unique_ptr<RegistryKey> app;
        EXPECT_EQ(m.registry.open(Hive::CurrentUser, App, RegAccess::ReadWrite, app), Status::Ok);
        EXPECT_EQ(app->deleteValue("Gone"), Status::Ok);
    }
};

TEST(RegistryValues, AWalkStoppedHalfWayLeavesNeitherList) {
    fakes::FakeMachine m;
    m.registry.setValue(Hive::CurrentUser, App, "Kept", text("same"));
    m.run.stopAtYield(1);
    EXPECT_EQ(snapshot::walkRegistry(m.registry, m.files, m.run, Hive::CurrentUser, "", "C:\\k", "", nullptr, "C:\\v"),
              snapshot::UpdateOutcome::Cancelled);
    EXPECT_FALSE(m.files.exists("C:\\k") || m.files.exists("C:\\v"));
}

TEST(RegistryValues, FindChangesReportsValuesOfOldKeysAndPassesOverIgnoredOnes) {
    Installed i;
    const shell::KeyIgnoreList ignore("HKEY_CURRENT_USER\\Software\\Churn\x7fHKEY_CURRENT_USER\\Environment\x7f");
    EXPECT_EQ(i.compare(&ignore), (Rows{"added Software\\Vendor\\App [] default / ",
                                        "changed Software\\Vendor\\App [Twice] third / first",
                                        "changed Environment [PATH] C:\\Win;C:\\App / C:\\Win",
                                        "removed Software\\Vendor\\App [Gone]  / old"}));
    ASSERT_EQ(i.m.files.deleteFile("C:\\oldValues"), Status::Ok);
    EXPECT_EQ(i.compare(), Rows{}) << "a snapshot of keys alone compares no values";
}

// Through the viewer: Delete puts every value back, the undo record takes it all back again,
// and a value changed since is left alone unless the user says so.
TEST(RegistryValues, DeleteTakesValuesBackAndUndoRedoesThem) {
    Installed i;
    auto& reg = i.m.registry;
    i.compare();
    i.m.files.addFolder("C:\\Work");
    ASSERT_EQ(i.m.files.moveFile("C:\\out", "C:\\Work\\hkcuvalues.qdb", true), Status::Ok);
    reg.setString(Hive::CurrentUser, "Software\\Quillon\\Scanning", "RegScan", "1");
    i.m.files.addFile("C:\\Work\\hkcuchanges.qdb", "", FileAttr::Hidden);
    review::LoadPorts load{i.m.files, reg, i.m.shell, i.m.run};
    review::ChangeSet set = review::loadChanges(load, "C:\\Work\\");
    ASSERT_EQ(set.values.size(), 5u);
    reg.setValue(Hive::CurrentUser, "Software\\Churn", "Seed", text("3"));  // changed again since
    i.m.prompter.answer(MsgAnswer::No);
    shell::RemovalPorts ports{reg, i.m.files, i.m.shell, i.m.desktop, i.m.prompter, i.m.run, i.m.clock, "C:\\Data\\"};
    struct NoDll final : review::InUsePrompt {
        review::InUseAnswer ask(std::string_view) override { return review::InUseAnswer::Skip; }
    } inUse;
    review::RemovalContext context{ports, inUse, {"C:\\Windows\\", "C:\\", "C:\\Work\\"}};
    review::deleteSelected(context, set, {.values = {0, 1, 2, 3, 4}}, false);
    ASSERT_EQ(set.values.size(), 1u) << "the value changed since stays";
    EXPECT_EQ(valueOf(reg, Hive::CurrentUser, App, ""), std::nullopt);
    EXPECT_EQ(reg.stringValue(Hive::CurrentUser, App, "Twice"), "first");
    EXPECT_EQ(reg.stringValue(Hive::CurrentUser, App, "Gone"), "old");
    EXPECT_EQ(reg.stringValue(Hive::CurrentUser, "Software\\Churn", "Seed"), "3");

    i.m.prompter.answer(MsgAnswer::Yes);
    i.m.prompter.answer(MsgAnswer::Ok);
    undo::RestorePorts restore{reg, i.m.files, i.m.shell, i.m.prompter, "C:\\Data\\", "C:\\Work\\"};
    undo::undoLastRemoval(restore);
    EXPECT_EQ(reg.stringValue(Hive::CurrentUser, App, ""), "default");
    EXPECT_EQ(reg.stringValue(Hive::CurrentUser, App, "Twice"), "third");
    EXPECT_EQ(valueOf(reg, Hive::CurrentUser, App, "Gone"), std::nullopt);
}

// A list keeps its values in a seventh section that review reads; a list of six sections, as
// earlier versions wrote them, still reads.
TEST(RegistryValues, AListCarriesValuesInASeventhSection) {
    fakes::FakeMachine m;
    review::ChangeSet set;
    set.keys = {{"App", "HKEY_LOCAL_MACHINE\\Software\\"}};
    set.values = {{"HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Run", "App", "added",
                   encodeValueData(text("C:\\App\\app.exe")), ""}};
    ASSERT_TRUE(review::writeSelectedRows(m.files, "C:\\app.qdf", set, {.keys = {0}, .values = {0}}).written);
    const std::string list = *m.files.content("C:\\app.qdf");
    EXPECT_NE(list.find("}\r\nConfig.sys{\r\n}\r\nValues{\r\nHKEY_LOCAL_MACHINE\\Software"), std::string::npos) << list;
    m.files.addFile("C:\\six.qdf", list.substr(0, list.find("Values{")));
    m.files.addFolder("C:\\Work");
    m.registry.setString(Hive::CurrentUser, "Software\\Quillon\\Scanning", "RegScan", "1");
    m.registry.createKey(Hive::LocalMachine, "Software\\App");
    for (const auto& [path, values] : {std::pair{"C:\\app.qdf", 1u}, {"C:\\six.qdf", 0u}}) {
        ASSERT_TRUE(review::convertRemovalList(m.files, m.run, path, "C:\\Work\\")) << path;
        review::LoadPorts load{m.files, m.registry, m.shell, m.run};
        const review::ChangeSet back = review::loadChanges(load, "C:\\Work\\");
        EXPECT_EQ(back.keys.size(), 1u) << path;
        ASSERT_EQ(back.values.size(), values) << path;
        EXPECT_TRUE(!values || back.values[0].newData == set.values[0].newData) << path;
    }
}

}  // namespace
}  // namespace quillon
