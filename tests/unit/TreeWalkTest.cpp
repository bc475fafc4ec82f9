// The one folder walk and every walk built on it, on the fakes.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "cleanup/DuplicateScan.h"
#include "review/FolderLookup.h"
#include "shell/FolderSize.h"
#include "shell/Folders.h"
#include "shell/Settings.h"
#include "shell/TreeWalk.h"
#include "snapshot/FolderWalk.h"
#include "support/FakeMachine.h"

namespace quillon::shell {
namespace {

using Lines = std::vector<std::string>;

// Writes every folder opened (its path below C:\T\, ending in "\") and every entry handed on.
struct Recorder final : WalkRules {
    WalkStep openFolder(const std::string& folder) { return note(folder.substr(5)); }
    WalkStep handOn(const std::string&, const FileInfo& e) { return note(e.name); }
    WalkStep note(std::string what) {
        seen.push_back(std::move(what));
        return WalkStep::Go;
    }
    Lines seen;
};

class TreeWalk : public ::testing::Test, public snapshot::UpdateProgress, public cleanup::ScanProgress {
protected:
    fakes::FakeMachine m;
    void showStep(std::string_view) override {}
    void driveCompleted() override {}
    void showFolder(std::string_view) override {}
    void showStatus(std::string_view) override {}

