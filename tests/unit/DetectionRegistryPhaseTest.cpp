#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "DetectionTestProgress.h"
#include "detection/RegistryCompare.h"
#include "support/fakes.h"
#include "support/TextLines.h"

namespace quillon::detection {
namespace {

using Lines = std::vector<std::string>;

using fakes::crlfText;

constexpr const char* HkcuFresh = "C:\\hkcutmp.qdb";
constexpr const char* HklmFresh = "C:\\hklmtmp.qdb";
constexpr const char* HkcuChanges = "C:\\hkcuchanges.qdb";
constexpr const char* HklmChanges = "C:\\hklmchanges.qdb";
const char* const WrittenFiles[] = {HkcuFresh, HklmFresh, HkcuChanges, HklmChanges};
const RegistryScanFolders Folders{"C:\\", "C:\\Data\\"};

// Both hives as the last update recorded them, then an installation: a new vendor key in
// each hive, a new class below HKLM's Software\Classes and a new key outside Software.
class DetectionRegistryPhase : public ::testing::Test {
protected:
    fakes::FakeRegistry registry;
    fakes::FakeFileSystem files;
    fakes::FakeRunContext run;
    RecordingProgress progress;

    void SetUp() override {
        files.addFolder("C:\\Data");
        registry.createKey(Hive::CurrentUser, "AppEvents");
        registry.createKey(Hive::CurrentUser, "Software\\Old");
        registry.createKey(Hive::LocalMachine, "SOFTWARE\\Classes\\.txt");
        registry.createKey(Hive::LocalMachine, "SOFTWARE\\Old");
        registry.createKey(Hive::LocalMachine, "SYSTEM");
        files.addFile("C:\\Data\\hkcuReg.qdb", crlfText({"", "Software", "Software\\Old", "AppEvents"}), FileAttr::Hidden);
        files.addFile("C:\\Data\\hklmReg.qdb", crlfText({"", "SYSTEM", "SOFTWARE", "SOFTWARE\\Old"}), FileAttr::Hidden);

        registry.createKey(Hive::CurrentUser, "AppEvents\\NewSounds");
        registry.createKey(Hive::CurrentUser, "Software\\Vendor\\App");
        registry.createKey(Hive::LocalMachine, "SOFTWARE\\Vendor\\App\\Settings");
        registry.createKey(Hive::LocalMachine, "SOFTWARE\\Classes\\.new");
        registry.createKey(Hive::LocalMachine, "SYSTEM\\NewDriver");
    }

    RegistryOutcome find(bool fullScan, RunContext& context) {
        return findRegistryChanges(registry, files, context, fullScan, Folders, progress);
    }
};

TEST_F(DetectionRegistryPhase, FromSoftwareOnly) {
    EXPECT_EQ(find(false, run), RegistryOutcome::Completed);
    EXPECT_EQ(files.content(HkcuChanges), crlfText({"Software\\Vendor"}));
    EXPECT_EQ(files.content(HklmChanges), crlfText({"Software\\Vendor"}));
    EXPECT_EQ(files.content(HkcuFresh), crlfText({"Software", "Software\\Vendor", "Software\\Vendor\\App", "Software\\Old"}))
        << "the fresh lists stay for the caller";
    EXPECT_EQ(files.content(HklmFresh), crlfText({"Software", "Software\\Vendor", "Software\\Vendor\\App",
                                              "Software\\Vendor\\App\\Settings", "Software\\Old"}));
    EXPECT_EQ(progress.advanced, 30);
}

TEST_F(DetectionRegistryPhase, TheWholeHiveStillLeavesOutSoftwareClasses) {
    EXPECT_EQ(find(true, run), RegistryOutcome::Completed);
    EXPECT_EQ(files.content(HkcuChanges), crlfText({"Software\\Vendor", "AppEvents\\NewSounds"}));
    EXPECT_EQ(files.content(HklmChanges), crlfText({"SYSTEM\\NewDriver", "SOFTWARE\\Vendor"}));
    const std::string hklm = files.content(HklmFresh).value_or("");
    EXPECT_EQ(hklm.find("Classes"), std::string::npos) << hklm;
}

TEST_F(DetectionRegistryPhase, AMissingSnapshotIsPassedOverAndReportsNothing) {
    files.deleteFile("C:\\Data\\hkcuReg.qdb");
    EXPECT_EQ(find(false, run), RegistryOutcome::ReadFailed);
    EXPECT_EQ(files.content(HkcuChanges), "");
    EXPECT_EQ(files.content(HklmChanges), crlfText({"Software\\Vendor"}));
    EXPECT_EQ(progress.advanced, 30) << "a failed step still moves the progress";
}

TEST_F(DetectionRegistryPhase, BothSnapshotsMustExist) {
    files.setAttributes("C:\\Data\\hklmReg.qdb", FileAttr::Hidden | FileAttr::System);
    EXPECT_TRUE(registrySnapshotsExist(files, Folders.data));
    for (const char* missing : {"C:\\Data\\hkcuReg.qdb", "C:\\Data\\hklmReg.qdb"}) {
        fakes::FakeFileSystem copy;
        copy.addFile("C:\\Data\\hkcuReg.qdb", "", FileAttr::Hidden);
        copy.addFile("C:\\Data\\hklmReg.qdb", "", FileAttr::Hidden);
        copy.deleteFile(missing);
        EXPECT_FALSE(registrySnapshotsExist(copy, Folders.data)) << missing;
    }
}

// Yields: HKCU walk 4 keys, HKLM walk 5, HKCU compare 4 + 4 lines, HKLM compare 4 + 5.
// Whatever step the stop falls in, every file the phase wrote is gone, and the progress has
// moved for the steps before it only (10, 10, 5, 5).
TEST_F(DetectionRegistryPhase, AStopInAnyStepDeletesWhatThePhaseWrote) {
    struct Case {
        int stopAt;
        int progress;
    };
    const Case cases[] = {{1, 0}, {4, 0}, {5, 10}, {9, 10}, {10, 20}, {17, 20}, {18, 25}, {26, 25}};
    for (const Case& c : cases) {
        fakes::FakeRunContext stopping;
        stopping.stopAtYield(c.stopAt);
        progress.advanced = 0;
        EXPECT_EQ(find(false, stopping), RegistryOutcome::Stopped) << c.stopAt;
        EXPECT_EQ(stopping.yields(), c.stopAt);
        EXPECT_EQ(progress.advanced, c.progress) << c.stopAt;
        for (const char* file : WrittenFiles) EXPECT_FALSE(files.exists(file)) << file << " at " << c.stopAt;
        EXPECT_TRUE(files.exists("C:\\Data\\hkcuReg.qdb"));
        EXPECT_TRUE(files.exists("C:\\Data\\hklmReg.qdb"));
    }
}

TEST_F(DetectionRegistryPhase, AFileLeftByAnotherRunIsNotTouchedByAnEarlyStop) {
    files.addFile(HklmChanges, "Software\\Unread\r\n");
    fakes::FakeRunContext stopping;
    stopping.stopAtYield(1);
    EXPECT_EQ(find(false, stopping), RegistryOutcome::Stopped);
    EXPECT_EQ(files.content(HklmChanges), "Software\\Unread\r\n");
}

}  // namespace
}  // namespace quillon::detection
