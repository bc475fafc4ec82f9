// "Update database" on the fakes: what a snapshot holds, and whole runs that replace a snapshot
// only once its new version is complete.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "shell/Settings.h"
#include "snapshot/FolderWalk.h"
#include "snapshot/UpdateDatabase.h"
#include "support/FakeMachine.h"
#include "support/TextLines.h"

namespace quillon::snapshot {
namespace {

using fakes::crlfText;
using Lines = std::vector<std::string>;

// Keeps how many yields the run had made at each completed drive.
class RecordingProgress final : public UpdateProgress {
public:
    explicit RecordingProgress(const fakes::FakeRunContext& run) : run_(run) {}
    void showStep(std::string_view) override {}
    void driveCompleted() override { completedAtYield.push_back(run_.yields()); }
    std::vector<int> completedAtYield;

private:
    const fakes::FakeRunContext& run_;
};

// Refuses every write from the first file name on, as a disk that fills up does.
struct RefusingWriter final : TextWriter {
    Status write(std::string_view) override { return ++writes > 2 ? Status::DiskFull : Status::Ok; }
    Status close() override { return Status::DiskFull; }
    int writes = 0;
};

// A full disk is not walked to its end.
TEST(DriveWalk, ARefusedLineEndsTheWalkInItsFolder) {
    fakes::FakeFileSystem files;
    fakes::FakeRunContext run;
    RecordingProgress progress{run};
    files.addFile("C:\\r");
    files.addFile("C:\\A\\a");
    RefusingWriter out;
    static_cast<void>(walkFolderTree(files, run, progress, "C:\\", out));
    EXPECT_EQ(out.writes, 3) << "nothing written after the refusal";
    EXPECT_EQ(run.yields(), 1);
}

constexpr const char* Data = "C:\\Program Files\\Quillon\\";
std::string data(std::string_view name) { return Data + std::string(name); }
const Lines drivesAndCopies = {"Cdbase.qdb",    "Ddbase.qdb", "Autoexec.qdb",
                               "configSys.qdb", "winIni.qdb", "systemIni.qdb"};
const char* const WorkFiles[] = {"C:\\dbstemp.qdb", "C:\\RegTemp.qdb", "C:\\RegTemp2.qdb"};
const char* const Snapshots[] = {"Cdbase.qdb", "Ddbase.qdb", "hkcuReg.qdb", "hklmReg.qdb",
                                 "Autoexec.qdb", "configSys.qdb", "winIni.qdb", "systemIni.qdb"};

// Drives C: and D:, the four configuration files, a few registry keys and an old hidden
// version of every snapshot.
struct StagedMachine {
    fakes::FakeMachine m;
    RecordingProgress progress{m.run};

