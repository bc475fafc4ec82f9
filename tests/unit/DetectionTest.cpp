// Find changes: the comparisons of drive scans, configuration files and registry lists, and
// whole runs over a machine of fakes snapshotted by a real update.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>

#include "detection/CompareDriveScan.h"
#include "detection/ConfigCompare.h"
#include "detection/FindProgress.h"
#include "detection/RegistryCompare.h"
#include "detection/RunFindChanges.h"
#include "detection/ScanFiles.h"
#include "shell/Settings.h"
#include "snapshot/UpdateDatabase.h"
#include "support/FakeMachine.h"
#include "support/TextLines.h"

namespace quillon::detection {
namespace {

using fakes::crlfText;
using Lines = std::vector<std::string>;
const std::string Sep(1, settings::ListSeparator);
constexpr const char* Work = "W:\\";

// Keeps the maximums the bar was given, in order, and how far it was moved.
struct RecordingProgress final : FindProgress {
    void setMaximum(int value) override { maximums.push_back(value); }
    void setValue(int) override {}
    void advance(int by) override { advanced += by; }
    std::vector<int> maximums;
    int advanced = 0;
};

class Detection : public ::testing::Test {
protected:
    fakes::FakeFileSystem files;
    fakes::FakeRunContext run;
    RecordingProgress progress;
};

TEST_F(Detection, FileComparisonRecordsOnlyWhatIsNew) {
    struct Row { const char* what; Lines snap, scan, changes; };
    const Row rows[] = {
        // The snapshot of an older version holds "Caf\xe9" in Windows-1252: the folder is not new.
        {"names and headers in any script without regard to case",
         {"C:\\{", "README.TXT", "\u0414\u041e\u041c.TXT", "}", "C:\\Apps\\{", "A.EXE", "}", "C:\\Caf\xe9\\{", "}"},
         {"C:\\{", "readme.txt", "\u0434\u043e\u043c.txt", "}", "c:\\APPS\\{", "a.exe", "}", "C:\\CAF\u00c9\\{", "}"}, {}},
        {"a new folder covers only the folders below it", {"C:\\{", "}", "E:\\M\\C:\\New\\{", "m", "}"},
         {"C:\\{", "}", "C:\\New\\{", "}", "c:\\new\\Sub\\{", "s", "}", "E:\\M\\C:\\New\\{", "m", "m2", "}"},
         {"!C:\\New\\{", "}", "E:\\M\\C:\\New\\{", "m2", "}"}},
        // "C:\Apps\{" also occurs inside the header of its sub-folder "{GUID}".
        {"a header matches only an equal header", {"C:\\{", "}", "C:\\Apps\\{GUID}\\{", "g", "}", "C:\\Apps\\{", "a", "}"},
         {"C:\\{", "}", "C:\\Apps\\{", "a", "c", "}", "C:\\Apps\\{GUID}\\{", "g", "}"}, {"C:\\Apps\\{", "c", "}"}},
        {"folders found out of order", {"C:\\{", "}", "C:\\A\\{", "a", "}", "C:\\B\\{", "b", "}"},
         {"C:\\{", "}", "C:\\B\\{", "b", "b2", "}", "C:\\A\\{", "a", "a2", "}"},
         {"C:\\B\\{", "b2", "}", "C:\\A\\{", "a2", "}"}},
    };
    for (const auto& r : rows) {
        files.addFile("W:\\Data\\Cdbase.qdb", crlfText(r.snap), FileAttr::Hidden);
        files.addFile(currentScanPath(Work), crlfText(r.scan));
        EXPECT_TRUE(compareDriveScan(files, run, progress, Work, "W:\\Data\\", {"C:"}).completed()) << r.what;
        EXPECT_EQ(files.content(changesPath(Work)), crlfText(r.changes)) << r.what;
    }
}

// One drive's snapshot is copied whole for the comparison: a hidden copy a broken run left is replaced,
// and a copy that fails names the file at fault.
TEST_F(Detection, OneDrivesSnapshotCopyReplacesALeftoverAndNamesTheFileThatFailed) {
    struct Row { const char* what; std::string failing; bool reading; std::string said; };
    const Row rows[] = {
        {"a hidden leftover", "", false, ""},
        {"the snapshot unreadable", "W:\\Data\\Cdbase.qdb", true, "Quillon could not read W:\\Data\\Cdbase.qdb: access was denied."},
        {"the work folder full", "W:\\dbase.qdb", false, "Quillon could not write W:\\dbase.qdb: the disk is full."},
    };
    for (const Row& r : rows) {
        fakes::FakeFileSystem fs;
        fs.addFile("W:\\Data\\Cdbase.qdb", crlfText({"C:\\{", "a", "}"}), FileAttr::Hidden);
        fs.addFile(currentScanPath(Work), crlfText({"C:\\{", "A", "b", "}"}));
        fs.addFile(mergedSnapshotPath(Work), "C:\\{\r\nb\r\n}\r\n", FileAttr::Hidden);
        if (!r.failing.empty()) r.reading ? fs.failReadsUnder(r.failing) : fs.failWritesUnder(r.failing);
        const StepEnd end = compareDriveScan(fs, run, progress, Work, "W:\\Data\\", {"C:"});
        EXPECT_EQ(end.fault ? faultSentence(*end.fault) : "", r.said) << r.what;
        EXPECT_EQ(fs.content(changesPath(Work)), r.said.empty() ? crlfText({"C:\\{", "b", "}"}) : "") << r.what;
    }
}

TEST_F(Detection, ConfigComparisonFindsAddedAndReplacedLinesInASectionPerFileWhoseComparisonIsOn) {
    struct Row { const char* name; Lines snapshot, config, added, replaced; };
    const Row rows[] = {
        {"a changed line and an added one", {"[windows]", "load=", "run=", "device=old"},
         {"[windows]", "load=app.exe", "run=", "NewKey=1", "device=old"}, {"load=app.exe", "NewKey=1"}, {"load=", " "}},
        {"lines differing only in case are equal", {"Device=X", "[Boot]"}, {"device=x", "[boot]"}, {}, {}},
        {"an empty line is never an added line", {"SET A=1", "SET B=2"}, {"SET A=1", "", "", "SET B=2"}, {}, {}},
        {"empty lines are skipped when looking for the next line", {"a=1", "", "b=2"}, {"a=9", "b=2"}, {"a=9"}, {"a=1"}},
        {"the first removed line that fits is taken", {"x=1", "k", "y=1", "k"}, {"x=2", "k", "k"}, {"x=2"}, {"x=1"}},
    };
    ConfigChanges found;
    for (const Row& r : rows) {
        files.addFile("C:\\snap.qdb", crlfText(r.snapshot), FileAttr::Hidden);
        files.addFile("C:\\win.ini", crlfText(r.config));
        EXPECT_TRUE(compareConfigFile(files, "C:\\snap.qdb", "C:\\win.ini", found)) << r.name;
        EXPECT_EQ(found.added, r.added) << r.name;
        EXPECT_EQ(found.replaced, r.replaced) << r.name;
    }
    files.holdOpen("C:\\win.ini");
    EXPECT_FALSE(compareConfigFile(files, "C:\\snap.qdb", "C:\\win.ini", found)) << "file held open";

    // A section for each file whose comparison is on ("1") and that has both versions; the bar
    // moves for each comparison that is on.
    fakes::FakeRegistry registry;
    for (const char* name : {"WinIniScan", "SystemIniScan", "ConfigSysScan"})
        registry.setString(Hive::CurrentUser, settings::ScanningKey, name, "1");
    registry.setString(Hive::CurrentUser, settings::ScanningKey, "AutoexecScan", "yes");
    for (const char* config : {"C:\\Windows\\win.ini", "C:\\Windows\\system.ini", "C:\\autoexec.bat"})
        files.addFile(config, crlfText({"a", "b"}));
    for (const char* snapshot : {"C:\\Data\\winIni.qdb", "C:\\Data\\Autoexec.qdb", "C:\\Data\\configSys.qdb"})
        files.addFile(snapshot, crlfText({"a"}), FileAttr::Hidden);
    EXPECT_EQ(writeConfigChanges(registry, files, {"C:\\", "C:\\", "C:\\Windows\\", "C:\\Data\\"}, progress), Status::Ok);
    EXPECT_EQ(files.content("C:\\sysChanges.qdb"), crlfText({"Win.ini{", "b" + Sep, " " + Sep, "}"}));
    EXPECT_EQ(progress.advanced, 3);
}

constexpr const char* KeySnapshot = "C:\\Data\\hkcuReg.qdb";
constexpr const char* KeyFresh = "C:\\hkcutmp.qdb";
constexpr const char* KeyChanges = "C:\\hkcuchanges.qdb";

TEST_F(Detection, RegistryComparisonReportsTheTopOfEachNewBranch) {
    struct Row { const char* name; Lines snapshot, fresh, reported; };
    const Row rows[] = {
        {"a new key with a sub-key", {"", "Software", "Software\\Old"},
         {"", "Software", "Software\\New", "Software\\New\\Sub", "Software\\Old"}, {"Software\\New"}},
        {"without regard to case", {"", "SOFTWARE", "SOFTWARE\\Acme"}, {"", "Software", "software\\ACME"}, {}},
        {"a new key that is part of an old key's path", {"", "Software", "Software\\FooBar"},
         {"", "Software", "Software\\Foo", "Software\\FooBar"}, {"Software\\Foo"}},
        {"a new key beginning with a reported key's name", {""},
         {"", "New", "new\\SUB", "NewX", "NewX\\Sub"}, {"New", "NewX"}},
        {"another order", {"", "B", "B\\1", "A", "A\\1"}, {"A\\1", "A", "C", "B\\1", "C\\1", "B", ""}, {"C"}},
    };
    for (const Row& r : rows) {
        files.addFile(KeySnapshot, crlfText(r.snapshot), FileAttr::Hidden);
        files.addFile(KeyFresh, crlfText(r.fresh));
        EXPECT_EQ(compareRegistryScan(files, run, KeySnapshot, KeyFresh, KeyChanges), RegistryOutcome::Completed) << r.name;
        EXPECT_EQ(files.content(KeyChanges), crlfText(r.reported)) << r.name;
    }
    // A changes file that fails only when it is closed: no new key was written to it.
    files.addFile(KeyFresh, crlfText({""}));
    files.failWritesUnder(KeyChanges);
    EXPECT_EQ(compareRegistryScan(files, run, KeySnapshot, KeyFresh, KeyChanges), RegistryOutcome::WriteFailed);
}

constexpr const char* RunData = "C:\\Program Files\\Quillon\\";
using Scanning = std::map<std::string_view, std::string>;
using Names = std::set<std::string>;

class SilentUpdate final : public snapshot::UpdateProgress {
    void showStep(std::string_view) override {}
    void driveCompleted() override {}
};

// Drives C: and D: with a little of everything, snapshotted by a real update.
struct Machine {
    fakes::FakeMachine m;
    RecordingProgress progress;

