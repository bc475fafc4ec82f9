#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "shell/Settings.h"
#include "snapshot/FolderWalk.h"
#include "snapshot/RegistryWalk.h"
#include "snapshot/UpdateDatabase.h"
#include "support/FakeMachine.h"
#include "support/TextLines.h"

namespace quillon::snapshot {
namespace {

using fakes::crlfText;
using Lines = std::vector<std::string>;

// Keeps the steps shown and how many yields the run had made at each completed drive.
class RecordingProgress final : public UpdateProgress {
public:
    explicit RecordingProgress(const fakes::FakeRunContext& run) : run_(run) {}
    void showStep(std::string_view text) override { steps.emplace_back(text); }
    void driveCompleted() override { completedAtYield.push_back(run_.yields()); }
    Lines steps;
    std::vector<int> completedAtYield;

private:
    const fakes::FakeRunContext& run_;
};

class DriveWalk : public ::testing::Test {
protected:
    fakes::FakeFileSystem files;
    fakes::FakeRunContext run;
    RecordingProgress progress{run};

    void SetUp() override { files.addDrive('W'); }
    std::optional<std::string> walk(std::string_view folder = "C:\\", RunContext* context = nullptr) {
        std::unique_ptr<TextWriter> out;
        EXPECT_EQ(files.openWrite("W:\\out.qdb", WriteMode::Create, out), Status::Ok);
        const bool completed = walkFolderTree(files, context ? *context : run, progress, folder, *out).completed();
        EXPECT_EQ(out->close(), Status::Ok);
        return completed ? files.content("W:\\out.qdb") : std::nullopt;
    }
};

TEST_F(DriveWalk, OneBlockPerFolderInListingOrder) {
    files.addFile("C:\\AUTOEXEC.BAT");
    files.addFile("C:\\.profile", "", FileAttr::Hidden | FileAttr::System | FileAttr::ReadOnly);
    files.addFile("C:\\Program Files\\Common Files\\desktop.ini", "", FileAttr::Hidden);
    files.addFile("C:\\.config\\settings.ini");
    files.addFolder("C:\\Link", FileAttr::Directory | FileAttr::ReparsePoint);
    files.addFile("C:\\Link\\target.txt");
    files.addFile("C:\\Secret\\s.txt");
    files.refuseListing("C:\\Secret");
    files.setListingOrder("C:\\", {"Secret", "AUTOEXEC.BAT", ".config", "Program Files", "Link", ".profile"});
    EXPECT_EQ(walk(), "C:\\{\r\nAUTOEXEC.BAT\r\n.profile\r\n}\r\nC:\\Secret\\{\r\n}\r\n"
                      "C:\\Program Files\\{\r\n}\r\nC:\\Program Files\\Common Files\\{\r\ndesktop.ini\r\n}\r\n");
    EXPECT_EQ(progress.steps, (Lines{"C:\\", "C:\\Secret\\", "C:\\Program Files\\", "C:\\Program Files\\Common Files\\"}));
}

TEST_F(DriveWalk, NamesInAnyScriptAndLongPathsAreWrittenAsTheyAre) {
    std::string deep = "C:\\";
    while (deep.size() < 400) deep += "\u0414\u043b\u0438\u043d\u043d\u0430\u044f \u043f\u0430\u043f\u043a\u0430\\";
    const Lines names = {"\u0434\u043e\u043c.txt", "\u03a9\u03bc\u03b5\u03b3\u03b1", "\u65e5\u672c\u8a9e.doc",
                         "\u4e2d\u6587", "\U0001F600.png", "stra\u00dfe", "\u0130stanbul"};
    for (const auto& name : names) files.addFile(deep + name);
    files.setListingOrder(deep, names);
    std::string expected;
    for (std::size_t end = 2; end != std::string::npos; end = deep.find('\\', end + 1))
        expected += deep.substr(0, end + 1) + (end + 1 == deep.size() ? "{\r\n" + fakes::crlfText(names) + "}\r\n" : "{\r\n}\r\n");
    EXPECT_EQ(walk(), expected);
}

// Refuses every write from the first file name on, as a disk that fills up does.
class RefusingWriter final : public TextWriter {
public:
    Status write(std::string_view) override { return ++writes > 2 ? Status::DiskFull : Status::Ok; }
    Status close() override { return writes > 2 ? Status::DiskFull : Status::Ok; }
    int writes = 0;
};

// Folders in walk order: C:\, A, A\A1, B. A stop at the n-th yield leaves the blocks before
// it written and none after; a refused write ends the walk in its folder.
TEST_F(DriveWalk, AStopOrAFailedWriteEndsTheWalk) {
    files.addFile("C:\\r");
    files.addFile("C:\\A\\A1\\a");
    files.addFolder("C:\\B");
    const Lines blocks[] = {{"C:\\{", "r", "}"}, {"C:\\A\\{", "}"}, {"C:\\A\\A1\\{", "a", "}"}, {"C:\\B\\{", "}"}};
    std::string before;
    for (int stopAt = 1; stopAt <= 4; ++stopAt) {
        fakes::FakeRunContext stopping;
        stopping.stopAtYield(stopAt);
        EXPECT_EQ(walk("C:\\", &stopping), std::nullopt) << stopAt;
        EXPECT_EQ(stopping.yields(), stopAt);
        EXPECT_EQ(files.content("W:\\out.qdb"), before) << stopAt;
        before += crlfText(blocks[stopAt - 1]);
    }
    RefusingWriter out;
    EXPECT_TRUE(walkFolderTree(files, run, progress, "C:\\", out).completed());
    EXPECT_EQ(out.writes, 3) << "nothing written after the refusal";
    EXPECT_EQ(run.yields(), 1) << "the walk ends in the folder of the refused line";
}

// Keys in walk order: "", Software, Software\Secret (unopenable), Software\Beta, ... A refused
// write, like a stop, leaves no list behind.
TEST(RegistryWalk, LastEnumeratedFirstAndAnUnopenableKeyWithoutItsSubKeys) {
    fakes::FakeRegistry registry;
    fakes::FakeFileSystem files;
    fakes::FakeRunContext run;
    for (const char* key : {"AppEvents", "Software\\Acme\\Tool", "Software\\Beta", "Software\\Secret\\Inner"})
        registry.createKey(Hive::CurrentUser, key);
    registry.markUnopenable(Hive::CurrentUser, "Software\\Secret");
    const auto walk = [&](std::string_view start, std::string_view leftOut) {
        return walkRegistry(registry, files, run, Hive::CurrentUser, start, "C:\\RegTemp.qdb", leftOut);
    };
    files.addFile("C:\\RegTemp.qdb", "an older list that must go\r\n");
    EXPECT_EQ(walk("", ""), UpdateOutcome::Completed);
    EXPECT_EQ(files.content("C:\\RegTemp.qdb"), crlfText({"", "Software", "Software\\Secret", "Software\\Beta",
                                                         "Software\\Acme", "Software\\Acme\\Tool", "AppEvents"}));
    EXPECT_EQ(run.yields(), 7) << "one yield per key";
    EXPECT_EQ(walk("\\Software", "SOFTWARE\\acme"), UpdateOutcome::Completed);
    EXPECT_EQ(files.content("C:\\RegTemp.qdb"), crlfText({"Software", "Software\\Secret", "Software\\Beta"}))
        << "the left-out key and its tree are not visited whatever their spelling";
    files.failWritesUnder("C:\\RegTemp.qdb");
    EXPECT_EQ(walk("", ""), UpdateOutcome::WriteFailed);
    EXPECT_FALSE(files.exists("C:\\RegTemp.qdb"));
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
    std::optional<std::string> scanSetting(std::string_view name) {
        return m.registry.stringValue(Hive::CurrentUser, settings::ScanningKey, name);
    }
};

// The yields of a full run, in order: one per folder of C:, one per folder of D:, the
// configuration-file step, the registry step, one per HKCU key (4), one per HKLM key (4).
TEST(UpdateRun, ACompleteRunReplacesEverySnapshotByTheShellWithoutAsking) {
    StagedMachine s;
    EXPECT_EQ(s.update(), UpdateOutcome::Completed);
    EXPECT_EQ(s.replaced(), Lines(std::begin(Snapshots), std::end(Snapshots)));
    EXPECT_EQ(s.m.files.content(data("Ddbase.qdb")), "D:\\{\r\nd.txt\r\n}\r\nD:\\Sub\\{\r\n}\r\n");
    EXPECT_EQ(s.m.files.content(data("hklmReg.qdb")), "\r\nSYSTEM\r\nSOFTWARE\r\nSOFTWARE\\ClassesX\r\n");
    ASSERT_EQ(s.m.shell.operations().size(), 10u) << "two drives, four copies, two hives of keys and of values";
    for (const FileOperation& op : s.m.shell.operations()) EXPECT_EQ(op.flags, FileOpFlag::NoConfirmation) << op.to;
    ASSERT_EQ(s.progress.completedAtYield.size(), 2u);
    EXPECT_EQ(s.progress.completedAtYield[1] - s.progress.completedAtYield[0], 2) << "D:\\ and D:\\Sub";
    EXPECT_EQ(s.m.run.yields(), s.progress.completedAtYield[1] + 2 + 4 + 4);
    EXPECT_TRUE(s.m.prompter.messages().empty());
}

TEST(UpdateRun, AMissingConfigurationFileTurnsItsComparisonOffAndAFailedCopyEndsTheUpdate) {
    StagedMachine s;
    static_cast<void>(s.m.files.setAttributes("C:\\autoexec.bat", FileAttr::Normal));  // best effort: the attributes are not what the data depends on
    ASSERT_EQ(s.m.files.deleteFile("C:\\autoexec.bat"), Status::Ok);
    s.m.files.addFolder("C:\\autoexec.bat");  // a folder of that name is no file
    ASSERT_EQ(s.update(""), UpdateOutcome::Completed);
    EXPECT_EQ(s.replaced(), (Lines{"hkcuReg.qdb", "hklmReg.qdb", "configSys.qdb", "winIni.qdb", "systemIni.qdb"}));
    EXPECT_EQ(s.scanSetting(settings::scanning::AutoexecScan), "0");

    // The copy of win.ini fails: the old copy must not pass for a fresh one later.
    StagedMachine held;
    held.m.files.holdOpen("C:\\Windows\\win.ini");
    held.m.prompter.answer(MsgAnswer::Ok);
    EXPECT_EQ(held.update(""), UpdateOutcome::WriteFailed);
    EXPECT_FALSE(held.m.files.exists(data("winIni.qdb")));
    for (const char* name : {"hkcuReg.qdb", "systemIni.qdb"}) EXPECT_EQ(held.m.files.content(data(name)), "old") << name;
    ASSERT_EQ(held.m.prompter.messages().size(), 1u);
    EXPECT_EQ(held.m.prompter.messages()[0].text,
              "Quillon could not copy C:\\Windows\\win.ini: error 32. The database was not updated in full; run "
              "Update database again once the file can be copied.");
    EXPECT_EQ(held.scanSetting(settings::scanning::WinIniScan), std::nullopt);
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
        EXPECT_TRUE(s.m.prompter.messages().empty());
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
        ASSERT_EQ(s.m.prompter.messages().size(), 1u) << what;
        const MessageRequest& shown = s.m.prompter.messages()[0];
        EXPECT_EQ(shown.title, "Error updating database");
        EXPECT_EQ(shown.text, "The scan database could not be written. The previous database was kept.");
    }
}

}  // namespace
}  // namespace quillon::snapshot
