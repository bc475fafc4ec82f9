#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "SnapshotRecordingProgress.h"
#include "shell/Settings.h"
#include "snapshot/UpdateDatabase.h"
#include "support/FakeMachine.h"

namespace quillon::snapshot {
namespace {

constexpr const char* Data = "C:\\Program Files\\Quillon\\";
constexpr const char* SystemFilesStep = "Updating System Files database...";
constexpr const char* RegistryStep = "Updating Registry Information database...";

std::string data(std::string_view name) { return std::string(Data) + std::string(name); }

const char* const WorkFiles[] = {"C:\\dbstemp.qdb", "C:\\RegTemp.qdb", "C:\\RegTemp2.qdb"};

// What the data folder holds before the run: an old version of every snapshot.
const char* const Snapshots[] = {"Cdbase.qdb",   "Ddbase.qdb",    "hkcuReg.qdb", "hklmReg.qdb",
                                 "Autoexec.qdb", "configSys.qdb", "winIni.qdb",  "systemIni.qdb"};

struct ConfigRow {
    const char* source;
    const char* copy;
    std::string_view setting;
};
const ConfigRow ConfigFiles[] = {
    {"C:\\autoexec.bat", "Autoexec.qdb", settings::scanning::AutoexecScan},
    {"C:\\config.sys", "configSys.qdb", settings::scanning::ConfigSysScan},
    {"C:\\Windows\\win.ini", "winIni.qdb", settings::scanning::WinIniScan},
    {"C:\\Windows\\system.ini", "systemIni.qdb", settings::scanning::SystemIniScan},
};

// The keys the staged registry holds, the hive's root included.
constexpr int HkcuKeys = 4;  // "", Software, Software\Acme, AppEvents
constexpr int HklmKeys = 4;  // "", SYSTEM, SOFTWARE, SOFTWARE\ClassesX

// A machine with drives C: and D:, the four configuration files, a few registry keys and an
// old hidden version of every snapshot.
struct StagedMachine {
    fakes::FakeMachine m;
    UpdatePorts ports{m.registry, m.files, m.shell, m.prompter, m.run};
    UpdateFolders folders{Data, "C:\\", "C:\\Windows\\", "C:\\"};
    RecordingProgress progress{&m.run};

    StagedMachine() {
        m.files.addFile("D:\\d.txt", "d");
        m.files.addFolder("D:\\Sub");
        m.files.addFile("C:\\autoexec.bat", "SET PATH=C:\\\r\n", FileAttr::Hidden | FileAttr::System);
        m.files.addFile("C:\\config.sys", "FILES=40\r\n", FileAttr::ReadOnly);
        m.files.addFile("C:\\Windows\\win.ini", "[windows]\r\n");
        m.files.addFile("C:\\Windows\\system.ini", "[boot]\r\n");
        for (const char* key : {"AppEvents", "Software\\Acme"}) m.registry.createKey(Hive::CurrentUser, key);
        for (const char* key : {"SOFTWARE\\Classes\\.txt", "SOFTWARE\\ClassesX", "SYSTEM"})
            m.registry.createKey(Hive::LocalMachine, key);
        for (const char* name : Snapshots) m.files.addFile(data(name), "old", FileAttr::Hidden);
    }

    UpdateOutcome update(std::string_view token = "C:,D:") { return runUpdateDatabase(ports, progress, token, folders); }

