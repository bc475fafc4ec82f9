#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "DetectionTestProgress.h"
#include "SnapshotRecordingProgress.h"
#include "detection/IgnoreList.h"
#include "detection/RunFindChanges.h"
#include "detection/ScanFolderTree.h"
#include "shell/Settings.h"
#include "snapshot/UpdateDatabase.h"
#include "support/FakeMachine.h"
#include "support/TextLines.h"

namespace quillon::detection {
namespace {

using fakes::crlfText;
using Lines = std::vector<std::string>;
using Files = std::map<std::string, std::string>;

constexpr const char* Data = "C:\\Program Files\\Quillon\\";
const FindFolders Folders{Data, "C:\\", "C:\\Windows\\", "C:\\Program Files\\", "C:\\"};
const char Sep = '\x7f';

// Drives C: and D: with a little of everything, snapshotted by a real update; then the
// installation each test makes.
struct Machine {
    fakes::FakeMachine m;
    RecordingProgress progress;

    explicit Machine(const std::map<std::string_view, std::string>& scanning = {}) {
        m.files.addFile("C:\\Windows\\notepad.exe", "n");
        m.files.addFile("C:\\Program Files\\Old\\old.exe", "o");
        m.files.addFile("C:\\Apps\\a.txt", "a");
        m.files.addFile("D:\\Games\\g.exe", "g");
        m.files.addFile("C:\\Windows\\win.ini", crlfText({"[windows]", "load=", "run="}));
        m.files.addFile("C:\\Windows\\system.ini", crlfText({"[boot]"}));
        m.files.addFile("C:\\autoexec.bat", crlfText({"PATH=C:\\"}));
        m.files.addFile("C:\\config.sys", crlfText({"FILES=40"}));
        m.registry.createKey(Hive::CurrentUser, "Software\\Old");
        m.registry.createKey(Hive::CurrentUser, "AppEvents");
        m.registry.createKey(Hive::LocalMachine, "SOFTWARE\\Classes\\.txt");
        m.registry.createKey(Hive::LocalMachine, "SYSTEM");
        setScanning({{settings::scanning::ScanMode, "0"},
                     {settings::scanning::AutoUpdateDb, "0"},
                     {settings::scanning::RegScan, "1"},
                     {settings::scanning::RegFullScan, "0"},
                     {settings::scanning::WinIniScan, "1"},
                     {settings::scanning::SystemIniScan, "1"},
                     {settings::scanning::AutoexecScan, "1"},
                     {settings::scanning::ConfigSysScan, "1"}});
        setScanning(scanning);
    }

    void setScanning(const std::map<std::string_view, std::string>& values) {
        for (const auto& [name, text] : values)
            m.registry.setValue(Hive::CurrentUser, settings::ScanningKey, name, {RegType::Sz, text});
    }

    void updateDatabase(std::string_view token) {
        fakes::FakeRunContext own;
        snapshot::RecordingProgress shown;
        snapshot::UpdatePorts ports{m.registry, m.files, m.shell, m.prompter, own};
        const snapshot::UpdateFolders where{Data, "C:\\", "C:\\Windows\\", "C:\\"};
        ASSERT_EQ(snapshot::runUpdateDatabase(ports, shown, token, where), snapshot::UpdateOutcome::Completed);
    }

    // One new thing of each kind, on both drives and in every start folder.
    void install() {
        m.files.addFile("C:\\Apps\\new.txt", "n");
        m.files.addFile("C:\\Windows\\newlib.dll", "l");
        m.files.addFile("C:\\Program Files\\Old\\new.exe", "e");
        m.files.addFile("C:\\NewApp\\Sub\\app.exe", "x");
        m.files.addFile("D:\\Games\\new.dat", "d");
        m.files.addFile("C:\\Windows\\win.ini", crlfText({"[windows]", "load=newapp.exe", "run="}));
        m.registry.createKey(Hive::CurrentUser, "Software\\NewApp\\Settings");
        m.registry.createKey(Hive::LocalMachine, "SOFTWARE\\NewApp");
        m.registry.createKey(Hive::LocalMachine, "SOFTWARE\\Classes\\.new");
        m.registry.createKey(Hive::LocalMachine, "SYSTEM\\NewDriver");
    }

    FindOutcome find(std::string_view token) {
        FindPorts ports{m.registry, m.files, m.shell, m.prompter, m.run};
        return findChanges(ports, progress, token, Folders);
    }

