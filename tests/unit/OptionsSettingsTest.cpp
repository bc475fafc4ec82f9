#include <gtest/gtest.h>

#include <functional>

#include "options/OptionsSettings.h"
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

    void set(std::string_view key, std::string_view name, std::string_view text) {
        registry.setString(HKCU, std::string("Software\\Quillon\\") + std::string(key), name, text);
    }
    std::string get(std::string_view key, std::string_view name) {
        return registry.stringValue(HKCU, std::string("Software\\Quillon\\") + std::string(key), name).value_or("<none>");
    }
};

TEST_F(OptionsMapping, ReadsEachValueByItsRule) {
    struct Row {
        const char* key;
        const char* name;
        const char* text;
        std::function<bool(const OptionsSettings&)> shows;
    };
    const Row rows[] = {
        {"Scanning", "ScanMode", "7", [](auto& o) { return o.scanMode == ScanMode::All; }},
        {"Scanning", "ScanMode", "2", [](auto& o) { return o.scanMode == ScanMode::WindowsOnly; }},
        {"Scanning", "RegFullScan", "", [](auto& o) { return o.regFullScan; }},
        {"Scanning", "RegFullScan", "0", [](auto& o) { return !o.regFullScan; }},
        {"Scanning", "WinIniScan", "0", [](auto& o) { return !o.systemFilesScan; }},
        {"General", "DeleteMode", "3", [](auto& o) { return o.deleteMode == DeleteMode::Zip; }},
        {"Scheduler", "Enabled", "0", [](auto& o) { return !o.enabled; }},
        {"Scheduler", "Weekly", "3", [](auto& o) { return o.schedule == Schedule::Weekly && o.weekDay == 3; }},
        {"Scheduler", "Weekly", "0", [](auto& o) { return o.schedule == Schedule::None && o.weekDay == 2; }},
        {"Scheduler", "Monthly", "12", [](auto& o) { return o.schedule == Schedule::Monthly && o.monthDays == 12; }},
        {"Scheduler", "Monthly", "", [](auto& o) { return o.schedule == Schedule::None && o.monthDays == 3; }},
        {"Scheduler", "EveryDay", "1", [](auto& o) { return o.schedule == Schedule::EveryDay; }},
        {"Scheduler", "OldDelDays", "x9", [](auto& o) { return o.oldDelDays == 7; }},
        {"Scheduler", "OldDelDays", "5000", [](auto& o) { return o.oldDelDays == MaxOldDelDays; }},
        {"Sys Clean", "ShowAllScans", "yes", [](auto& o) { return !o.showAllScans; }},
        {"Sys Clean", "ShowAllScans", "1", [](auto& o) { return o.showAllScans; }},
    };
    for (const Row& row : rows) {
        fakes::FakeRegistry fresh;
        fresh.setString(HKCU, std::string("Software\\Quillon\\") + row.key, row.name, row.text);
        EXPECT_TRUE(row.shows(readOptions(fresh, files))) << row.key << "\\" << row.name << " = " << row.text;
    }
}

TEST_F(OptionsMapping, WeeklyWinsOverMonthlyAndListsReadAsRows) {
    set("Scheduler", "Monthly", "4");
    set("Scheduler", "Weekly", "7");
    files.addFolder("C:\\Keep");
    set("Scanning", "FoldersToIgnore", std::string("C:\\Keep\\") + Sep + Sep + "C:\\Gone\\" + Sep);
    set("Scheduler", "WindowsToIgnore", std::string("setup.exe") + Sep + "1024" + Sep + "odd.exe" + Sep);
    set("Scheduler", "WindowsToIgnoreInfo", std::string("C:\\Setup\\") + Sep + "Monday, Dec 7 2026" + Sep);
    const OptionsSettings read = readOptions(registry, files);
    EXPECT_EQ(read.schedule, Schedule::Weekly);
    EXPECT_EQ(read.weekDay, 7);
    EXPECT_EQ(read.foldersToIgnore, std::vector<std::string>{"C:\\Keep\\"});
    EXPECT_EQ(read.programsToIgnore,
              (std::vector<IgnoredProgram>{{"setup.exe", "C:\\Setup\\", "Monday, Dec 7 2026", "1024"}}));

    writeOptions(registry, read, Program);
    EXPECT_EQ(get("Scanning", "FoldersToIgnore"), std::string("C:\\Keep\\") + Sep) << "the gone folder is dropped";
    EXPECT_EQ(get("Scheduler", "WindowsToIgnore"), std::string("setup.exe") + Sep + "1024" + Sep);
}

TEST_F(OptionsMapping, WritesEveryValueInOrderWithTheRunKey) {
    for (const char* key : {"Scanning", "General", "Scheduler", "Sys Clean"})
        registry.createKey(HKCU, std::string("Software\\Quillon\\") + key);
    OptionsSettings chosen;
    chosen.scanMode = ScanMode::ProgramFilesOnly;
    chosen.systemFilesScan = false;
    chosen.schedule = Schedule::EveryDay;
    chosen.weekDay = 3;
    chosen.driveName = "Local hard drives (C:,D:)";
    writeOptions(registry, chosen, Program);

    std::vector<std::string> names;
    for (const std::string& line : registry.writeLog())
        if (line.starts_with("set ")) names.push_back(line.substr(line.rfind('\\') + 1));
    EXPECT_EQ(names, (std::vector<std::string>{
                         "FoldersToIgnore", "ScanMode", "AutoUpdateDb", "RegScan", "RegFullScan", "WinIniScan",
                         "SystemIniScan", "ConfigSysScan", "AutoexecScan", "DeleteMode", "SetupDetect", "TempFiles",
                         "TempFolders", "DLLFiles", "ScanDisk", "Defragmentor", "ChangesStartup", "Enabled", "Drive",
                         "DriveName", "EveryDay", "Monthly", "Weekly", "OldDel", "OldDelDays", "WindowsToIgnore",
                         "WindowsToIgnoreInfo", "ShowAllScans", "Quillon Scheduler"}));
    for (const char* file : {"WinIniScan", "SystemIniScan", "ConfigSysScan", "AutoexecScan"})
        EXPECT_EQ(get("Scanning", file), "0") << file;
    EXPECT_EQ(get("Scanning", "ScanMode"), "3");
    EXPECT_EQ(get("Scheduler", "Drive"), "C:,D:");
    EXPECT_EQ(get("Scheduler", "Weekly"), "0") << "only the selected schedule keeps its day";
    EXPECT_EQ(get("Scheduler", "EveryDay"), "1");
    EXPECT_EQ(registry.stringValue(HKCU, settings::RunKey, "Quillon Scheduler"),
              "C:\\Program Files\\Quillon\\Quillon Scheduler.exe");

    chosen.enabled = false;
    writeOptions(registry, chosen, Program);
    EXPECT_FALSE(registry.stringValue(HKCU, settings::RunKey, "Quillon Scheduler"));
    EXPECT_EQ(get("Scheduler", "Enabled"), "0");
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

}  // namespace
}  // namespace quillon::options