    bool isOld(std::string_view name) { return m.files.content(data(name)) == "old"; }
    void expectNoWorkFiles() {
        for (const char* work : WorkFiles) EXPECT_FALSE(m.files.exists(work)) << work;
    }
    std::optional<std::string> scanSetting(std::string_view name) {
        return m.registry.stringValue(Hive::CurrentUser, settings::ScanningKey, name);
    }
};

// Yield counts of an uncancelled run of the same machine.
struct Marks {
    int firstDrive, secondDrive, registryStep;
};
Marks marksOfAFullRun() {
    StagedMachine probe;
    EXPECT_EQ(probe.update(), UpdateOutcome::Completed);
    return {probe.progress.completedAtYield.at(0), probe.progress.completedAtYield.at(1),
            probe.progress.stepYields.back() + 1};
}

TEST(UpdateRun, ACompleteRunReplacesEverySnapshotAndHidesIt) {
    StagedMachine s;
    EXPECT_EQ(s.update(), UpdateOutcome::Completed);

    EXPECT_EQ(s.m.files.content(data("Ddbase.qdb")), "D:\\{\r\nd.txt\r\n}\r\nD:\\Sub\\{\r\n}\r\n");
    EXPECT_TRUE(s.m.files.content(data("Cdbase.qdb"))->starts_with("C:\\{\r\n"));
    for (const auto& row : ConfigFiles)
        EXPECT_EQ(s.m.files.content(data(row.copy)), s.m.files.content(row.source)) << row.copy;
    EXPECT_EQ(s.m.files.content(data("hkcuReg.qdb")), "\r\nSoftware\r\nSoftware\\Acme\r\nAppEvents\r\n");
    EXPECT_EQ(s.m.files.content(data("hklmReg.qdb")), "\r\nSYSTEM\r\nSOFTWARE\r\nSOFTWARE\\ClassesX\r\n");
    for (const char* name : Snapshots) EXPECT_EQ(s.m.files.attributes(data(name)), FileAttr::Hidden) << name;

    s.expectNoWorkFiles();
    EXPECT_EQ(s.progress.completedAtYield.size(), 2u);
    ASSERT_GE(s.progress.steps.size(), 2u);
    EXPECT_EQ(s.progress.steps.end()[-2], SystemFilesStep);
    EXPECT_EQ(s.progress.steps.back(), RegistryStep);
    EXPECT_TRUE(s.m.prompter.messages().empty());
    for (const auto& row : ConfigFiles) EXPECT_EQ(s.scanSetting(row.setting), std::nullopt) << row.setting;
}

TEST(UpdateRun, EveryCopyAndMoveIsDoneByTheShellWithoutAsking) {
    StagedMachine s;
    ASSERT_EQ(s.update(), UpdateOutcome::Completed);
    std::vector<std::string> copied, moved;
    for (const FileOperation& op : s.m.shell.operations()) {
        EXPECT_EQ(op.flags, FileOpFlag::NoConfirmation);
        EXPECT_TRUE(op.kind == FileOpKind::Copy || op.kind == FileOpKind::Move);
        ASSERT_EQ(op.from.size(), 1u);
        (op.kind == FileOpKind::Copy ? copied : moved).push_back(op.from[0] + " -> " + op.to);
    }
    EXPECT_EQ(copied, (std::vector<std::string>{"C:\\autoexec.bat -> " + data("Autoexec.qdb"),
                                                "C:\\Windows\\win.ini -> " + data("winIni.qdb"),
                                                "C:\\Windows\\system.ini -> " + data("systemIni.qdb"),
                                                "C:\\config.sys -> " + data("configSys.qdb")}));
    EXPECT_EQ(moved, (std::vector<std::string>{"C:\\dbstemp.qdb -> " + data("Cdbase.qdb"),
                                               "C:\\dbstemp.qdb -> " + data("Ddbase.qdb"),
                                               "C:\\RegTemp.qdb -> " + data("hkcuReg.qdb"),
                                               "C:\\RegTemp2.qdb -> " + data("hklmReg.qdb")}));
}

TEST(UpdateRun, OneDriveTokenWritesOnlyThatDrive) {
    StagedMachine s;
    EXPECT_EQ(s.update("D:"), UpdateOutcome::Completed);
    EXPECT_FALSE(s.isOld("Ddbase.qdb"));
    EXPECT_TRUE(s.isOld("Cdbase.qdb"));
    EXPECT_EQ(s.progress.completedAtYield.size(), 1u);
}

TEST(UpdateRun, AMissingConfigurationFileTurnsItsComparisonOffAndGetsNoCopy) {
    for (const auto& missing : ConfigFiles) {
        StagedMachine s;
        s.m.files.deleteFile(data(missing.copy));  // hidden files may be deleted through the port
        ASSERT_FALSE(s.m.files.exists(data(missing.copy)));
        s.m.files.setAttributes(missing.source, FileAttr::Normal);
        ASSERT_EQ(s.m.files.deleteFile(missing.source), Status::Ok);
        s.m.files.addFolder(missing.source);  // a folder of that name is no file
        ASSERT_EQ(s.update(""), UpdateOutcome::Completed);
        for (const auto& row : ConfigFiles) {
            const bool isMissing = &row == &missing;
            EXPECT_EQ(s.m.files.exists(data(row.copy)), !isMissing) << missing.source << ": " << row.copy;
            EXPECT_EQ(s.scanSetting(row.setting), isMissing ? std::optional<std::string>("0") : std::nullopt)
                << missing.source << ": " << row.setting;
        }
    }
}

// The yields of a full run, in order: one per folder of C:, one per folder of D:, the
// configuration-file step, the registry step, one per HKCU key, one per HKLM key.
TEST(UpdateRun, YieldsComeOncePerFolderStepAndKey) {
    StagedMachine s;
    ASSERT_EQ(s.update(), UpdateOutcome::Completed);
    ASSERT_EQ(s.progress.completedAtYield.size(), 2u);
    EXPECT_EQ(s.progress.completedAtYield[1] - s.progress.completedAtYield[0], 2) << "D:\\ and D:\\Sub";
    const int systemFilesAt = s.progress.stepYields.end()[-2];
    const int registryAt = s.progress.stepYields.back();
    EXPECT_EQ(systemFilesAt, s.progress.completedAtYield[1]);
    EXPECT_EQ(registryAt, systemFilesAt + 1);
    EXPECT_EQ(s.m.run.yields(), registryAt + 1 + HkcuKeys + HklmKeys);
}

TEST(UpdateRun, CancelDuringADriveKeepsThatDrivesOldSnapshotAndEndsTheRun) {
    const Marks at = marksOfAFullRun();
    struct Row { int stopAt; bool newC; };
    const Row rows[] = {{1, false}, {at.firstDrive, false}, {at.firstDrive + 1, true}, {at.secondDrive, true}};
    for (const auto& r : rows) {
        StagedMachine s;
        s.m.run.stopAtYield(r.stopAt);
        EXPECT_EQ(s.update(), UpdateOutcome::Cancelled) << r.stopAt;
        EXPECT_EQ(s.isOld("Cdbase.qdb"), !r.newC) << r.stopAt;
        EXPECT_EQ(s.progress.completedAtYield.size(), r.newC ? 1u : 0u) << r.stopAt;
        for (const char* name : Snapshots) {
            if (std::string_view(name) != "Cdbase.qdb") {
                EXPECT_TRUE(s.isOld(name)) << r.stopAt << ": " << name;
            }
        }
        s.expectNoWorkFiles();
        EXPECT_TRUE(s.m.prompter.messages().empty());
        EXPECT_EQ(std::count(s.progress.steps.begin(), s.progress.steps.end(), SystemFilesStep), 0) << r.stopAt;
    }
}

// Stopping anywhere from the configuration-file step on: the drives and copies of this run
// stay, the registry snapshots are the old ones, and no registry work file is left.
TEST(UpdateRun, CancelDuringTheRegistryStepKeepsBothOldRegistrySnapshots) {
    const Marks at = marksOfAFullRun();
    const int firstKey = at.registryStep + 1;
    for (const int stopAt : {at.secondDrive + 1, at.registryStep, firstKey, firstKey + HkcuKeys - 1, firstKey + HkcuKeys,
                             firstKey + HkcuKeys + HklmKeys - 1}) {
        StagedMachine s;
        s.m.run.stopAtYield(stopAt);
        EXPECT_EQ(s.update(), UpdateOutcome::Cancelled) << stopAt;
        for (const char* name :
             {"Cdbase.qdb", "Ddbase.qdb", "Autoexec.qdb", "configSys.qdb", "winIni.qdb", "systemIni.qdb"})
            EXPECT_FALSE(s.isOld(name)) << stopAt << ": " << name;
        EXPECT_TRUE(s.isOld("hkcuReg.qdb")) << stopAt;
        EXPECT_TRUE(s.isOld("hklmReg.qdb")) << stopAt;
        s.expectNoWorkFiles();
        EXPECT_TRUE(s.m.prompter.messages().empty());
    }
}

TEST(UpdateRun, ASnapshotThatCannotBeWrittenNeverReplacesTheOldOne) {
    using Stage = void (*)(fakes::FakeFileSystem&);
    struct Row {
        const char* what;
        Stage stage;
        std::vector<std::string_view> replaced;  // every other snapshot stays old
        std::size_t drivesCompleted;
    };
    const std::vector<std::string_view> drivesAndCopies = {"Cdbase.qdb", "Ddbase.qdb",  "Autoexec.qdb",
                                                           "configSys.qdb", "winIni.qdb", "systemIni.qdb"};
    const Row rows[] = {
        {"work folder full", [](fakes::FakeFileSystem& f) { f.failWritesUnder("C:\\"); }, {}, 0},
        {"drive work file full", [](fakes::FakeFileSystem& f) { f.failWritesUnder("C:\\dbstemp.qdb"); }, {}, 0},
        {"work file cannot be created", [](fakes::FakeFileSystem& f) { f.addFile("C:\\dbstemp.qdb", "", FileAttr::ReadOnly); },
         {}, 0},
        {"move into the data folder refused", [](fakes::FakeFileSystem& f) { f.failMovesTo(data("Cdbase.qdb")); }, {}, 0},
        {"second drive's move refused", [](fakes::FakeFileSystem& f) { f.failMovesTo(data("Ddbase.qdb")); },
         {"Cdbase.qdb"}, 1},
        {"HKCU list not written", [](fakes::FakeFileSystem& f) { f.failWritesUnder("C:\\RegTemp.qdb"); }, drivesAndCopies, 2},
        {"HKLM list not written", [](fakes::FakeFileSystem& f) { f.failWritesUnder("C:\\RegTemp2.qdb"); }, drivesAndCopies, 2},
        {"HKCU snapshot not moved", [](fakes::FakeFileSystem& f) { f.failMovesTo(data("hkcuReg.qdb")); }, drivesAndCopies, 2},
    };
    for (const auto& r : rows) {
        StagedMachine s;
        r.stage(s.m.files);
        s.m.prompter.answer(MsgAnswer::Ok);
        EXPECT_EQ(s.update(), UpdateOutcome::WriteFailed) << r.what;

        ASSERT_EQ(s.m.prompter.messages().size(), 1u) << r.what;
        const MessageRequest& shown = s.m.prompter.messages()[0];
        EXPECT_EQ(shown.title, "Error updating database");
        EXPECT_EQ(shown.text, "The scan database could not be written. The previous database was kept.");
        EXPECT_EQ(shown.icon, MsgIcon::Exclamation);
        EXPECT_EQ(shown.buttons, MsgButtons::Ok);

        for (const char* name : Snapshots) {
            const bool replaced = std::find(r.replaced.begin(), r.replaced.end(), name) != r.replaced.end();
            EXPECT_EQ(s.isOld(name), !replaced) << r.what << ": " << name;
            EXPECT_EQ(s.m.files.attributes(data(name)), FileAttr::Hidden) << r.what << ": " << name;
        }
        for (const char* work : WorkFiles) {
            const bool stagedThere = s.m.files.attributes(work) == std::optional<std::uint32_t>(FileAttr::ReadOnly);
            if (!stagedThere) {
                EXPECT_FALSE(s.m.files.exists(work)) << r.what << ": " << work;
            }
        }
        EXPECT_EQ(s.progress.completedAtYield.size(), r.drivesCompleted) << r.what;
    }
}

TEST(UpdateRun, AFailedConfigurationCopyIsPassedOverSilently) {
    StagedMachine s;
    s.m.files.holdOpen("C:\\Windows\\win.ini");
    EXPECT_EQ(s.update(), UpdateOutcome::Completed);
    EXPECT_TRUE(s.isOld("winIni.qdb"));
    EXPECT_EQ(s.m.files.attributes(data("winIni.qdb")), FileAttr::Hidden);
    EXPECT_FALSE(s.isOld("systemIni.qdb"));
    EXPECT_EQ(s.scanSetting(settings::scanning::WinIniScan), std::nullopt);
    EXPECT_TRUE(s.m.prompter.messages().empty());
}

}  // namespace
}  // namespace quillon::snapshot
