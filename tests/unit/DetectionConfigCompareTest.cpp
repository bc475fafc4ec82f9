#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "DetectionTestProgress.h"
#include "detection/ConfigCompare.h"
#include "shell/Settings.h"
#include "support/fakes.h"
#include "support/TextLines.h"

namespace quillon::detection {
namespace {

using Lines = std::vector<std::string>;
constexpr char Sep = settings::ListSeparator;
constexpr const char* Snapshot = "C:\\Data\\winIni.qdb";
constexpr const char* Config = "C:\\Windows\\win.ini";

using fakes::crlfText;

ConfigChanges compare(fakes::FakeFileSystem& files, const Lines& snapshot, const Lines& config) {
    files.addFile(Snapshot, crlfText(snapshot), FileAttr::Hidden);
    files.addFile(Config, crlfText(config));
    ConfigChanges changes;
    EXPECT_TRUE(compareConfigFile(files, Snapshot, Config, changes));
    return changes;
}

struct CompareCase {
    const char* name;
    Lines snapshot;
    Lines config;
    Lines added;
    Lines replaced;
};

const CompareCase CompareCases[] = {
    {"the worked example", {"[windows]", "load=", "run=", "device=old"},
     {"[windows]", "load=app.exe", "run=", "NewKey=1", "device=old"}, {"load=app.exe", "NewKey=1"}, {"load=", " "}},
    {"a changed line between unchanged ones", {"[boot]", "shell=a.exe", "drivers=x"},
     {"[boot]", "shell=b.exe", "drivers=x"}, {"shell=b.exe"}, {"shell=a.exe"}},
    {"a line appended at the end", {"[386Enh]", "a=1"}, {"[386Enh]", "a=1", "b=2"}, {"b=2"}, {" "}},
    {"the last line changed: both are followed by the end", {"[386Enh]", "a=1"}, {"[386Enh]", "a=2"}, {"a=2"}, {"a=1"}},
    {"lines differing only in case are equal", {"Device=X", "[Boot]"}, {"device=x", "[boot]"}, {}, {}},
    {"an empty line is never an added line", {"SET A=1", "SET B=2"}, {"SET A=1", "", "", "SET B=2"}, {}, {}},
    {"empty lines are skipped when looking for the next line", {"a=1", "", "b=2"}, {"a=9", "b=2"}, {"a=9"}, {"a=1"}},
    {"lines reordered: nothing added", {"a=1", "b=2", "c=3"}, {"c=3", "a=1", "b=2"}, {}, {}},
    {"a line only equal in part is added", {"path=C:\\DOS;C:\\WIN"}, {"path=C:\\DOS"}, {"path=C:\\DOS"}, {"path=C:\\DOS;C:\\WIN"}},
    {"trailing blanks make a line different", {"a=1", "z"}, {"a=1 ", "z"}, {"a=1 "}, {"a=1"}},
    {"the first removed line that fits is taken", {"x=1", "k", "y=1", "k"}, {"x=2", "k", "k"}, {"x=2"}, {"x=1"}},
    {"an added line twice is listed twice", {"a", "b"}, {"a", "new", "b", "new"}, {"new", "new"}, {" ", " "}},
    {"the text of the blank-line marker is an ordinary line", {"a", "", "b"}, {"a", "MMMMMM", "b"}, {"MMMMMM"}, {" "}},
    {"an empty snapshot: every non-empty line is added", {}, {"[windows]", "", "x=1"}, {"[windows]", "x=1"}, {" ", " "}},
};

TEST(DetectionConfigCompare, AddedAndReplacedLines) {
    for (const CompareCase& c : CompareCases) {
        fakes::FakeFileSystem files;
        const ConfigChanges changes = compare(files, c.snapshot, c.config);
        EXPECT_EQ(changes.added, c.added) << c.name;
        EXPECT_EQ(changes.replaced, c.replaced) << c.name;
    }
}

TEST(DetectionConfigCompare, LineEndingsDoNotMatter) {
    fakes::FakeFileSystem files;
    files.addFile(Snapshot, "[boot]\nshell=a.exe\ndrivers=x");
    files.addFile(Config, "[boot]\r\nshell=b.exe\rdrivers=x\r\n");
    ConfigChanges changes;
    ASSERT_TRUE(compareConfigFile(files, Snapshot, Config, changes));
    EXPECT_EQ(changes.added, Lines{"shell=b.exe"});
    EXPECT_EQ(changes.replaced, Lines{"shell=a.exe"});
}

TEST(DetectionConfigCompare, AFileThatCannotBeReadGivesNoResult) {
    fakes::FakeFileSystem files;
    files.addFile(Config, "x=1\r\n");
    ConfigChanges changes;
    EXPECT_FALSE(compareConfigFile(files, Snapshot, Config, changes)) << "snapshot missing";
    files.addFile(Snapshot, "x=1\r\n");
    files.holdOpen(Config);
    EXPECT_FALSE(compareConfigFile(files, Snapshot, Config, changes)) << "file held open";
}

// ---- sysChanges.qdb

constexpr const char* Output = "C:\\sysChanges.qdb";
const ConfigFolders Folders{"C:\\", "C:\\", "C:\\Windows\\", "C:\\Data\\"};

struct ConfigRow {
    std::string_view setting;
    const char* file;
    const char* snapshot;
    const char* header;
};
// In the order the sections are written.
const ConfigRow Rows[] = {
    {settings::scanning::AutoexecScan, "C:\\autoexec.bat", "C:\\Data\\Autoexec.qdb", "Autoexec.bat{"},
    {settings::scanning::WinIniScan, "C:\\Windows\\win.ini", "C:\\Data\\winIni.qdb", "Win.ini{"},
    {settings::scanning::SystemIniScan, "C:\\Windows\\system.ini", "C:\\Data\\systemIni.qdb", "System.ini{"},
    {settings::scanning::ConfigSysScan, "C:\\config.sys", "C:\\Data\\configSys.qdb", "Config.sys{"},
};

class DetectionSysChanges : public ::testing::Test {
protected:
    fakes::FakeRegistry registry;
    fakes::FakeFileSystem files;
    RecordingProgress progress;

