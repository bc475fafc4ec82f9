#include <gtest/gtest.h>

#include "support/FakeMachine.h"
#include "support/RecordingOperations.h"
#include "shell/CommandLine.h"
#include "shell/DriveList.h"
#include "shell/MainStartUp.h"
#include "shell/RecentRemovalLists.h"
#include "shell/Settings.h"

namespace quillon::shell {
namespace {

const std::string Sep(1, settings::ListSeparator);

using fakes::RecordingOperations;

class StartUp : public ::testing::Test {
protected:
    fakes::FakeMachine m;
    RecordingOperations ops;
    StartUpPorts ports{m.registry, m.files, m.shell, m.desktop, m.clock};

    MainState start(std::string_view commandLine = "") {
        MainState state;
        startMainProgram(ports, commandLine, ops, state);
        return state;
    }
    void general(std::string_view name, std::string_view text) {
        m.registry.setString(Hive::CurrentUser, settings::GeneralKey, name, text);
    }
};

TEST_F(StartUp, FirstStartWritesDefaultsAndKnowsNoSnapshot) {
    const MainState s = start();
    EXPECT_EQ(s.dataFolder, "C:\\Program Files\\Quillon\\");
    EXPECT_EQ(m.registry.stringValue(Hive::CurrentUser, settings::GeneralKey, "DefaultPath"), "C:\\Program Files\\Quillon\\");
    EXPECT_EQ(m.registry.stringValue(Hive::CurrentUser, settings::ScanningKey, "RegScan"), "1");
    EXPECT_EQ(s.lastScanned, "This drive has not been scanned.");
    EXPECT_EQ(s.driveEntries, (std::vector<std::string>{"(C:) SYSTEM", "Local hard drives (C:)"}));
    EXPECT_EQ(s.selectedDrive, 0u) << "the default DriveName C:\\ names no entry";
    EXPECT_FALSE(s.endProgram);
    EXPECT_TRUE(ops.calls.empty());
}

TEST_F(StartUp, DataFolderFallsBackToTheProgramFolder) {
    struct Row { const char* stored; const char* dataFolder; const char* rewritten; };
    m.files.addDrive('D', DriveType::Fixed, "DATA");
    m.files.addFolder("D:\\Snapshots");
    const Row rows[] = {
        {"D:\\Snapshots", "D:\\Snapshots\\", "D:\\Snapshots"},
        {"D:\\Snapshots\\", "D:\\Snapshots\\", "D:\\Snapshots\\"},
        {"", "C:\\Program Files\\Quillon\\", "C:\\Program Files\\Quillon"},
        {"E:\\Gone", "C:\\Program Files\\Quillon\\", "C:\\Program Files\\Quillon"},
    };
    for (const auto& r : rows) {
        general("DefaultPath", r.stored);
        EXPECT_EQ(start().dataFolder, r.dataFolder) << r.stored;
        EXPECT_EQ(m.registry.stringValue(Hive::CurrentUser, settings::GeneralKey, "DefaultPath"), r.rewritten);
    }
    EXPECT_FALSE(m.registry.keyExists(Hive::CurrentUser, settings::ScanningKey)) << "not a first start";
}

TEST_F(StartUp, DriveListAndTheSentenceOfTheSelectedEntry) {
    m.files.addDrive('D', DriveType::Fixed, "DATA");
    m.files.addDrive('E', DriveType::CdRom, "DISC");
    m.files.addDrive('F', DriveType::Removable, "");
    m.files.addFolder("D:\\");
    general("DefaultPath", "C:\\Program Files\\Quillon");
    general("DriveName", "Local hard drives (C:,D:)");
    m.files.addFile("C:\\Program Files\\Quillon\\Cdbase.qdb", "", FileAttr::Hidden, {2026, 12, 6, 15, 4, 5});

    const MainState s = start();
    EXPECT_EQ(s.driveEntries, (std::vector<std::string>{"(C:) SYSTEM", "(D:) DATA", "Local hard drives (C:,D:)"}));
    EXPECT_EQ(s.selectedDrive, 2u);
    EXPECT_EQ(s.lastScanned, "This drive was last scanned on 12/6/2026 3:04:05 PM");
}

TEST_F(StartUp, DriveTokens) {
    struct Row { const char* entry; const char* token; std::vector<std::string> drives; };
    const Row rows[] = {
        {"(C:) SYSTEM", "C:", {"C:"}},
        {"(D:) ", "D:", {"D:"}},
        {"Local hard drives (C:,D:,G:)", "C:,D:,G:", {"C:", "D:", "G:"}},
        {"Local hard drives ()", "", {}},
    };
    for (const auto& r : rows) {
        EXPECT_EQ(driveToken(r.entry), r.token);
        EXPECT_EQ(tokenDrives(driveToken(r.entry)), r.drives) << r.entry;
    }
    EXPECT_EQ(snapshotPath("C:\\Data\\", "D:,E:"), "C:\\Data\\Ddbase.qdb");
}

TEST_F(StartUp, CommandLineRunsItsOperationEvenWithAnotherInstance) {
    m.files.addFile("C:\\Lists\\Game.qdf", "Files{", FileAttr::Hidden | FileAttr::ReadOnly);
    m.files.addFolder("C:\\Lists\\Folder.qdf");
    struct Row { const char* commandLine; std::vector<std::string> calls; bool ends; };
    const Row rows[] = {
        {"\\u", {"update"}, true},
        {"\\f", {"find"}, true},
        {"\"C:\\Lists\\Game.qdf\"", {"uninstall C:\\Lists\\Game.qdf"}, true},
        {"\"C:\\Lists\\Missing.qdf\"", {}, true},        // another instance: ends without acting
        {"\"C:\\Lists\\Folder.qdf\"", {}, true},
        {"\\U", {}, true},
        {"", {}, true},
    };
    m.desktop.setAnotherInstanceRunning(true);
    for (const auto& r : rows) {
        ops.calls.clear();
        const MainState s = start(r.commandLine);
        EXPECT_EQ(ops.calls, r.calls) << r.commandLine;
        EXPECT_EQ(s.endProgram, r.ends) << r.commandLine;
        EXPECT_TRUE(s.recentLists.empty()) << r.commandLine;
    }
    m.desktop.setAnotherInstanceRunning(false);
    ops.calls.clear();
    EXPECT_FALSE(start("\"C:\\Lists\\Missing.qdf\"").endProgram);
    EXPECT_TRUE(ops.calls.empty());
}

TEST_F(StartUp, RecentRemovalListsShowTheFirstFourThatExist) {
    for (int i = 1; i <= 6; ++i) m.files.addFile("C:\\Lists\\Prog" + std::to_string(i) + ".qdf");
    auto captions = [&](const std::string& saved) {
        std::vector<std::string> out;
        for (const auto& r : recentRemovalLists(m.files, saved)) out.push_back(r.caption);
        return out;
    };
    std::string six;
    for (int i = 1; i <= 6; ++i) six += "C:\\Lists\\Prog" + std::to_string(i) + ".qdf" + Sep;
    EXPECT_EQ(captions(six), (std::vector<std::string>{"Prog1", "Prog2", "Prog3", "Prog4"}));

    std::string gapped = "C:\\Lists\\Prog1.qdf" + Sep + "C:\\Lists\\Gone.qdf" + Sep;
    for (int i = 3; i <= 6; ++i) gapped += "C:\\Lists\\Prog" + std::to_string(i) + ".qdf" + Sep;
    EXPECT_EQ(captions(gapped), (std::vector<std::string>{"Prog1", "Prog3", "Prog4", "Prog5"}));
    EXPECT_TRUE(captions("").empty());

    general("DefaultPath", "C:\\Program Files\\Quillon");
    general("SavedForDeletion", six);
    const MainState s = start();
    ASSERT_EQ(s.recentLists.size(), 4u);
    EXPECT_EQ(s.recentLists[3].path, "C:\\Lists\\Prog4.qdf");
}

TEST_F(StartUp, WorkFolderIsTheRootOnlyWhenItCanBeWritten) {
    EXPECT_EQ(start().workFolder, "C:\\");
    EXPECT_FALSE(m.files.exists("C:\\~quillon.probe"));
    m.files.failWritesUnder("C:\\~");
    EXPECT_EQ(start().workFolder, "C:\\Windows\\Temp\\");
}

TEST_F(StartUp, ClosingStoresTheSelectedEntry) {
    start();
    saveSelectedDrive(m.registry, "(C:) SYSTEM");
    EXPECT_EQ(m.registry.stringValue(Hive::CurrentUser, settings::GeneralKey, "DriveName"), "(C:) SYSTEM");
}

}  // namespace
}  // namespace quillon::shell
