#include <gtest/gtest.h>

#include "shell/DriveList.h"
#include "shell/FirstRunDefaults.h"
#include "shell/FormatSize.h"
#include "shell/IgnoreList.h"
#include "shell/MainStartUp.h"
#include "shell/Settings.h"
#include "support/FakeMachine.h"
#include "support/RecordingOperations.h"

namespace quillon::shell {
namespace {

const std::string Sep(1, settings::ListSeparator);

class ShellLogic : public ::testing::Test {
protected:
    fakes::FakeMachine m;
    fakes::RecordingOperations ops;

    void general(std::string_view name, std::string_view text) {
        m.registry.setString(Hive::CurrentUser, settings::GeneralKey, name, text);
    }
    MainState start(std::string_view commandLine = "") {
        StartUpPorts ports{m.registry, m.files, m.shell, m.desktop, m.clock};
        MainState state;
        startMainProgram(ports, commandLine, ops, state);
        return state;
    }
};

// The scheduler starts with Windows unless the user emptied its entry; a list opens in the uninstall.
TEST(ShellFirstRun, SchedulerEntryTheUserEmptiedStaysOffAndAListOpensInTheUninstall) {
    for (const bool emptied : {false, true}) {
        fakes::FakeRegistry reg;
        if (emptied) reg.setString(Hive::CurrentUser, settings::RunKey, "Quillon Scheduler", "");
        writeFirstRunDefaults(reg, {fakes::FakeMachine::ProgramFolder, "C:\\", ""});
        EXPECT_EQ(reg.stringValue(Hive::CurrentUser, "Software\\Quillon\\Scheduler", "Enabled"), emptied ? "0" : "1");
        EXPECT_EQ(reg.stringValue(Hive::CurrentUser, settings::RunKey, "Quillon Scheduler"),
                  emptied ? "" : "C:\\Program Files\\Quillon\\Quillon Scheduler.exe");
        EXPECT_EQ(reg.stringValue(Hive::ClassesRoot, "QuillonUninstall\\Shell\\Uninstall\\Command", ""),
                  "\"C:\\Program Files\\Quillon\\Quillon.exe\" \"%1\"");
    }
}

TEST(ShellFormatSize, AcrossUnitBoundaries) {
    constexpr double KB = 1024, MB = KB * 1024, GB = MB * 1024, TB = GB * 1024;
    struct Row { double bytes; bool withDecimal; const char* text; };
    const Row rows[] = {
        {0, false, "0KB"},         {511, true, "0KB"},           {512, false, "1KB"},        {1536, true, "1.5 KB"},
        {1536, false, "1KB"},      {2047, true, "1.9 KB"},       {MB - 1, true, "1023.9 KB"}, {MB, false, "1MB"},
        {5400000000.0, true, "5GB"}, {1.5 * GB, true, "1.5 GB"}, {1.5 * TB, true, "1.5 TB"}, {2048 * TB, false, "2048TB"},
    };
    for (const auto& r : rows) EXPECT_EQ(formatSize(r.bytes, r.withDecimal), r.text) << r.bytes << " " << r.withDecimal;
}

TEST_F(ShellLogic, StartShowsTheDrivesTheSentenceOfTheSelectedEntryAndTheFirstFourRemovalListsThatExist) {
    m.files.addDrive('D', DriveType::Fixed, "DATA");
    m.files.addDrive('E', DriveType::CdRom, "DISC");
    general("DriveName", "Local hard drives (C:,D:)");
    m.files.addFile("C:\\Program Files\\Quillon\\Cdbase.qdb", "", FileAttr::Hidden, {2026, 12, 6, 15, 4, 5});
    std::string saved = "C:\\Lists\\Gone.qdf" + Sep + Sep;
    for (const char* name : {"Prog1", "Prog2", "Prog3", "Prog4", "Prog5"}) {
        m.files.addFile("C:\\Lists\\" + std::string(name) + ".qdf");
        saved += "C:\\Lists\\" + std::string(name) + ".qdf" + Sep;
    }
    general("SavedForDeletion", saved);
    const MainState s = start();
    EXPECT_EQ(s.driveEntries, (std::vector<std::string>{"(C:) SYSTEM", "(D:) DATA", "Local hard drives (C:,D:)"}));
    EXPECT_EQ(s.selectedDrive, 2u);
    EXPECT_EQ(s.lastScanned, "This drive was last scanned on 12/6/2026 3:04:05 PM");
    std::vector<std::string> shown;
    for (const auto& list : s.recentLists) shown.push_back(list.caption + " " + list.path);
    EXPECT_EQ(shown, (std::vector<std::string>{"Prog1 C:\\Lists\\Prog1.qdf", "Prog2 C:\\Lists\\Prog2.qdf",
                                               "Prog3 C:\\Lists\\Prog3.qdf", "Prog4 C:\\Lists\\Prog4.qdf"}));
    saveSelectedDrive(m.registry, "(D:) DATA");
    EXPECT_EQ(m.registry.stringValue(Hive::CurrentUser, settings::GeneralKey, "DriveName"), "(D:) DATA");

    const std::pair<const char*, const char*> tokens[] = {
        {"(C:) SYSTEM", "C:"}, {"(D:) ", "D:"}, {"Local hard drives (C:,D:,G:)", "C:,D:,G:"}, {"Local hard drives ()", ""}};
    for (const auto& [entry, token] : tokens) EXPECT_EQ(driveToken(entry), token) << entry;
    EXPECT_EQ(entryIndex(s.driveEntries, "(D:) RENAMED"), 1u);
    EXPECT_EQ(entryIndex(s.driveEntries, "(E:) GONE"), 0u);
    EXPECT_EQ(tokenDrives("C:,D:,G:"), (std::vector<std::string>{"C:", "D:", "G:"}));
    EXPECT_EQ(snapshotPath("C:\\Data\\", "D:,E:"), "C:\\Data\\Ddbase.qdb");
}

TEST_F(ShellLogic, CommandLineRunsItsOperationEvenWithAnotherInstance) {
    m.files.addFile("C:\\Lists\\my game.qdf", "Files{", FileAttr::Hidden | FileAttr::ReadOnly);
    m.files.addFolder("C:\\Lists\\Folder.qdf");
    const std::pair<const char*, std::vector<std::string>> rows[] = {
        {"\\u", {"update"}}, {"\\f", {"find"}}, {"\"C:\\Lists\\my game.qdf\"", {"uninstall C:\\Lists\\my game.qdf"}},
        {"C:\\Lists\\my game.qdf", {"uninstall C:\\Lists\\my game.qdf"}},  // as Explorer may pass it
        {"\"C:\\Lists\\Missing.qdf\"", {}}, {"\"C:\\Lists\\Folder.qdf\"", {}}, {"\\U", {}}, {"", {}},
    };
    m.desktop.setAnotherInstanceRunning(true);
    for (const auto& [commandLine, calls] : rows) {
        ops.calls.clear();
        const MainState s = start(commandLine);
        EXPECT_EQ(ops.calls, calls) << commandLine;
        EXPECT_TRUE(s.endProgram) << commandLine;
    }
    m.desktop.setAnotherInstanceRunning(false);
    EXPECT_FALSE(start("\"C:\\Lists\\Missing.qdf\"").endProgram);
}

// The Start menu and the programs' own settings live in the data folders; only the parts
// Windows keeps rewriting are passed over.
TEST(StartUp, TheIgnoreListKeepsTheDataFoldersButNotTheirChangingParts) {
    fakes::FakeMachine m;
    m.shell.setSpecialFolder(Csidl::LocalAppData, "C:\\Users\\Ann\\Local");
    const IgnoreList list(defaultFoldersToIgnore(m.shell, m.desktop, m.files));
    for (const char* kept : {"C:\\Users\\Ann\\AppData\\", "C:\\Users\\Ann\\AppData\\Vendor\\App\\",
                             "C:\\Users\\Ann\\AppData\\Microsoft\\Windows\\Start Menu\\Programs\\",
                             "C:\\Users\\Ann\\Local\\Vendor\\"})
        EXPECT_FALSE(list.ignores(kept)) << kept;
    for (const char* passedOver : {"C:\\Users\\Ann\\AppData\\Microsoft\\Protect\\",
                                   "C:\\Users\\Ann\\Local\\Microsoft\\Windows\\Explorer\\", "C:\\Windows\\Temp\\"})
        EXPECT_TRUE(list.ignores(passedOver)) << passedOver;
}

}  // namespace
}  // namespace quillon::shell
