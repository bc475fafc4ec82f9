// The walks built on the one folder walk, over a junction and names outside the code page.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "cleanup/DuplicateScan.h"
#include "shell/FolderSize.h"
#include "shell/Folders.h"
#include "shell/Settings.h"
#include "snapshot/FolderWalk.h"
#include "support/FakeMachine.h"

namespace quillon::shell {
namespace {

class TreeWalk : public ::testing::Test, public snapshot::UpdateProgress, public cleanup::ScanProgress {
protected:
    fakes::FakeMachine m;
    void showStep(std::string_view) override {}
    void driveCompleted() override {}
    void showFolder(std::string_view) override {}
    void showStatus(std::string_view) override {}
};

// C:\Walk\Link leads to C:\Data: a walk that followed it would meet same.dll and a second
// pair.txt below C:\Walk. A name the code page cannot carry is walked under its short name.
TEST_F(TreeWalk, NoWalkReachesThroughAJunctionAndUnreadableNamesGoUnderTheirShortNames) {
    for (const char* path : {"C:\\Data\\same.dll", "C:\\Data\\pair.txt", "C:\\Walk\\pair.txt"})
        m.files.addFile(path, "abc");
    m.files.addJunction("C:\\Walk\\Link", "C:\\Data");
    m.files.addOutsideCodePage("C:\\Walk\\", "??????.txt", "6F9A~1.TXT");
    m.files.addOutsideCodePage("C:\\Walk\\", "?????", "RUSSKI~1", true);
    m.files.addFile("C:\\Walk\\RUSSKI~1\\r.txt", "abcd");
    m.files.addFolder("C:\\Program Files\\Netscape\\Users\\Ann");
    m.files.addJunction("C:\\Program Files\\Netscape\\Users\\Link", "C:\\Data");
    cleanup::WalkPorts ports{m.files, m.shell, m.run, *this};
    const struct { const char* walk; std::function<std::string()> reached; std::string expected; } rows[] = {
        {"snapshot", [&] {
             std::unique_ptr<TextWriter> out;
             EXPECT_EQ(m.files.openWrite("C:\\out.qdb", WriteMode::Create, out), Status::Ok);
             static_cast<void>(snapshot::walkFolderTree(m.files, m.run, *this, "C:\\Walk\\", *out));
             EXPECT_EQ(out->close(), Status::Ok);
             return m.files.content("C:\\out.qdb").value_or("");
         }, "C:\\Walk\\{\r\npair.txt\r\n6F9A~1.TXT\r\n}\r\nC:\\Walk\\RUSSKI~1\\{\r\nr.txt\r\n}\r\n"},
        {"junk", [&] {
             std::string found;
             cleanup::walkJunk(ports, "C:\\Walk", {cleanup::AllFiles, {}, {}},
                               [&](const std::string& in, const FileInfo& f, const std::string&) {
                                   found += in + f.name + " ";
                               });
             return found;
         }, "C:\\Walk\\pair.txt C:\\Walk\\6F9A~1.TXT C:\\Walk\\RUSSKI~1\\r.txt "},
        {"duplicates", [&] {
             cleanup::ScanResults results;
             EXPECT_EQ(cleanup::scanDuplicates(ports, {}, {"C:\\", "C:\\Windows\\"}, "C:", results),
                       cleanup::DuplicateOutcome::Completed);
             std::string found;
             for (const auto& row : results.rows()) found += row.fullPath() + " ";
             return found;
         }, "C:\\Walk\\pair.txt C:\\Data\\pair.txt "},
        {"size", [&] { return std::to_string(folderSize(m.files, m.run, "C:\\Walk")); }, std::to_string(7.0)},
        {"browser caches", [&] { return browserCacheFolders(m.files, "C:\\Program Files\\"); },
         "C:\\Program Files\\Netscape\\Users\\Ann\\cache\\" + std::string(1, settings::ListSeparator)},
    };
    for (const auto& row : rows) EXPECT_EQ(row.reached(), row.expected) << row.walk;
}

}  // namespace
}  // namespace quillon::shell
