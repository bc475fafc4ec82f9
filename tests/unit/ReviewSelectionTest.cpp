#include <gtest/gtest.h>

#include <vector>

#include "review/ChangeSet.h"
#include "review/SelectionSize.h"
#include "support/fakes.h"

namespace quillon::review {
namespace {

TEST(ReviewSelection, CountsSelectedRowsOfAllSixListsPlaceholdersIncluded) {
    struct Case { const char* name; Selection selection; std::size_t count; };
    const Case cases[] = {
        {"nothing", {}, 0},
        {"files only", {{0, 2, 5}, {}, {}}, 3},
        {"a registry placeholder", {{}, {0}, {}}, 1},
        {"a placeholder in each line list", {{}, {}, {{{0}, {0}, {0}, {0}}}}, 4},
        {"every list", {{1}, {0, 1}, {{{0}, {}, {2, 3}, {1}}}}, 7},
    };
    for (const Case& c : cases) EXPECT_EQ(countSelectedChanges(c.selection), c.count) << c.name;
}

class ReviewSelectionSize : public ::testing::Test {
protected:
    fakes::FakeFileSystem files;
    fakes::FakeRunContext run;
    std::vector<FileRow> rows;

    void SetUp() override {
        files.addFile("C:\\Apps\\a.exe", std::string(1000, 'x'));
        files.addFile("C:\\New\\one.dat", std::string(200, 'x'));
        files.addFile("C:\\New\\Sub\\two.dat", std::string(30, 'x'), FileAttr::Hidden);
        files.addFile("C:\\Apps\\big.bin");
        files.setFileSize("C:\\Apps\\big.bin", 5'000'000'000ULL);
        files.addFolder("C:\\Was a file");
        files.addFile("C:\\Was a file\\inside.txt", std::string(4, 'x'));
        rows = {
            {"a.exe", "C:\\Apps\\", "1KB", "Application", 1000, -1, false},
            {"New", "C:\\", "0KB", "Folder", 230, 3, true},
            {"gone.exe", "C:\\Apps\\", "1KB", "Application", 900, -1, false},
            {"big.bin", "C:\\Apps\\", "4GB", "BIN File", 0, -1, false},
            {"Was a file", "C:\\", "0KB", "TXT File", 0, -1, false},
        };
    }
};

TEST_F(ReviewSelectionSize, SumsWhatTheSelectedRowsHoldOnDiskNow) {
    struct Case { const char* name; std::vector<std::size_t> selected; double bytes; };
    const Case cases[] = {
        {"nothing selected", {}, 0},
        {"a file", {0}, 1000},
        {"a folder: everything below it", {1}, 230},
        {"a file and a folder", {1, 0}, 1230},
        {"a vanished file adds nothing", {2, 0}, 1000},
        {"sizes beyond 4 GB", {3}, 5'000'000'000.0},
        {"a path that is now a folder counts as one", {4}, 4},
        {"an index past the rows adds nothing", {0, 9}, 1000},
    };
    for (const Case& c : cases) EXPECT_EQ(selectionSize(files, run, rows, c.selected), c.bytes) << c.name;
}

}  // namespace
}  // namespace quillon::review
