// The unused-DLL scan and the duplicate scan on the fakes; the duplicate scan against a plain
// transcription of the folder-by-folder passes it replaces, on generated trees.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "cleanup/DuplicateScan.h"
#include "cleanup/ResultActions.h"
#include "cleanup/UnusedDllScan.h"
#include "platform/TextCompare.h"
#include "shell/ProtectedLibraries.h"
#include "support/DuplicatePasses.h"
#include "support/FakeMachine.h"

namespace quillon::cleanup {
namespace {

class Scans : public ::testing::Test, public ScanProgress {
protected:
    fakes::FakeMachine m;
    ScanResults results;
    WalkPorts ports{m.files, m.shell, m.run, *this};
    const DuplicateFolders folders{"C:\\", "C:\\Windows\\"};

    void showFolder(std::string_view) override {}
    void showStatus(std::string_view) override {}

    std::multiset<std::string> rows() const {
        std::multiset<std::string> paths;
        for (const JunkRow& row : results.rows()) paths.insert(row.fullPath());
        return paths;
    }
};

TEST_F(Scans, UnusedDllsAreTheExistingUnprotectedFilesCountedZero) {
    const struct {
        const char* path;
        const char* count;
        bool listed;
    } entries[] = {
        {"C:\\Windows\\System32\\old.dll", "0", true},   {"C:\\Apps\\tool.exe", "0", true},
        {"C:\\Windows\\System32\\used.dll", "1", false}, {"C:\\Windows\\System32\\gone.dll", "0", false},
        {"C:\\Apps\\COMCTL32.OCX", "0", false},          {"C:\\Apps\\ctl32.ocx", "0", false},
    };
    for (const auto& e : entries) {
        if (std::string(e.path).find("gone") == std::string::npos) m.files.addFile(e.path, "1234");
        m.registry.setString(Hive::LocalMachine, shell::SharedDllsKey, e.path, e.count);
    }
    EXPECT_TRUE(scanUnusedDlls(ports, m.registry, results));
    EXPECT_EQ(rows(), (std::multiset<std::string>{"C:\\Windows\\System32\\old.dll", "C:\\Apps\\tool.exe"}));
    EXPECT_EQ(results.totals().bytes, 8.0);
}

TEST(NamedFilter, NameAndTypePartsAreContainedNotWildcards) {
    const struct {
        const char* named;
        const char* file;
        bool passes;
    } cases[] = {
        {"*.*", "README.TXT", true}, {"*.*", "readme", false},   {"*.dll", "a.dll.old", true},
        {"*.dll", "a.exe", false},   {"win.*", "window.bmp", true}, {"win.*", "system.ini", false},
        {"win", "window", true},     {"", "readme", false},      {"a*.txt", "a.txt", false},
    };
    for (const auto& c : cases) EXPECT_EQ(passesNamedFilter(c.named, c.file), c.passes) << c.named << " " << c.file;
}

TEST_F(Scans, DuplicateRowsEqualThoseOfTheFolderByFolderPasses) {
    std::mt19937 random(7);
    const std::vector<std::string> names{"a.txt", "A.TXT", "b.dll", "readme", "c.dll.old", "d.ini"};
    const std::vector<std::string> places{"C:\\", "C:\\P\\", "C:\\P\\Q\\", "C:\\R\\", "C:\\Windows\\Sysbckup\\",
                                          "C:\\Empty\\", "C:\\R\\S\\"};
    for (int tree = 0; tree < 300; ++tree) {
        fakes::FakeMachine local;
        WalkPorts localPorts{local.files, local.shell, local.run, *this};
        local.files.addFolder("C:\\Empty");
        for (int n = 0; n < 14; ++n) {
            const std::string path = places[random() % places.size()] + names[random() % names.size()];
            if (local.files.exists(path)) continue;
            local.files.addFile(path, std::string(random() % 3, 'x'), FileAttr::Archive,
                                {2025, 1, 1 + static_cast<int>(random() % 2), 0, 0, 0});
        }
        DuplicateOptions options;
        options.named = tree % 3 == 0 ? "*.dll" : "*.*";
        options.sameDateTime = random() % 2;
        options.sameSize = random() % 2;
        options.skipZeroLength = random() % 2;
        options.skipSysbckup = random() % 2;
        ScanResults found;
        ASSERT_EQ(scanDuplicates(localPorts, options, folders, "C:", found), DuplicateOutcome::Completed);
        std::multiset<std::string> paths;
        for (const JunkRow& row : found.rows()) paths.insert(row.fullPath());
        ASSERT_EQ(paths, duplicatePasses(local.files, options, "C:\\", "c:\\windows\\")) << "tree " << tree;
        ASSERT_FALSE(local.files.exists("C:\\duplicate1.qdb"));
    }
    m.files.addFile("C:\\A\\x.txt", "x");
    m.files.failWritesUnder("C:\\duplicate1.qdb");
    EXPECT_EQ(scanDuplicates(ports, {}, folders, "C:", results), DuplicateOutcome::WorkFileFailed);
}

TEST_F(Scans, DeleteOnDllRowsOffersAMoveAndCancelMovesNothing) {
    m.files.addFile("C:\\Windows\\System32\\old.dll", "x");
    m.registry.setString(Hive::LocalMachine, shell::SharedDllsKey, "C:\\Windows\\System32\\old.dll", "0");
    scanUnusedDlls(ports, m.registry, results);
    shell::RemovalPorts removal{m.registry, m.files, m.shell, m.desktop, m.prompter, m.run, m.clock, "C:\\Data\\"};
    m.prompter.answer(MsgAnswer::Cancel);
    deleteSelected(removal, ResultKind::UnusedDlls, results, {0});
    EXPECT_EQ(m.prompter.messages().back().title, "Deleting DLL files not recommended");
    m.files.addFolder("C:\\Keep");
    m.prompter.answer(MsgAnswer::Ok);
    m.prompter.answerFolder("C:\\Keep");
    deleteSelected(removal, ResultKind::UnusedDlls, results, {0});
    EXPECT_TRUE(m.files.exists("C:\\Keep\\old.dll"));
    EXPECT_EQ(results.size(), 0u);
    EXPECT_TRUE(m.shell.recycled().empty());
}

}  // namespace
}  // namespace quillon::cleanup
