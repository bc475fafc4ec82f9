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
const Lines drivesAndCopies = {"Cdbase.qdb", "Ddbase.qdb", "configSys.qdb", "winIni.qdb", "systemIni.qdb"};
const char* const WorkFiles[] = {"C:\\dbstemp.qdb", "C:\\RegTemp.qdb", "C:\\RegTemp2.qdb"};
const char* const Snapshots[] = {"Cdbase.qdb",    "Ddbase.qdb", "hkcuReg.qdb",   "hklmReg.qdb",
                                 "configSys.qdb", "winIni.qdb", "systemIni.qdb", "Autoexec.qdb"};

// Drives C: and D:, the configuration files but autoexec.bat (a folder of that name is no file), a
// few registry keys and an old hidden version of every snapshot.
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
        m.files.addFolder("C:\\autoexec.bat");
        m.files.addFile("C:\\config.sys", "FILES=40\r\n", FileAttr::ReadOnly | FileAttr::Hidden | FileAttr::System);
        m.files.addFile("C:\\Windows\\win.ini", "[windows]\r\n");
        m.files.addFile("C:\\Windows\\system.ini", "[boot]\r\n");
        for (const char* key : {"AppEvents", "Software\\Acme", "Software\\Secret\\Inner"})
            m.registry.createKey(Hive::CurrentUser, key);
        m.registry.markUnopenable(Hive::CurrentUser, "Software\\Secret");
        for (const char* key : {"SOFTWARE\\classes\\.txt", "SOFTWARE\\ClassesX", "SYSTEM"})
            m.registry.createKey(Hive::LocalMachine, key);
        for (const char* name : Snapshots) m.files.addFile(data(name), "old", FileAttr::Hidden);
    }
    UpdateOutcome update() {
        UpdatePorts ports{m.registry, m.files, m.shell, m.prompter, m.run};
        return runUpdateDatabase(ports, progress, "C:,D:", {Data, "C:\\", "C:\\Windows\\", "C:\\"});
    }
    // The snapshots this run replaced, or removed ("-"); every one left is hidden, and no work file is.
    Lines replaced() {
        Lines names;
        for (const char* name : Snapshots) {
            if (m.files.content(data(name)) != "old")
                names.push_back((m.files.exists(data(name)) ? "" : "-") + std::string(name));
            EXPECT_EQ(m.files.attributes(data(name)).value_or(FileAttr::Hidden), FileAttr::Hidden) << name;
        }
        for (const char* work : WorkFiles) EXPECT_FALSE(m.files.exists(work)) << work;
        return names;
    }
};

// A drive's snapshot has a block per folder with its files, hidden ones too; links and dot folders are not
// entered, and an unlistable folder is an empty block. The registry's lists leave out what lies below a
// key that cannot be opened and HKLM's Classes, in any spelling. No question is asked. A missing
// configuration file keeps its old copy and has its comparison turned off. Stopped or failing, an update
// keeps every old snapshot not yet in place; a failed configuration copy goes, never to pass for fresh.
TEST(UpdateRun, ReplacesEverySnapshotOnceCompleteAndNoneNotYetInPlaceWhenStoppedOrFailing) {
    StagedMachine s;
    ASSERT_EQ(s.update(), UpdateOutcome::Completed);
    EXPECT_EQ(s.replaced(), Lines(std::begin(Snapshots), std::end(Snapshots) - 1)) << "all but Autoexec.qdb";
    EXPECT_EQ(s.m.registry.stringValue(Hive::CurrentUser, settings::ScanningKey, settings::scanning::AutoexecScan), "0");
    EXPECT_EQ(s.m.files.content(data("Ddbase.qdb")),
              crlfText({"D:\\{", "d.txt", ".profile", "}", "D:\\Sub\\{", "}", "D:\\Secret\\{", "}"}));
    EXPECT_EQ(s.m.files.content(data("hkcuReg.qdb")),
              crlfText({"", "Software", "Software\\Secret", "Software\\Quillon", "Software\\Quillon\\Scanning",
                        "Software\\Acme", "AppEvents"}));
    EXPECT_EQ(s.m.files.content(data("hklmReg.qdb")), crlfText({"", "SYSTEM", "SOFTWARE", "SOFTWARE\\ClassesX"}));
    for (const FileOperation& op : s.m.shell.operations()) EXPECT_EQ(op.flags, FileOpFlag::NoConfirmation) << op.to;

    const int c = s.progress.completedAtYield[0], d = s.progress.completedAtYield[1], last = s.m.run.yields();
    using Stage = void (*)(fakes::FakeFileSystem&);
    struct Row { std::string what; Stage stage; Lines replaced; std::string said; int stopAt = 0; };
    const std::string kept = "The scan database could not be written. The previous database was kept.";
    std::vector<Row> rows = {
        {"drive work file full", [](auto& f) { f.failWritesUnder("C:\\dbstemp.qdb"); }, {}, kept},
        {"first move refused", [](auto& f) { f.failMovesTo(data("Cdbase.qdb")); }, {}, kept},
        {"second move refused", [](auto& f) { f.failMovesTo(data("Ddbase.qdb")); }, {"Cdbase.qdb"}, kept},
        {"HKCU list not written", [](auto& f) { f.failWritesUnder("C:\\RegTemp.qdb"); }, drivesAndCopies, kept},
        {"win.ini held open", [](auto& f) { f.holdOpen("C:\\Windows\\win.ini"); },
         {"Cdbase.qdb", "Ddbase.qdb", "-winIni.qdb"},
         "Quillon could not copy C:\\Windows\\win.ini: error 32. The database was not updated in full; run Update "
         "database again once the file can be copied."},
    };
    for (const int at : {1, c, c + 1, d, d + 1, d + 3, d + 6, last}) {
        const Lines replaced = at <= c ? Lines{} : at <= d ? Lines{"Cdbase.qdb"} : drivesAndCopies;
        rows.push_back({"stop at yield " + std::to_string(at), nullptr, replaced, "", at});
    }
    for (const Row& r : rows) {
        StagedMachine ended;
        if (r.stage) r.stage(ended.m.files);
        ended.m.run.stopAtYield(r.stopAt);
        if (!r.said.empty()) ended.m.prompter.answer(MsgAnswer::Ok);
        EXPECT_EQ(ended.update(), r.said.empty() ? UpdateOutcome::Cancelled : UpdateOutcome::WriteFailed) << r.what;
        EXPECT_EQ(ended.replaced(), r.replaced) << r.what;
        const auto& shown = ended.m.prompter.messages();
        EXPECT_EQ(shown.empty() ? "" : shown[0].text, r.said) << r.what;
    }
}

}  // namespace
}  // namespace quillon::snapshot
