// The preview of an uninstall beside another program's saved list that shares a vendor folder,
// a vendor key and a SharedDLLs count.
#include <gtest/gtest.h>

#include <map>

#include "platform/ValueLine.h"
#include "review/SavedForDeletion.h"
#include "review/UninstallFromDataFile.h"
#include "review/ValueRows.h"
#include "shell/Settings.h"
#include "support/FakeMachine.h"
#include "support/TextLines.h"
#include "support/PromptedPreview.h"

namespace quillon::review {
namespace {

using Lines = std::vector<std::string>;
using Found = std::map<std::string, std::pair<PreviewClass, bool>>;  // item: class, ticked
constexpr const char* One = "C:\\Lists\\One.qdf";
constexpr const char* Two = "C:\\Lists\\Two.qdf";
constexpr const char* SharedDlls = "HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs";
const std::string S(1, settings::ListSeparator);

RegValue count(char n) { return {RegType::Dword, std::string{n, 0, 0, 0}}; }
// `before` none: the value was added.
std::string valueLine(std::string key, std::string name, const char* change, const RegValue& now,
                      std::optional<RegValue> before) {
    return valueEntry({std::move(key), std::move(name), change, encodeValueData(now), before ? encodeValueData(*before) : ""});
}

struct World {
    fakes::FakeMachine m;
    shell::RemovalPorts ports{m.registry, m.files, m.shell, m.desktop, m.prompter, m.run, m.clock, "C:\\Data\\"};
    fakes::PromptedPreview prompt{m.prompter};
    struct : InUsePrompt {
        InUseAnswer ask(std::string_view) override { return InUseAnswer::Skip; }
    } inUse;
    RemovalContext context{ports, inUse, {"C:\\Windows\\", "C:\\", "C:\\Work\\"}};