    std::optional<std::string> work(std::string_view name) { return m.files.content("C:\\" + std::string(name)); }

    // The run's own files in the work folder.
    std::set<std::string> workFiles() {
        std::set<std::string> names;
        for (const std::string& name : m.files.childNames("C:\\"))
            if (name.find(".qdb") != std::string::npos) names.insert(name);
        return names;
    }

    Files dataFolder() {
        Files all;
        for (const std::string& name : m.files.childNames(Data)) all[name] = m.files.content(Data + name).value_or("");
        return all;
    }

    // What the rescan writes for one folder tree, to compare a refreshed snapshot with.
    std::string rescanOf(std::string_view root) {
        fakes::FakeRunContext own;
        RecordingProgress ignored;
        std::unique_ptr<TextWriter> out;
        EXPECT_EQ(m.files.openWrite("C:\\expected.qdb", WriteMode::Create, out), Status::Ok);
        std::uint64_t count = 0;
        const IgnoreList ignore = IgnoreList::forRun("C:\\Windows\\", "C:\\", "");
        EXPECT_TRUE(scanFolderTree(m.files, own, ignored, root, ignore, *out, count));
        out->close();
        const std::string text = m.files.content("C:\\expected.qdb").value_or("");
        m.files.deleteFile("C:\\expected.qdb");
        return text;
    }
};

TEST(FindChangesRun, ReportsEachKindOfChangeAndLeavesOnlyTheChangesFiles) {
    Machine s;
    s.updateDatabase("C:,D:");
    s.install();
    EXPECT_EQ(s.find("C:,D:"), FindOutcome::Completed);

    EXPECT_EQ(s.work("changes.qdb"),
              crlfText({"C:\\Windows\\{", "newlib.dll", "}", "C:\\Program Files\\Old\\{", "new.exe", "}",
                        "C:\\Apps\\{", "new.txt", "}", "!C:\\NewApp\\{", "}", "D:\\Games\\{", "new.dat", "}"}));
    EXPECT_EQ(s.work("sysChanges.qdb"),
              crlfText({"Autoexec.bat{", "", "", "}", "Win.ini{", std::string("load=newapp.exe") + Sep,
                        std::string("load=") + Sep, "}", "System.ini{", "", "", "}", "Config.sys{", "", "", "}"}));
    EXPECT_EQ(s.work("hkcuchanges.qdb"), crlfText({"Software\\NewApp"}));
    EXPECT_EQ(s.work("hklmchanges.qdb"), crlfText({"Software\\NewApp"}));
    EXPECT_EQ(s.workFiles(),
              (std::set<std::string>{"changes.qdb", "sysChanges.qdb", "hkcuchanges.qdb", "hklmchanges.qdb"}));
    ASSERT_FALSE(s.progress.maximums.empty());
    ASSERT_FALSE(s.progress.values.empty());
    EXPECT_EQ(s.progress.values.back(), s.progress.maximums.back()) << "the bar ends full";
}

// Which folders' new files are found tells which folders were walked.
TEST(FindChangesRun, ScanModeChoosesTheStartFoldersButAllSnapshotsAreCompared) {
    struct Case {
        const char* scanMode;
        Lines reported;
        bool newFolder;  // C:\NewApp lies outside the Windows and Program Files folders
    };
    const Case cases[] = {
        {"0", {"C:\\Apps\\", "C:\\Program Files\\Old\\", "C:\\Windows\\", "D:\\Games\\"}, true},
        {"1", {"C:\\Program Files\\Old\\", "C:\\Windows\\"}, false},
        {"2", {"C:\\Windows\\"}, false},
        {"3", {"C:\\Program Files\\Old\\"}, false},
        {"9", {"C:\\Apps\\", "C:\\Program Files\\Old\\", "C:\\Windows\\"}, true},  // first drive only
        {"", {"C:\\Apps\\", "C:\\Program Files\\Old\\", "C:\\Windows\\"}, true},
    };
    for (const Case& c : cases) {
        Machine s({{settings::scanning::ScanMode, c.scanMode}, {settings::scanning::RegScan, "0"}});
        s.updateDatabase("C:,D:");
        s.install();
        ASSERT_EQ(s.find("C:,D:"), FindOutcome::Completed) << c.scanMode;
        const std::string text = s.work("changes.qdb").value_or("");
        Lines headers;
        std::size_t start = 0;
        for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2) {
            const std::string line = text.substr(start, end - start);
            if (line.ends_with('{') && !line.starts_with('!')) headers.push_back(line.substr(0, line.size() - 1));
        }
        std::sort(headers.begin(), headers.end());
        EXPECT_EQ(headers, c.reported) << "ScanMode \"" << c.scanMode << "\"";
        EXPECT_EQ(text.find("!C:\\NewApp\\{") != std::string::npos, c.newFolder) << c.scanMode;
    }
}

TEST(FindChangesRun, DriveWithoutSnapshotIsNamedAndNothingIsScanned) {
    Machine s;
    s.m.files.addFile("E:\\e.txt", "e");
    s.updateDatabase("C:,D:,E:");
    s.m.files.deleteFile(std::string(Data) + "Ddbase.qdb");
    const Files before = s.dataFolder();
    s.m.prompter.answer(MsgAnswer::Ok);
    EXPECT_EQ(s.find("C:,D:,E:"), FindOutcome::MissingSnapshot);
    ASSERT_EQ(s.m.prompter.messages().size(), 1u);
    const MessageRequest& shown = s.m.prompter.messages()[0];
    EXPECT_EQ(shown.text,
              "No scan database found for drive D:\\ To find changes in this drive, first create a scan database by "
              "clicking on the Update Database button in the main window.");
    EXPECT_EQ(shown.title, "Error finding changes");
    EXPECT_EQ(shown.icon, MsgIcon::Exclamation);
    EXPECT_EQ(s.m.run.yields(), 0) << "nothing scanned";
    EXPECT_TRUE(s.workFiles().empty());
    EXPECT_EQ(s.dataFolder(), before);
}

TEST(FindChangesRun, AutoUpdateReplacesDriveSnapshotsOnlyAfterAWholeDriveScan) {
    for (const char* scanMode : {"0", "2"}) {
        Machine s({{settings::scanning::ScanMode, scanMode},
                   {settings::scanning::AutoUpdateDb, "1"},
                   {settings::scanning::RegScan, "0"}});
        s.updateDatabase("C:,D:");
        const Files before = s.dataFolder();
        s.install();
        ASSERT_EQ(s.find("C:,D:"), FindOutcome::Completed) << scanMode;
        const Files after = s.dataFolder();
        if (std::string_view(scanMode) == "0") {
            EXPECT_NE(after.at("Cdbase.qdb"), before.at("Cdbase.qdb"));
            EXPECT_EQ(after.at("Cdbase.qdb"), s.rescanOf("C:\\"));
            EXPECT_EQ(after.at("Ddbase.qdb"), s.rescanOf("D:\\"));
            EXPECT_EQ(s.m.files.attributes(std::string(Data) + "Cdbase.qdb"), FileAttr::Hidden);
        } else {
            EXPECT_EQ(after.at("Cdbase.qdb"), before.at("Cdbase.qdb"));
            EXPECT_EQ(after.at("Ddbase.qdb"), before.at("Ddbase.qdb"));
        }
        // Without the registry phase the system snapshots stay as they were.
        EXPECT_EQ(after.at("winIni.qdb"), before.at("winIni.qdb")) << scanMode;
        EXPECT_EQ(after.at("hkcuReg.qdb"), before.at("hkcuReg.qdb")) << scanMode;
        EXPECT_EQ(s.workFiles(), (std::set<std::string>{"changes.qdb", "sysChanges.qdb"})) << scanMode;
    }
}

TEST(FindChangesRun, AutoUpdateAfterTheRegistryPhaseRefreshesSystemSnapshots) {
    Machine s({{settings::scanning::AutoUpdateDb, "1"}});
    s.updateDatabase("C:");
    s.install();
    ASSERT_EQ(s.find("C:"), FindOutcome::Completed);
    EXPECT_EQ(s.m.files.content(std::string(Data) + "winIni.qdb"), s.m.files.content("C:\\Windows\\win.ini"));
    EXPECT_EQ(s.workFiles(),
              (std::set<std::string>{"changes.qdb", "sysChanges.qdb", "hkcuchanges.qdb", "hklmchanges.qdb"}));

    // With the whole hive listed, a second run finds only the key added outside the Software
    // branch: the refresh of the branch kept every other key of the snapshot.
    s.setScanning({{settings::scanning::RegFullScan, "1"}});
    ASSERT_EQ(s.find("C:"), FindOutcome::Completed);
    EXPECT_EQ(s.work("hkcuchanges.qdb"), "");
    EXPECT_EQ(s.work("hklmchanges.qdb"), crlfText({"SYSTEM\\NewDriver"}));
    EXPECT_EQ(s.work("changes.qdb"), "");
}

TEST(FindChangesRun, MissingRegistrySnapshotIsReportedAndTheRunStillHandsOver) {
    Machine s({{settings::scanning::AutoUpdateDb, "1"}});
    s.updateDatabase("C:");
    s.m.files.deleteFile(std::string(Data) + "hklmReg.qdb");
    const std::string oldWinIni = s.dataFolder().at("winIni.qdb");
    s.install();
    s.m.prompter.answer(MsgAnswer::Ok);
    EXPECT_EQ(s.find("C:"), FindOutcome::Completed);
    ASSERT_EQ(s.m.prompter.messages().size(), 1u);
    const MessageRequest& shown = s.m.prompter.messages()[0];
    EXPECT_EQ(shown.text,
              "Unable to find the Registry Information database. You may have to update the Scan Database again to "
              "find changes in the Registry.");
    EXPECT_EQ(shown.title, "Error scanning Registry");
    EXPECT_EQ(shown.icon, MsgIcon::Critical);
    EXPECT_EQ(s.workFiles(), (std::set<std::string>{"changes.qdb", "sysChanges.qdb"}));
    EXPECT_EQ(s.dataFolder().at("winIni.qdb"), oldWinIni) << "no refresh without the registry phase";
}

TEST(FindChangesRun, WholeHiveScanStillLeavesOutSoftwareClasses) {
    Machine s({{settings::scanning::RegFullScan, "1"}});
    s.updateDatabase("C:");
    s.install();
    ASSERT_EQ(s.find("C:"), FindOutcome::Completed);
    EXPECT_EQ(s.work("hklmchanges.qdb"), crlfText({"SYSTEM\\NewDriver", "SOFTWARE\\NewApp"}));
}

// The bar's range grows with every walk: 93 beyond the first folder count, less 4 for the
// second start folder of "1", and each further drive's folder count.
TEST(FindChangesRun, ProgressRangeFollowsTheFoldersWalked) {
    struct Case {
        const char* scanMode;
        std::vector<int> maximums;
    };
    // Below C:\Windows: System32, Temp; below C:\Program Files: Quillon, Old; on D:: Games. The
    // whole of C: adds Windows, Program Files, Apps and the Users tree (Users, Ann and six).
    const int cFolders = 3 + 3 + 1 + 8;
    const Case cases[] = {
        {"1", {2 + 93, 2 + 93 + 2 - 4}},
        {"2", {2 + 93}},
        {"0", {cFolders + 93, cFolders + 93 + 1}},
    };
    for (const Case& c : cases) {
        Machine s({{settings::scanning::ScanMode, c.scanMode}, {settings::scanning::RegScan, "0"}});
        s.updateDatabase("C:,D:");
        ASSERT_EQ(s.find("C:,D:"), FindOutcome::Completed);
        EXPECT_EQ(s.progress.maximums, c.maximums) << "ScanMode " << c.scanMode;
        EXPECT_EQ(s.progress.values.back(), c.maximums.back());
    }
}

// Each yield of a complete run, one after the other, is where the user closes the window.
TEST(FindChangesRun, StopAtAnyYieldDeletesTheRunsFilesAndKeepsEverySnapshot) {
    for (const char* autoUpdate : {"0", "1"}) {
        const std::map<std::string_view, std::string> scanning{{settings::scanning::AutoUpdateDb, autoUpdate}};
        int yields = 0;
        {
            Machine s(scanning);
            s.updateDatabase("C:,D:");
            s.install();
            ASSERT_EQ(s.find("C:,D:"), FindOutcome::Completed);
            yields = s.m.run.yields();
        }
        ASSERT_GT(yields, 20);
        for (int n = 1; n <= yields; ++n) {
            Machine s(scanning);
            s.updateDatabase("C:,D:");
            s.install();
            const Files before = s.dataFolder();
            s.m.run.stopAtYield(n);
            ASSERT_EQ(s.find("C:,D:"), FindOutcome::Stopped) << "yield " << n;
            const std::set<std::string> left = s.workFiles();
            EXPECT_TRUE(left.empty()) << "yield " << n << " left " << *left.begin();
            EXPECT_EQ(s.dataFolder(), before) << "yield " << n;
        }
    }
}

}  // namespace
}  // namespace quillon::detection