    WalkResult walk(const WalkOptions& options, Lines& seen, fakes::FakeRunContext& run) {
        Recorder rules;
        const WalkResult result = walkTree(m.files, run, "C:\\T", options, rules);
        seen = rules.seen;
        return result;
    }
    std::string snapshotOf(std::string_view folder, WalkResult* result = nullptr) {
        std::unique_ptr<TextWriter> out;
        EXPECT_EQ(m.files.openWrite("C:\\out.qdb", WriteMode::Create, out), Status::Ok);
        const WalkResult r = snapshot::walkFolderTree(m.files, m.run, *this, folder, *out);
        EXPECT_EQ(out->close(), Status::Ok);
        if (result) *result = r;
        return m.files.content("C:\\out.qdb").value_or("");
    }
    std::string junkBelow(std::string_view folder) {
        cleanup::WalkPorts ports{m.files, m.shell, m.run, *this};
        std::string found;
        cleanup::walkJunk(ports, folder, {cleanup::AllFiles, {}, {}},
                          [&](const std::string& in, const FileInfo& f, const std::string&) { found += in + f.name + " "; });
        return found;
    }
};

TEST_F(TreeWalk, EachOrderAndYieldPlaceAsTheWalksHadThem) {
    for (const char* path : {"C:\\T\\f", "C:\\T\\A\\a", "C:\\T\\A\\A2\\x", "C:\\T\\B\\b"}) m.files.addFile(path);
    struct Row { WalkOrder order; YieldAt at; int stopAt; Lines seen; int yields; WalkEnd end = WalkEnd::Completed; };
    const Row rows[] = {
        {WalkOrder::ListingOrder, YieldAt::EachFolder, 0, {"", "f", "A\\", "a", "A\\A2\\", "x", "B\\", "b"}, 4},
        {WalkOrder::LastListedFirst, YieldAt::EachEntry, 0, {"", "f", "B\\", "b", "A\\", "a", "A\\A2\\", "x"}, 7},
        {WalkOrder::LastListedFirst, YieldAt::EachListing, 0, {"", "f", "B\\", "b", "A\\", "a", "A\\A2\\", "x"}, 4},
        {WalkOrder::ListingOrder, YieldAt::Never, 1, {"", "f", "A\\", "a", "A\\A2\\", "x", "B\\", "b"}, 0},
        {WalkOrder::ListingOrder, YieldAt::EachFolder, 2, {"", "f"}, 2, WalkEnd::Stopped},
        {WalkOrder::LastListedFirst, YieldAt::EachEntry, 2, {"", "f"}, 2, WalkEnd::Stopped},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << static_cast<int>(row.order) << "/" << static_cast<int>(row.at) << " stop " << row.stopAt);
        fakes::FakeRunContext run;
        run.stopAtYield(row.stopAt);
        Lines seen;
        EXPECT_EQ(walk({row.order, row.at, true, HandOn::Files}, seen, run).end, row.end);
        EXPECT_EQ(seen, row.seen);
        EXPECT_EQ(run.yields(), row.yields);
    }
}

TEST_F(TreeWalk, LinksAreNeverEnteredAndUnreadableNamesGoUnderTheirShortNames) {
    m.files.addFile("C:\\Data\\real.txt");
    m.files.addFolder("C:\\T");
    m.files.addJunction("C:\\T\\J", "C:\\Data");
    m.files.addOutsideCodePage("C:\\T\\", "??????.txt", "6F9A~1.TXT");
    m.files.addOutsideCodePage("C:\\T\\", "????.dat", "");
    m.files.addOutsideCodePage("C:\\T\\", "?????", "RUSSKI~1", true);
    m.files.addFile("C:\\T\\RUSSKI~1\\r.txt");
    m.files.addOutsideCodePage("C:\\T\\", "???", "", true);
    struct Row { unsigned handsOn; Lines seen; };
    const Row rows[] = {
        {HandOn::Files, {"", "6F9A~1.TXT", "????.dat", "RUSSKI~1\\", "r.txt", "???\\"}},
        {HandOn::Folders | HandOn::LinkedFolders, {"", "J", "RUSSKI~1", "???", "RUSSKI~1\\", "???\\"}},
    };
    for (const Row& row : rows) {
        Lines seen;
        const WalkResult r = walk({WalkOrder::ListingOrder, YieldAt::Never, true, row.handsOn}, seen, m.run);
        EXPECT_EQ(seen, row.seen) << row.handsOn;
        EXPECT_TRUE(r.completed());
        EXPECT_FALSE(r.whole()) << "a name without a short name cannot be listed";
        EXPECT_EQ(r.failedFolder, "C:\\T\\???\\");
        EXPECT_EQ(r.failure, Status::InvalidName);
    }
}

// A junction C:\Walk\Link leads to C:\Data: a walk that followed it would meet same.dll and a
// second pair.txt below C:\Walk.
TEST_F(TreeWalk, NoWalkReachesThroughAJunction) {
    for (const char* path : {"C:\\Data\\same.dll", "C:\\Data\\pair.txt", "C:\\Walk\\pair.txt", "C:\\Walk\\own.tmp"})
        m.files.addFile(path, "abc");
    m.files.addJunction("C:\\Walk\\Link", "C:\\Data");
    m.files.addFolder("C:\\Program Files\\Netscape\\Users\\Ann");
    m.files.addJunction("C:\\Program Files\\Netscape\\Users\\Link", "C:\\Data");
    const std::string sep(1, settings::ListSeparator);
    const struct { const char* walk; std::function<std::string()> reached; std::string expected; } rows[] = {
        {"snapshot", [&] { return snapshotOf("C:\\Walk\\"); }, "C:\\Walk\\{\r\npair.txt\r\nown.tmp\r\n}\r\n"},
        {"junk", [&] { return junkBelow("C:\\Walk"); }, "C:\\Walk\\pair.txt C:\\Walk\\own.tmp "},
        {"duplicates", [&] {
             cleanup::ScanResults results;
             cleanup::WalkPorts ports{m.files, m.shell, m.run, *this};
             EXPECT_EQ(cleanup::scanDuplicates(ports, {}, {"C:\\", "C:\\Windows\\"}, "C:", results),
                       cleanup::DuplicateOutcome::Completed);
             std::string found;
             for (const auto& row : results.rows()) found += row.fullPath() + " ";
             return found;
         }, "C:\\Walk\\pair.txt C:\\Data\\pair.txt "},
        {"size", [&] { return std::to_string(folderSize(m.files, m.run, "C:\\Walk")); }, std::to_string(6.0)},
        {"browser caches", [&] { return browserCacheFolders(m.files, "C:\\Program Files\\"); },
         "C:\\Program Files\\Netscape\\Users\\Ann\\cache\\" + sep},
    };
    for (const auto& row : rows) EXPECT_EQ(row.reached(), row.expected) << row.walk;
}

TEST_F(TreeWalk, AListingThatBreaksOffIsNeverTakenForTheWholeFolder) {
    for (const char* name : {"a", "b", "c", "d"}) m.files.addFile(std::string("C:\\T\\Broken\\") + name);
    m.files.addFile("C:\\T\\Next\\n");
    m.files.addFile("C:\\T\\Refused\\r");
    m.files.refuseListing("C:\\T\\Refused");
    m.files.failListingAfter("C:\\T\\Broken", 3, Status::ReadFault);  // ".", "..", "a"
    WalkResult r;
    snapshotOf("C:\\T\\Refused\\", &r);
    EXPECT_TRUE(r.completed()) << "a refused folder keeps its empty block";
    EXPECT_EQ(r.failedListings, 1u);
    snapshotOf("C:\\T\\", &r);
    EXPECT_EQ(r.end, WalkEnd::Failed);
    EXPECT_EQ(r.failedFolder, "C:\\T\\Broken\\");
    EXPECT_EQ(r.failure, Status::ReadFault);
    EXPECT_EQ(junkBelow("C:\\T"), "C:\\T\\Next\\n C:\\T\\Broken\\a ") << "the clean-up goes on with the next folder";

    const Lines names = {"a", "d", "e"};
    const auto found = review::lookUpInFolder(m.files, m.run, "C:\\T\\Broken\\", names);
    EXPECT_TRUE(found[0] && found[1]) << "a name the listing did not reach is asked, not taken for gone";
    EXPECT_FALSE(found[2]);
}

}  // namespace
}  // namespace quillon::shell