    void SetUp() override {
        files.addFolder("C:\\Windows");
        files.addFolder("C:\\Data");
        files.addFile(Output, "left from an earlier run\r\n");
    }
    void setAll(const char* value) {
        for (const ConfigRow& row : Rows) registry.setString(Hive::CurrentUser, settings::ScanningKey, row.setting, value);
    }
    // Each file gains "new<i>" after its first line; the snapshot is hidden, as the update leaves it.
    void stage(const ConfigRow& row, int i) {
        files.addFile(row.snapshot, crlfText({"first", "second"}), FileAttr::Hidden);
        files.addFile(row.file, crlfText({"first", "new" + std::to_string(i), "second"}));
    }
    std::string write() {
        EXPECT_EQ(writeConfigChanges(registry, files, Folders, progress), Status::Ok);
        return files.content(Output).value_or("<missing>");
    }
};

TEST_F(DetectionSysChanges, TheWorkedExampleLineForLine) {
    registry.setString(Hive::CurrentUser, settings::ScanningKey, settings::scanning::WinIniScan, "1");
    files.addFile("C:\\Data\\winIni.qdb", crlfText({"[windows]", "load=", "run=", "device=old"}), FileAttr::Hidden);
    files.addFile("C:\\Windows\\win.ini", crlfText({"[windows]", "load=app.exe", "run=", "NewKey=1", "device=old"}));
    EXPECT_EQ(write(), "Win.ini{\r\nload=app.exe\x7fNewKey=1\x7f\r\nload=\x7f \x7f\r\n}\r\n");
    EXPECT_EQ(progress.advanced, 1);
}

TEST_F(DetectionSysChanges, AllFourSectionsInTheirOrder) {
    setAll("1");
    for (int i = 0; i < 4; ++i) stage(Rows[i], i);
    std::string expected;
    for (int i = 0; i < 4; ++i) expected += crlfText({Rows[i].header, "new" + std::to_string(i) + Sep, std::string(" ") + Sep, "}"});
    EXPECT_EQ(write(), expected);
    EXPECT_EQ(progress.advanced, 4);
}

TEST_F(DetectionSysChanges, AnUnchangedFileStillHasItsSectionWithEmptyLists) {
    registry.setString(Hive::CurrentUser, settings::ScanningKey, settings::scanning::SystemIniScan, "1");
    files.addFile(Rows[2].snapshot, "[boot]\r\n", FileAttr::Hidden);
    files.addFile(Rows[2].file, "[boot]\r\n");
    EXPECT_EQ(write(), "System.ini{\r\n\r\n\r\n}\r\n");
}

// Which sections appear, and how often the progress moves, by setting and by what exists.
TEST_F(DetectionSysChanges, SectionsNeedTheSettingAndBothFiles) {
    struct Case {
        const char* name;
        const char* value;
        bool file;
        bool snapshot;
        bool section;
        int progress;
    };
    const Case cases[] = {
        {"on, both present", "1", true, true, true, 1},
        {"on, snapshot missing", "1", true, false, false, 1},
        {"on, file missing", "1", false, true, false, 1},
        {"off", "0", true, true, false, 0},
        {"anything but 1 is off", "yes", true, true, false, 0},
    };
    for (const Case& c : cases) {
        fakes::FakeFileSystem fresh;
        fakes::FakeRegistry settingsOnly;
        fresh.addFolder("C:\\Windows");
        const ConfigRow& row = Rows[1];
        settingsOnly.setString(Hive::CurrentUser, settings::ScanningKey, row.setting, c.value);
        if (c.file) fresh.addFile(row.file, "a\r\nb\r\n");
        if (c.snapshot) fresh.addFile(row.snapshot, "a\r\n", FileAttr::Hidden | FileAttr::System);
        RecordingProgress recording;
        EXPECT_EQ(writeConfigChanges(settingsOnly, fresh, Folders, recording), Status::Ok) << c.name;
        const std::string expected = c.section ? crlfText({"Win.ini{", std::string("b") + Sep, std::string(" ") + Sep, "}"}) : "";
        EXPECT_EQ(fresh.content(Output), expected) << c.name;
        EXPECT_EQ(recording.advanced, c.progress) << c.name;
    }
}

TEST_F(DetectionSysChanges, AllSettingsOffGiveAnEmptyFile) {
    setAll("0");
    for (int i = 0; i < 4; ++i) stage(Rows[i], i);
    EXPECT_EQ(write(), "");
    EXPECT_EQ(progress.advanced, 0);
}

TEST_F(DetectionSysChanges, NoSettingsKeyGivesAnEmptyFile) {
    for (int i = 0; i < 4; ++i) stage(Rows[i], i);
    EXPECT_EQ(write(), "");
    EXPECT_EQ(progress.advanced, 0);
}

TEST_F(DetectionSysChanges, AFailingWriteIsReported) {
    setAll("1");
    stage(Rows[0], 0);
    files.failWritesUnder(Output);
    EXPECT_EQ(writeConfigChanges(registry, files, Folders, progress), Status::DiskFull);
}

}  // namespace
}  // namespace quillon::detection
