#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "detection/RegistryCompare.h"
#include "detection/RegistryKeyIndex.h"
#include "support/fakes.h"
#include "support/TextLines.h"

namespace quillon::detection {
namespace {

using Lines = std::vector<std::string>;
constexpr const char* Snapshot = "C:\\Data\\hkcuReg.qdb";
constexpr const char* Fresh = "C:\\hkcutmp.qdb";
constexpr const char* Output = "C:\\hkcuchanges.qdb";

using fakes::crlfText;

struct KeyCase {
    const char* name;
    Lines snapshot;
    Lines fresh;
    Lines reported;
};

const KeyCase KeyCases[] = {
    {"the worked example", {"", "Software", "Software\\Old"},
     {"", "Software", "Software\\New", "Software\\New\\Sub", "Software\\Old"}, {"Software\\New"}},
    {"a list identical to its snapshot", {"", "Software", "Software\\A"}, {"", "Software", "Software\\A"}, {}},
    {"a new key with ten sub-keys is one line", {"", "Software"},
     {"", "Software", "Software\\N", "Software\\N\\1", "Software\\N\\2", "Software\\N\\3", "Software\\N\\4",
      "Software\\N\\5", "Software\\N\\6", "Software\\N\\7", "Software\\N\\8", "Software\\N\\9", "Software\\N\\9\\10"},
     {"Software\\N"}},
    {"keys are compared without regard to case", {"", "SOFTWARE", "SOFTWARE\\Acme"}, {"", "Software", "software\\ACME"}, {}},
    {"a new key that is part of an old key's path", {"", "Software", "Software\\FooBar"},
     {"", "Software", "Software\\Foo", "Software\\FooBar"}, {"Software\\Foo"}},
    {"a new key whose old sub-key was kept", {"", "Software", "Software\\Foo\\Sub"},
     {"", "Software", "Software\\Foo", "Software\\Foo\\Sub"}, {"Software\\Foo"}},
    {"a new key found inside an old deeper path", {"", "Software", "Software\\Microsoft\\Windows"},
     {"", "Software", "Windows", "Software\\Microsoft\\Windows"}, {"Windows"}},
    {"a new key beginning with a reported key's name", {"", "Software"},
     {"", "Software", "Software\\New", "Software\\New\\Sub", "Software\\NewX", "Software\\NewX\\Sub"},
     {"Software\\New", "Software\\NewX"}},
    {"below a reported key whatever its case", {""}, {"", "Vendor", "VENDOR\\App", "vendor\\app\\deep"}, {"Vendor"}},
    {"the fresh list in another order", {"", "B", "B\\1", "A", "A\\1"}, {"A\\1", "A", "C", "B\\1", "C\\1", "B", ""}, {"C"}},
    {"a sub-key listed before its new parent is reported too", {""}, {"", "N\\Sub", "N"}, {"N\\Sub", "N"}},
    {"spelt as in the fresh list", {""}, {"", "Software\\NewVendor\\App"}, {"Software\\NewVendor\\App"}},
    {"the hive's root is a key like any other", {"Software"}, {"", "Software"}, {""}},
    {"a rescan from Software against a snapshot of the whole hive", {"", "AppEvents", "SOFTWARE", "SOFTWARE\\A"},
     {"Software", "Software\\A", "Software\\B"}, {"Software\\B"}},
};

class DetectionRegistryCompare : public ::testing::Test {
protected:
    fakes::FakeFileSystem files;
    fakes::FakeRunContext run;

    void SetUp() override { files.addFile(Output, "left from an earlier run\r\n"); }
};

TEST_F(DetectionRegistryCompare, NewKeysByTheSoundRule) {
    for (const KeyCase& c : KeyCases) {
        fakes::FakeFileSystem fs;
        fs.addFile(Snapshot, crlfText(c.snapshot), FileAttr::Hidden);
        fs.addFile(Fresh, crlfText(c.fresh));
        EXPECT_EQ(compareRegistryScan(fs, run, Snapshot, Fresh, Output), RegistryOutcome::Completed) << c.name;
        EXPECT_EQ(fs.content(Output), crlfText(c.reported)) << c.name;
    }
}

TEST_F(DetectionRegistryCompare, TheWorkedExampleByteForByte) {
    files.addFile(Snapshot, "\r\nSoftware\r\nSoftware\\Old\r\n");
    files.addFile(Fresh, "\r\nSoftware\r\nSoftware\\New\r\nSoftware\\New\\Sub\r\nSoftware\\Old\r\n");
    EXPECT_EQ(compareRegistryScan(files, run, Snapshot, Fresh, Output), RegistryOutcome::Completed);
    EXPECT_EQ(files.content(Output), "Software\\New\r\n");
    EXPECT_EQ(run.yields(), 3 + 5) << "one yield per line of each list";
}

TEST_F(DetectionRegistryCompare, AnUnreadableSnapshotReportsNothing) {
    files.addFile(Fresh, "\r\nSoftware\r\n");
    EXPECT_EQ(compareRegistryScan(files, run, Snapshot, Fresh, Output), RegistryOutcome::ReadFailed);
    EXPECT_EQ(files.content(Output), "");

    files.addFile(Snapshot, "\r\n");
    files.holdOpen(Snapshot);
    EXPECT_EQ(compareRegistryScan(files, run, Snapshot, Fresh, Output), RegistryOutcome::ReadFailed);
    EXPECT_EQ(files.content(Output), "");
}

TEST_F(DetectionRegistryCompare, FailuresOfTheFreshListAndTheOutput) {
    files.addFile(Snapshot, "\r\n");
    EXPECT_EQ(compareRegistryScan(files, run, Snapshot, Fresh, Output), RegistryOutcome::ReadFailed);
    EXPECT_EQ(files.content(Output), "");

    files.addFile(Fresh, "\r\nNew\r\n");
    files.failWritesUnder(Output);
    EXPECT_EQ(compareRegistryScan(files, run, Snapshot, Fresh, Output), RegistryOutcome::WriteFailed);
}

// Snapshot "", A (2 yields), then fresh "", N, A (3 yields, each before the key is judged):
// a stop at any of them ends the compare there, with the output closed.
TEST_F(DetectionRegistryCompare, AStopAtAnyLineEndsTheCompare) {
    files.addFile(Snapshot, crlfText({"", "A"}));
    files.addFile(Fresh, crlfText({"", "N", "A"}));
    for (int stopAt = 1; stopAt <= 5; ++stopAt) {
        fakes::FakeRunContext stopping;
        stopping.stopAtYield(stopAt);
        EXPECT_EQ(compareRegistryScan(files, stopping, Snapshot, Fresh, Output), RegistryOutcome::Stopped) << stopAt;
        EXPECT_EQ(stopping.yields(), stopAt);
        EXPECT_EQ(files.content(Output), stopAt <= 4 ? "" : "N\r\n") << stopAt;
        EXPECT_EQ(files.openExclusive(Output), Status::Ok) << "closed; " << stopAt;
    }
}

TEST(DetectionRegistryDigest, EqualWithoutRegardToCaseAndOtherwiseDifferent) {
    EXPECT_EQ(digestNoCase("Software\\\xC4" "BC"), digestNoCase("SOFTWARE\\\xE4" "bc"));
    const char* const distinct[] = {"", "a", "b", "ab", "ba", "a\\b", "ab\\", "Software\\New", "Software\\NewX"};
    for (const char* a : distinct)
        for (const char* b : distinct)
            if (std::string_view(a) != b) {
                EXPECT_NE(digestNoCase(a), digestNoCase(b)) << a << " / " << b;
            }
}

}  // namespace
}  // namespace quillon::detection