    explicit Machine(const Scanning& scanning = {}) {
        for (const char* f : {"C:\\Windows\\notepad.exe", "C:\\Program Files\\Old\\old.exe", "C:\\Apps\\a.txt",
                              "D:\\Games\\g.exe", "C:\\Windows\\system.ini"})
            m.files.addFile(f, "x\r\n");
        m.files.addFile("C:\\Windows\\win.ini", crlfText({"[windows]", "load=", "run="}));
        for (const char* key : {"Software\\Old", "AppEvents"}) m.registry.createKey(Hive::CurrentUser, key);
        for (const char* key : {"SOFTWARE\\Classes\\.txt", "SYSTEM"}) m.registry.createKey(Hive::LocalMachine, key);
        namespace sc = settings::scanning;
        setScanning({{sc::ScanMode, "0"}, {sc::AutoUpdateDb, "0"}, {sc::RegScan, "1"}, {sc::RegFullScan, "0"},
                     {sc::WinIniScan, "1"}, {sc::SystemIniScan, "1"}, {sc::FoldersToIgnore, "c:\\IGNORED\\" + Sep}});
        setScanning(scanning);
        fakes::FakeRunContext own;
        SilentUpdate shown;
        snapshot::UpdatePorts ports{m.registry, m.files, m.shell, m.prompter, own};
        EXPECT_EQ(snapshot::runUpdateDatabase(ports, shown, "C:,D:", {RunData, "C:\\", "C:\\Windows\\", "C:\\"}),
                  snapshot::UpdateOutcome::Completed);
    }
    void setScanning(const Scanning& values) {
        for (const auto& [name, text] : values) m.registry.setString(Hive::CurrentUser, settings::ScanningKey, name, text);
    }
    // One new thing of each kind, on both drives and in every start folder, and some in folders a run leaves out.
    void install() {
        for (const char* f : {"C:\\Apps\\new.txt", "C:\\Windows\\newlib.dll", "C:\\Program Files\\Old\\new.exe",
                              "C:\\NewApp\\Sub\\app.exe", "D:\\Games\\new.dat", "C:\\Windows\\History\\h.dat",
                              "C:\\Recycled\\r.dat", "D:\\Recycled\\r.dat", "C:\\Ignored\\i.dat"})
            m.files.addFile(f, "n");
        m.files.addFile("C:\\Windows\\win.ini", crlfText({"[windows]", "load=newapp.exe", "run="}));
        m.registry.createKey(Hive::CurrentUser, "Software\\NewApp\\Settings");
        for (const char* key : {"SOFTWARE\\NewApp", "SOFTWARE\\Classes\\.new", "SYSTEM\\NewDriver"})
            m.registry.createKey(Hive::LocalMachine, key);
    }
    FindOutcome find() {
        FindPorts ports{m.registry, m.files, m.shell, m.prompter, m.run};
        return findChanges(ports, progress, "C:,D:", {RunData, "C:\\", "C:\\Windows\\", "C:\\Program Files\\", "C:\\"});
    }
    std::string work(std::string_view name) { return m.files.content("C:\\" + std::string(name)).value_or("<none>"); }
    Names workFiles() {
        Names names;
        for (const std::string& name : m.files.childNames("C:\\"))
            if (name.ends_with(".qdb")) names.insert(name);
        return names;
    }
    std::map<std::string, std::string> dataFolder() {
        std::map<std::string, std::string> all;
        for (const std::string& name : m.files.childNames(RunData)) all[name] = m.files.content(RunData + name).value_or("");
        return all;
    }
};

// New files found tell which folders were walked. The bar's range: 93 beyond the first folder count, less 4 for
// a second start folder, plus each further drive's: C:\Windows holds 2, C:\Program Files 2, D: 1, all C: 17.
// AutoUpdateDb replaces the drive snapshots only after a walk of whole drives, and without the
// registry phase no other snapshot.
TEST(FindChangesRun, ScanModeChoosesTheStartFoldersButAllSnapshotsAreCompared) {
    const std::map<std::string, std::pair<Lines, std::vector<int>>> modes = {
        {"0", {{"!C:\\NewApp\\", "C:\\Apps\\", "C:\\Program Files\\Old\\", "C:\\Windows\\", "D:\\Games\\"}, {110, 111}}},
        {"1", {{"C:\\Program Files\\Old\\", "C:\\Windows\\"}, {2 + 93, 2 + 93 + 2 - 4}}},
        {"2", {{"C:\\Windows\\"}, {2 + 93}}},
        {"9", {{"!C:\\NewApp\\", "C:\\Apps\\", "C:\\Program Files\\Old\\", "C:\\Windows\\"}, {17 + 93}}},
    };
    for (const auto& [mode, expected] : modes) {
        Machine s({{settings::scanning::ScanMode, mode}, {settings::scanning::AutoUpdateDb, "1"},
                   {settings::scanning::RegScan, "0"}});
        auto snapshots = s.dataFolder();
        s.install();
        ASSERT_EQ(s.find(), FindOutcome::Completed) << mode;
        Lines headers;
        const std::string changes = s.work("changes.qdb");
        for (std::string_view text = changes; !text.empty(); text.remove_prefix(text.find('\n') + 1))
            if (const auto line = text.substr(0, text.find('\r')); line.ends_with('{'))
                headers.emplace_back(line.substr(0, line.size() - 1));
        std::sort(headers.begin(), headers.end());
        EXPECT_EQ(headers, expected.first) << "ScanMode " << mode;
        EXPECT_EQ(s.progress.maximums, expected.second) << "ScanMode " << mode;
        const bool wholeDrives = mode == "0";
        EXPECT_EQ(s.dataFolder().at("Ddbase.qdb").find("new.dat") != std::string::npos, wholeDrives) << mode;
        for (const char* drive : {"Cdbase.qdb", "Ddbase.qdb"})
            if (wholeDrives) snapshots[drive] = s.dataFolder().at(drive);
        EXPECT_EQ(s.dataFolder(), snapshots) << mode;
        EXPECT_EQ(s.workFiles(), (Names{"changes.qdb", "sysChanges.qdb"})) << mode;
    }
}

// A complete run with AutoUpdateDb refreshes the system snapshots after its registry phase. Stopped
// at any of its yields (where the user closes the window) or failing at any place it reads or writes,
// it leaves no work file and every snapshot as it was; a failure shows one message naming the file.
TEST(FindChangesRun, AutoUpdateRefreshesTheSnapshotsUnlessTheRunIsStoppedOrAFileFails) {
    const Scanning autoUpdate{{settings::scanning::AutoUpdateDb, "1"}};
    Machine complete(autoUpdate);
    complete.install();
    ASSERT_EQ(complete.find(), FindOutcome::Completed);
    const int yields = complete.m.run.yields();
    ASSERT_GT(yields, 20);
    EXPECT_EQ(complete.dataFolder().at("winIni.qdb"), complete.m.files.content("C:\\Windows\\win.ini"));
    // With the whole hive listed, a second run finds only the key added outside the Software branch:
    // the refresh kept every other key of the snapshot. Without a refresh the fresh lists go too.
    complete.setScanning({{settings::scanning::RegFullScan, "1"}, {settings::scanning::AutoUpdateDb, "0"}});
    ASSERT_EQ(complete.find(), FindOutcome::Completed);
    EXPECT_EQ(complete.workFiles(), (Names{"changes.qdb", "hkcuchanges.qdb", "hkcuvalues.qdb", "hklmchanges.qdb",
                                           "hklmvalues.qdb", "sysChanges.qdb"}));
    EXPECT_EQ(complete.work("hkcuchanges.qdb"), "");
    EXPECT_EQ(complete.work("hklmchanges.qdb"), crlfText({"SYSTEM\\NewDriver"}));
    EXPECT_EQ(complete.work("changes.qdb"), "");

    const std::string data = RunData;
    // stopping: at the yield given; opening: held open by another program; breaking: a listing breaks off
    enum Fails { Stopping, Writing, Reading, Opening, Breaking };
    struct Row { std::string place; Fails fails; Status status; std::string said; int stopAt = 0; };
    std::vector<Row> rows = {
        {"C:\\", Writing, Status::DiskFull, "write C:\\0current.qdb: the disk is full"},  // the work folder full
        {"C:\\1current.qdb", Writing, Status::DiskFull, "write C:\\1current.qdb: the disk is full"},
        {"C:\\current.qdb", Writing, Status::AccessDenied, "write C:\\current.qdb: access was denied"},
        {"C:\\dbase.qdb", Writing, Status::DiskFull, "write C:\\dbase.qdb: the disk is full"},
        {"C:\\changes.qdb", Writing, Status::DiskFull, "write C:\\changes.qdb: the disk is full"},
        {"C:\\sysChanges.qdb", Writing, Status::DiskFull, "write C:\\sysChanges.qdb: the disk is full"},
        {"C:\\hklmtmp.qdb", Writing, Status::DiskFull, "write C:\\hklmtmp.qdb: the disk is full"},
        {"C:\\hkcuchanges.qdb", Writing, Status::WriteFault, "write C:\\hkcuchanges.qdb: error 29"},
        {"C:\\1current.qdb", Reading, Status::AccessDenied, "read C:\\1current.qdb: access was denied"},
        {"C:\\current.qdb", Reading, Status::AccessDenied, "read C:\\current.qdb: access was denied"},
        {"C:\\dbase.qdb", Reading, Status::AccessDenied, "read C:\\dbase.qdb: access was denied"},
        {data + "Ddbase.qdb", Reading, Status::FileNotFound, "read " + data + "Ddbase.qdb: it was not found"},
        {data + "hklmReg.qdb", Reading, Status::AccessDenied, "read " + data + "hklmReg.qdb: access was denied"},
        {data + "Ddbase.qdb", Opening, Status::Ok, "read " + data + "Ddbase.qdb: error 32"},
        {data + "hkcuReg.qdb", Opening, Status::Ok, "read " + data + "hkcuReg.qdb: error 32"},
        {"C:\\NewApp", Breaking, Status::ReadFault, "read C:\\NewApp\\: error 30"},
    };
    for (int n = 1; n <= yields; ++n) rows.push_back({"yield " + std::to_string(n), Stopping, Status::Ok, "", n});
    for (const Row& r : rows) {
        Machine s(autoUpdate);
        s.install();
        const auto before = s.dataFolder();
        if (r.fails == Stopping) s.m.run.stopAtYield(r.stopAt);
        if (r.fails == Reading) s.m.files.failReadsUnder(r.place, r.status);
        if (r.fails == Writing) s.m.files.failWritesUnder(r.place, r.status);
        if (r.fails == Opening) s.m.files.holdOpen(r.place);
        if (r.fails == Breaking) s.m.files.failListingAfter(r.place, 2, r.status);
        if (r.fails != Stopping) s.m.prompter.answer(MsgAnswer::Ok);
        EXPECT_EQ(s.find(), r.fails == Stopping ? FindOutcome::Stopped : FindOutcome::Failed) << r.place;
        if (r.fails == Stopping) {
            EXPECT_EQ(s.m.run.yields(), r.stopAt) << "nothing read after the stop";
        } else {
            EXPECT_EQ(s.m.prompter.messages().at(0).text,
                      "Quillon could not " + r.said + ". No changes were listed and the snapshots were kept.");
        }
        EXPECT_EQ(s.workFiles(), Names{}) << r.place;
        EXPECT_EQ(s.dataFolder(), before) << r.place;
    }
}

}  // namespace
}  // namespace quillon::detection