    World() {
        for (const char* file : {"C:\\Vendor\\One\\one.exe", "C:\\Vendor\\Two\\two.exe", "C:\\Vendor\\common.dll",
                                 "C:\\Apps\\one.exe", "C:\\Apps\\late.txt", "C:\\Apps\\run.dll", "C:\\Отдел\\Sub\\a.txt"})
            m.files.addFile(file, "x");
        m.files.setLastWrite("C:\\Apps\\late.txt", {2026, 12, 2});  // the rest are older than the lists
        m.files.addFolder("C:\\Work");
        m.files.addFile("C:\\Windows\\win.ini", "[windows]\r\nload=one.exe\r\n");
        m.desktop.addProcess(7, "host.exe", {"C:\\Host\\host.exe", "C:\\Apps\\run.dll"});
        for (const char* key : {"Software\\One", "Software\\Vendor\\One", "Software\\Vendor\\Two"})
            m.registry.createKey(Hive::LocalMachine, key);
        m.registry.setValue(Hive::LocalMachine, "Software\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs",
                            "C:\\Vendor\\common.dll", count(2));
        m.registry.setValue(Hive::CurrentUser, "Environment", "Path", {RegType::ExpandSz, "C:\\Win;C:\\One;C:\\X"});
        list(One, {"C:\\Vendor\\", "C:\\Отдел\\", "C:\\Apps\\one.exe", "C:\\Apps\\late.txt", "C:\\Apps\\gone.txt", "C:\\Apps\\run.dll",
                   "C:\\Windows"},
             {"HKEY_LOCAL_MACHINE\\Software\\One", "HKEY_LOCAL_MACHINE\\Software\\Vendor", "HKEY_LOCAL_MACHINE\\Software",
              "HKEY_LOCAL_MACHINE\\Software\\Gone"},
             {"load=one.exe" + S + " " + S, "run=gone" + S + " " + S},
             {valueLine(SharedDlls, "C:\\Vendor\\common.dll", "added", count(1), std::nullopt),
              valueLine("HKEY_CURRENT_USER\\Environment", "Path", "changed", {RegType::ExpandSz, "C:\\Win;C:\\One"}, RegValue{RegType::ExpandSz, "C:\\Win"})});
        list(Two, {"C:\\Vendor\\Two\\", "c:\\ОТДЕЛ\\sub\\"}, {"HKEY_LOCAL_MACHINE\\Software\\Vendor\\Two"}, {},
             {valueLine(SharedDlls, "C:\\Vendor\\common.dll", "changed", count(2), count(1))});
    }
    void list(const char* path, const Lines& files, const Lines& keys, const Lines& lines, const Lines& values) {
        std::string text;
        for (const auto& [header, entries] : {std::pair{"Files{", &files}, {"Registry{", &keys}, {"Win.ini{", &lines},
                                              {"System.ini{\r\n}\r\nAutoexec.bat{\r\n}\r\nConfig.sys{\r\n}\r\nValues{", &values}})
            text += std::string(header) + "\r\n" + fakes::crlfText(*entries) + "}\r\n";
        m.files.addFile(path, text);
        m.files.setLastWrite(path, {2026, 12, 1, 9, 0, 0});
        addSavedForDeletion(m.registry, path);
    }
};

TEST(UninstallPreview, EachEntryIsClassifiedBesideTheOtherSavedLists) {
    World w;
    w.m.prompter.answer(MsgAnswer::No);
    uninstallFromDataFile(w.context, w.prompt, One, false);
    Found found;
    for (const PreviewEntry& e : w.prompt.shown.entries) found[e.item] = {e.what, e.ticked};
    using enum PreviewClass;
    const Found expected = {
        {"C:\\Vendor\\", {Shared, false}},
        {"C:\\Отдел\\", {Shared, false}},  // the same folder in another case, beyond ASCII
        {"C:\\Apps\\one.exe", {Present, true}},
        {"C:\\Apps\\late.txt", {Changed, false}},
        {"C:\\Apps\\gone.txt", {Gone, false}},
        {"C:\\Apps\\run.dll", {InUse, false}},
        {"C:\\Windows", {Refused, false}},
        {"HKEY_LOCAL_MACHINE\\Software\\One", {Present, true}},
        {"HKEY_LOCAL_MACHINE\\Software\\Vendor", {Shared, false}},
        {"HKEY_LOCAL_MACHINE\\Software", {Refused, false}},
        {"HKEY_LOCAL_MACHINE\\Software\\Gone", {Gone, false}},
        {"load=one.exe", {Present, true}},
        {"run=gone", {Gone, false}},
        {std::string(SharedDlls) + "\\[C:\\Vendor\\common.dll]", {Shared, false}},
        {"HKEY_CURRENT_USER\\Environment\\[Path]", {Changed, false}},
    };
    EXPECT_EQ(found, expected);
    EXPECT_NE(w.m.prompter.messages().at(0).text.find("Also in another saved list: 4"), std::string::npos);
}

// Ticking everything: from the menu shared and changed entries go too; from the command line they
// stay in the list with their reason. Either way One's list no longer claims anything.
TEST(UninstallPreview, TheCommandLineNeverRemovesSharedOrChangedEntries) {
    for (const bool fromCommandLine : {true, false}) {
        World w;
        w.prompt.tickEverything = true;
        // Yes to the preview and, from the menu, to the door's question on each value changed since.
        for (int yes = fromCommandLine ? 2 : 0; yes < 3; ++yes) w.m.prompter.answer(MsgAnswer::Yes);
        w.m.prompter.answer(MsgAnswer::Ok);
        uninstallFromDataFile(w.context, w.prompt, One, fromCommandLine);
        EXPECT_FALSE(w.m.files.exists("C:\\Apps\\one.exe"));
        EXPECT_TRUE(w.m.files.exists("C:\\Apps\\run.dll")) << "in use: never ticked";
        for (const char* kept : {"C:\\Vendor\\Two\\two.exe", "C:\\Apps\\late.txt"})
            EXPECT_EQ(w.m.files.exists(kept), fromCommandLine) << kept;
        EXPECT_EQ(w.m.registry.keyExists(Hive::LocalMachine, "Software\\Vendor\\Two"), fromCommandLine);
        const std::string left = w.m.files.content(One).value_or("");
        for (const std::string& why : {"also in Two (C:\\Lists\\Two.qdf)" + S + "C:\\Vendor\\\r\n",
                                      "written after the list was saved" + S + "C:\\Apps\\late.txt\r\n"})
            EXPECT_EQ(left.find(why) != std::string::npos, fromCommandLine) << left;
        EXPECT_EQ(savedForDeletionLists(w.m.registry), Lines{Two});
    }
}

}  // namespace
}  // namespace quillon::review
