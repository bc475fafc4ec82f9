#include <gtest/gtest.h>

#include <functional>

#include "options/OptionsSettings.h"
#include "shell/KeyIgnoreList.h"
#include "shell/Settings.h"
#include "support/fakes.h"

namespace quillon::options {
namespace {

constexpr Hive HKCU = Hive::CurrentUser;
constexpr char Sep = settings::ListSeparator;
constexpr const char* Program = "C:\\Program Files\\Quillon\\";

struct OptionsMapping : ::testing::Test {
    fakes::FakeRegistry registry;
    fakes::FakeFileSystem files;

    OptionsMapping() { files.addFolder("C:\\Keep"); }

    void set(std::string_view key, std::string_view name, std::string_view text) {
        registry.setString(HKCU, std::string("Software\\Quillon\\") + std::string(key), name, text);
    }
    std::string get(std::string_view key, std::string_view name) {
        return registry.stringValue(HKCU, std::string("Software\\Quillon\\") + std::string(key), name).value_or("<none>");
    }
};

TEST_F(OptionsMapping, ReadsEachValueByItsRule) {
    using Shows = std::function<bool(const OptionsSettings&)>;
    struct Row { const char* key; const char* name; std::string text; Shows shows; };
    const Row rows[] = {
        {"Scanning", "ScanMode", "7", [](auto& o) { return o.scanMode == ScanMode::All; }},
        {"Scanning", "ScanMode", "2", [](auto& o) { return o.scanMode == ScanMode::WindowsOnly; }},
        {"Scanning", "RegFullScan", "", [](auto& o) { return o.regFullScan; }},
        {"Scheduler", "Monthly", "12", [](auto& o) { return o.schedule == Schedule::Monthly && o.monthDays == 12; }},
        {"Scheduler", "OldDelDays", "x9", [](auto& o) { return o.oldDelDays == 7; }},
        {"Scanning", "FoldersToIgnore", std::string("C:\\Keep\\") + Sep + Sep + "C:\\Gone\\" + Sep,
         [](auto& o) { return o.foldersToIgnore == std::vector<std::string>{"C:\\Keep\\"}; }},
    };
    for (const Row& row : rows) {
        fakes::FakeRegistry fresh;
        fresh.setString(HKCU, std::string("Software\\Quillon\\") + row.key, row.name, row.text);
        EXPECT_TRUE(row.shows(readOptions(fresh, files))) << row.key << "\\" << row.name << " = " << row.text;
    }
    set("Scheduler", "Monthly", "4");
    set("Scheduler", "Weekly", "7");
    const OptionsSettings weekly = readOptions(registry, files);
    EXPECT_TRUE(weekly.schedule == Schedule::Weekly && weekly.weekDay == 7) << "a weekly day wins over a monthly run";
}

// What is written reads back as chosen; the other programs read single values of their own.
TEST_F(OptionsMapping, WrittenOptionsReadBackAndRegisterTheScheduler) {
    for (const char* key : {"Scanning", "General", "Scheduler", "Sys Clean"})
        registry.createKey(HKCU, std::string("Software\\Quillon\\") + key);
    OptionsSettings chosen;
    chosen.foldersToIgnore = {"C:\\Keep\\"};
    chosen.scanMode = ScanMode::ProgramFilesOnly;
    chosen.systemFilesScan = false;
    chosen.deleteMode = DeleteMode::Zip;
    chosen.schedule = Schedule::EveryDay;
    chosen.driveName = "Local hard drives (C:,D:)";
    chosen.oldDelDays = 30;
    chosen.programsToIgnore = {{"setup.exe", "C:\\Setup\\", "Monday, Dec 7 2026", "1024"}};
    chosen.showAllScans = true;
    writeOptions(registry, chosen, Program);
    EXPECT_EQ(readOptions(registry, files), chosen);
    for (const char* file : {"WinIniScan", "SystemIniScan", "ConfigSysScan", "AutoexecScan"})
        EXPECT_EQ(get("Scanning", file), "0") << file;
    EXPECT_EQ(get("Scheduler", "Drive"), "C:,D:");
    EXPECT_EQ(registry.stringValue(HKCU, settings::RunKey, "Quillon Scheduler"),
              "C:\\Program Files\\Quillon\\Quillon Scheduler.exe");

    chosen.enabled = false;
    writeOptions(registry, chosen, Program);
    EXPECT_FALSE(registry.stringValue(HKCU, settings::RunKey, "Quillon Scheduler"));
    EXPECT_EQ(readOptions(registry, files), chosen);
}

TEST_F(OptionsMapping, AKeyThatCannotBeOpenedShowsTheDesignStateAndAMissingOneIsNotMade) {
    set("Scanning", "ScanMode", "2");
    set("Scanning", "RegScan", "1");
    registry.markUnopenable(HKCU, "Software\\Quillon\\Scanning");
    const OptionsSettings read = readOptions(registry, files);
    EXPECT_EQ(read, OptionsSettings{});
    writeOptions(registry, read, Program);
    EXPECT_FALSE(registry.keyExists(HKCU, "Software\\Quillon\\Scheduler")) << "only General is created";
    EXPECT_EQ(get("General", "DeleteMode"), "0");
}

// A key typed for the registry ignore list.
TEST(OptionsRegistry, ATypedKeyIsListedInFullOrRefusedWithItsReason) {
    using enum KeyEntryProblem;
    const std::tuple<const char*, const char*, std::optional<KeyEntryProblem>> rows[] = {
        {" HKCU\\Software\\Vendor\\ ", "HKEY_CURRENT_USER\\Software\\Vendor", std::nullopt},
        {"hkey_local_machine\\Software\\Run\\Me", nullptr, AlwaysCompared},
        {"hkcu\\software\\quillon\\", nullptr, Listed},
        {"HKEY_CLASSES_ROOT\\.abc", nullptr, NotAKey},
        {"HKCU\\", nullptr, NotAKey},
    };
    for (const auto& [typed, row, problem] : rows) {
        const KeyEntry entry = keyEntry(typed, {"HKEY_CURRENT_USER\\Software\\Quillon"});
        EXPECT_EQ(entry.problem, problem) << typed;
        EXPECT_TRUE(!row || entry.row == row) << typed << " listed as " << entry.row;
    }
}

}  // namespace
}  // namespace quillon::options