    StagedMachine() {
        m.files.addFile("D:\\d.txt", "d");
        m.files.addFile("D:\\.profile", "", FileAttr::Hidden | FileAttr::System | FileAttr::ReadOnly);
        m.files.addFile("D:\\Sub\\.config\\settings.ini");
        m.files.addFolder("D:\\Link", FileAttr::Directory | FileAttr::ReparsePoint);
        m.files.addFile("D:\\Link\\target.txt");
        m.files.addFile("D:\\Secret\\s.txt");
        m.files.refuseListing("D:\\Secret");
        m.files.addFile("C:\\autoexec.bat", "SET PATH=C:\\\r\n", FileAttr::Hidden | FileAttr::System);
        m.files.addFile("C:\\config.sys", "FILES=40\r\n", FileAttr::ReadOnly);
        m.files.addFile("C:\\Windows\\win.ini", "[windows]\r\n");
        m.files.addFile("C:\\Windows\\system.ini", "[boot]\r\n");
        for (const char* key : {"AppEvents", "Software\\Acme", "Software\\Secret\\Inner"})
            m.registry.createKey(Hive::CurrentUser, key);
        m.registry.markUnopenable(Hive::CurrentUser, "Software\\Secret");
        for (const char* key : {"SOFTWARE\\classes\\.txt", "SOFTWARE\\ClassesX", "SYSTEM"})
            m.registry.createKey(Hive::LocalMachine, key);
        for (const char* name : Snapshots) m.files.addFile(data(name), "old", FileAttr::Hidden);
    }
    UpdateOutcome update(std::string_view token = "C:,D:") {
        UpdatePorts ports{m.registry, m.files, m.shell, m.prompter, m.run};
        return runUpdateDatabase(ports, progress, token, {Data, "C:\\", "C:\\Windows\\", "C:\\"});
    }
    // The snapshots this run replaced; every one is hidden, and no work file is left.
    Lines replaced() {
        Lines names;
        for (const char* name : Snapshots) {
            if (m.files.content(data(name)) != "old") names.emplace_back(name);
            EXPECT_EQ(m.files.attributes(data(name)), FileAttr::Hidden) << name;
        }
        for (const char* work : WorkFiles) EXPECT_FALSE(m.files.exists(work)) << work;
        return names;
    }
};

// A drive's snapshot has a block per folder with its files, hidden ones too; links and folders
// starting with a dot are not entered, and a folder that cannot be listed is an empty block. The
// registry's lists name every key but those below a key that cannot be opened and, in HKLM,
// the Classes branch, whatever its spelling. No question is asked.
TEST(UpdateRun, ACompleteRunReplacesEverySnapshotWithoutAsking) {
    StagedMachine s;
    EXPECT_EQ(s.update(), UpdateOutcome::Completed);
    EXPECT_EQ(s.replaced(), Lines(std::begin(Snapshots), std::end(Snapshots)));
    EXPECT_EQ(s.m.files.content(data("Ddbase.qdb")),
              crlfText({"D:\\{", "d.txt", ".profile", "}", "D:\\Sub\\{", "}", "D:\\Secret\\{", "}"}));
    EXPECT_EQ(s.m.files.content(data("hkcuReg.qdb")),
              crlfText({"", "Software", "Software\\Secret", "Software\\Acme", "AppEvents"}));
    EXPECT_EQ(s.m.files.content(data("hklmReg.qdb")), crlfText({"", "SYSTEM", "SOFTWARE", "SOFTWARE\\ClassesX"}));
    ASSERT_EQ(s.m.shell.operations().size(), 10u) << "two drives, four copies, two hives of keys and of values";
    for (const FileOperation& op : s.m.shell.operations()) EXPECT_EQ(op.flags, FileOpFlag::NoConfirmation) << op.to;
}

TEST(UpdateRun, AMissingConfigurationFileTurnsItsComparisonOffAndAFailedCopyEndsTheUpdate) {
    StagedMachine s;
    static_cast<void>(s.m.files.setAttributes("C:\\autoexec.bat", FileAttr::Normal));  // best effort: the attributes are not what the data depends on
    ASSERT_EQ(s.m.files.deleteFile("C:\\autoexec.bat"), Status::Ok);
    s.m.files.addFolder("C:\\autoexec.bat");  // a folder of that name is no file
    ASSERT_EQ(s.update(""), UpdateOutcome::Completed);
    EXPECT_EQ(s.replaced(), (Lines{"hkcuReg.qdb", "hklmReg.qdb", "configSys.qdb", "winIni.qdb", "systemIni.qdb"}));
    EXPECT_EQ(s.m.registry.stringValue(Hive::CurrentUser, settings::ScanningKey, settings::scanning::AutoexecScan), "0");

    // The copy of win.ini fails: the old copy must not pass for a fresh one later.
    StagedMachine held;
    held.m.files.holdOpen("C:\\Windows\\win.ini");
    held.m.prompter.answer(MsgAnswer::Ok);
    EXPECT_EQ(held.update(""), UpdateOutcome::WriteFailed);
    EXPECT_FALSE(held.m.files.exists(data("winIni.qdb")));
    for (const char* name : {"hkcuReg.qdb", "systemIni.qdb"}) EXPECT_EQ(held.m.files.content(data(name)), "old") << name;
    EXPECT_EQ(held.m.prompter.messages().at(0).text,
              "Quillon could not copy C:\\Windows\\win.ini: error 32. The database was not updated in full; run "
              "Update database again once the file can be copied.");
}

// Stopping anywhere keeps every old snapshot from the drive being walked on.
TEST(UpdateRun, ACancelKeepsTheSnapshotsNotYetInPlace) {
    StagedMachine probe;
    ASSERT_EQ(probe.update(), UpdateOutcome::Completed);
    const int c = probe.progress.completedAtYield[0], d = probe.progress.completedAtYield[1], last = probe.m.run.yields();
    const std::pair<int, Lines> rows[] = {
        {1, {}}, {c, {}}, {c + 1, {"Cdbase.qdb"}}, {d, {"Cdbase.qdb"}}, {d + 1, drivesAndCopies},
        {d + 3, drivesAndCopies}, {d + 6, drivesAndCopies}, {last, drivesAndCopies}};
    for (const auto& [stopAt, replaced] : rows) {
        StagedMachine s;
        s.m.run.stopAtYield(stopAt);
        EXPECT_EQ(s.update(), UpdateOutcome::Cancelled) << stopAt;
        EXPECT_EQ(s.replaced(), replaced) << stopAt;
    }
}

TEST(UpdateRun, ASnapshotThatCannotBeWrittenNeverReplacesTheOldOne) {
    using Stage = void (*)(fakes::FakeFileSystem&);
    const std::tuple<const char*, Stage, Lines> rows[] = {
        {"drive work file full", [](fakes::FakeFileSystem& f) { f.failWritesUnder("C:\\dbstemp.qdb"); }, {}},
        {"move into the data folder refused", [](fakes::FakeFileSystem& f) { f.failMovesTo(data("Cdbase.qdb")); }, {}},
        {"second drive's move refused", [](fakes::FakeFileSystem& f) { f.failMovesTo(data("Ddbase.qdb")); }, {"Cdbase.qdb"}},
        {"HKCU list not written", [](fakes::FakeFileSystem& f) { f.failWritesUnder("C:\\RegTemp.qdb"); }, drivesAndCopies},
    };
    for (const auto& [what, stage, replaced] : rows) {
        StagedMachine s;
        stage(s.m.files);
        s.m.prompter.answer(MsgAnswer::Ok);
        EXPECT_EQ(s.update(), UpdateOutcome::WriteFailed) << what;
        EXPECT_EQ(s.replaced(), replaced) << what;
        EXPECT_EQ(s.m.prompter.messages().at(0).text,
                  "The scan database could not be written. The previous database was kept.") << what;
    }
}

}  // namespace
}  // namespace quillon::snapshot
