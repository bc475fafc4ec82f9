#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "snapshot/RegistryWalk.h"
#include "support/fakes.h"
#include "support/TextLines.h"

namespace quillon::snapshot {
namespace {

constexpr const char* Output = "C:\\RegTemp.qdb";

using fakes::crlfText;

std::vector<std::string> splitLines(const std::string& text) {
    std::vector<std::string> out;
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t end = text.find("\r\n", at);
        out.push_back(text.substr(at, end - at));
        at = end + 2;
    }
    return out;
}

class RegistryWalk : public ::testing::Test {
protected:
    fakes::FakeRegistry registry;
    fakes::FakeFileSystem files;
    fakes::FakeRunContext run;

    void SetUp() override { files.addDrive('C'); }

    UpdateOutcome walk(Hive hive, std::string_view start = "", std::string_view leftOut = "") {
        return walkRegistry(registry, files, run, hive, start, Output, leftOut);
    }
};

TEST_F(RegistryWalk, WorkedExampleByteForByte) {
    for (const char* key : {"AppEvents", "Software\\Acme", "Software\\Beta"}) registry.createKey(Hive::CurrentUser, key);
    files.addFile(Output, "an older list that must go\r\n");

    EXPECT_EQ(walk(Hive::CurrentUser), UpdateOutcome::Completed);
    EXPECT_EQ(files.content(Output), "\r\nSoftware\r\nSoftware\\Beta\r\nSoftware\\Acme\r\nAppEvents\r\n");
    EXPECT_EQ(run.yields(), 5) << "one yield per key";
}

TEST_F(RegistryWalk, AStartPathWalksOnlyBelowIt) {
    for (const char* key : {"AppEvents\\Sounds", "Software\\Acme\\Tool", "Software\\Beta"})
        registry.createKey(Hive::CurrentUser, key);
    for (const char* start : {"Software", "\\Software"}) {
        EXPECT_EQ(walk(Hive::CurrentUser, start), UpdateOutcome::Completed) << start;
        EXPECT_EQ(files.content(Output), crlfText({"Software", "Software\\Beta", "Software\\Acme", "Software\\Acme\\Tool"}))
            << start;
    }
}

TEST_F(RegistryWalk, AnUnopenableKeyIsWrittenWithoutItsSubKeys) {
    registry.createKey(Hive::CurrentUser, "Software\\Secret\\Inner\\Deeper");
    registry.createKey(Hive::CurrentUser, "Software\\Shown\\Child");
    registry.markUnopenable(Hive::CurrentUser, "Software\\Secret");

    EXPECT_EQ(walk(Hive::CurrentUser), UpdateOutcome::Completed);
    EXPECT_EQ(files.content(Output), crlfText({"", "Software", "Software\\Shown", "Software\\Shown\\Child", "Software\\Secret"}));
}

TEST_F(RegistryWalk, TheLeftOutKeyAndItsTreeAreNotVisitedWhateverItsSpelling) {
    for (const char* key : {"SOFTWARE\\Acme", "SOFTWARE\\classes\\.txt\\ShellNew", "SOFTWARE\\ClassesX\\Inner", "SYSTEM\\Classes"})
        registry.createKey(Hive::LocalMachine, key);

    EXPECT_EQ(walk(Hive::LocalMachine, "", "SOFTWARE\\Classes"), UpdateOutcome::Completed);
    const auto written = splitLines(*files.content(Output));
    EXPECT_EQ(written, (std::vector<std::string>{"", "SYSTEM", "SYSTEM\\Classes", "SOFTWARE", "SOFTWARE\\ClassesX",
                                                 "SOFTWARE\\ClassesX\\Inner", "SOFTWARE\\Acme"}));
}

// Keys in walk order: "", B, B\B1, A. A stop seen at the n-th yield ends the walk there and
// leaves no file behind.
TEST_F(RegistryWalk, CancelAtAnyKeyDeletesTheOutput) {
    for (const char* key : {"A", "B\\B1"}) registry.createKey(Hive::CurrentUser, key);
    for (int stopAt = 1; stopAt <= 4; ++stopAt) {
        fakes::FakeRunContext stopping;
        stopping.stopAtYield(stopAt);
        EXPECT_EQ(walkRegistry(registry, files, stopping, Hive::CurrentUser, "", Output, ""), UpdateOutcome::Cancelled)
            << stopAt;
        EXPECT_EQ(stopping.yields(), stopAt);
        EXPECT_FALSE(files.exists(Output)) << stopAt;
    }
}

TEST_F(RegistryWalk, AWriteFailureDeletesTheOutputAndStopsAtOnce) {
    for (const char* key : {"A", "B\\B1"}) registry.createKey(Hive::CurrentUser, key);
    files.failWritesUnder(Output);
    EXPECT_EQ(walk(Hive::CurrentUser), UpdateOutcome::WriteFailed);
    EXPECT_FALSE(files.exists(Output));
    EXPECT_EQ(run.yields(), 0);

    fakes::FakeFileSystem noFolder;
    EXPECT_EQ(walkRegistry(registry, noFolder, run, Hive::CurrentUser, "", "Q:\\Missing\\RegTemp.qdb", ""),
              UpdateOutcome::WriteFailed);
}

}  // namespace
}  // namespace quillon::snapshot
