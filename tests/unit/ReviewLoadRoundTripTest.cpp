#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "DetectionTestProgress.h"
#include "detection/CompareDriveScan.h"
#include "detection/ConfigCompare.h"
#include "detection/RegistryCompare.h"
#include "review/LoadChanges.h"
#include "shell/Settings.h"
#include "support/FakeMachine.h"
#include "support/TextLines.h"

namespace quillon::review {
namespace {

using fakes::crlfText;
using Pairs = std::vector<std::pair<std::string, std::string>>;

// What a find-changes run leaves in the work folder, written by its own writers, is what the
// viewer shows.
TEST(ReviewLoadRoundTrip, ChangesFilesOfARunLoadIntoTheirRows) {
    fakes::FakeMachine m;
    detection::RecordingProgress progress;
    const std::string work = "C:\\";
    const std::string data = "C:\\Data\\";
    for (const auto setting : {settings::scanning::RegScan, settings::scanning::WinIniScan})
        m.registry.setString(Hive::CurrentUser, settings::ScanningKey, setting, "1");
    for (const auto setting : {settings::scanning::SystemIniScan, settings::scanning::AutoexecScan,
                               settings::scanning::ConfigSysScan})
        m.registry.setString(Hive::CurrentUser, settings::ScanningKey, setting, "0");

    // The machine after the installation.
    m.files.addFile("C:\\boot.ini", "b");
    m.files.addFile("C:\\setup.log", std::string(600, 'x'));
    m.files.addFile("C:\\Apps\\a.exe", "a");
    m.files.addFile("C:\\Apps\\b.dll", std::string(2048, 'x'));
    m.files.addFile("C:\\NewApp\\n.exe", std::string(1024, 'x'));
    m.files.addFile("C:\\NewApp\\Data\\d.dat", std::string(1024, 'x'));
    m.files.addFile(data + "Cdbase.qdb", crlfText({"C:\\{", "boot.ini", "}", "C:\\Apps\\{", "a.exe", "}"}),
                    FileAttr::Hidden);
    m.files.addFile(work + "current.qdb",
                    crlfText({"C:\\{", "boot.ini", "setup.log", "}", "C:\\Apps\\{", "a.exe", "b.dll", "}",
                              "C:\\NewApp\\{", "n.exe", "}", "C:\\NewApp\\Data\\{", "d.dat", "}"}));
    ASSERT_TRUE(detection::compareDriveScan(m.files, m.run, progress, work, data, {"C:"}));

    m.files.addFile(data + "winIni.qdb", crlfText({"[windows]", "load=", "run=", "device=old"}), FileAttr::Hidden);
    m.files.addFile("C:\\Windows\\win.ini", crlfText({"[windows]", "load=app.exe", "run=", "NewKey=1", "device=old"}));
    ASSERT_EQ(detection::writeConfigChanges(m.registry, m.files, {.work = work, .root = work, .windows = "C:\\Windows\\", .data = data}, progress), Status::Ok);

    m.registry.createKey(Hive::CurrentUser, "Software\\New\\Sub");
    m.registry.createKey(Hive::CurrentUser, "Software\\Old");
    m.files.addFile(data + "hkcuReg.qdb", crlfText({"", "Software", "Software\\Old"}), FileAttr::Hidden);
    m.files.addFile(work + "hkcutmp.qdb", crlfText({"", "Software", "Software\\New", "Software\\New\\Sub", "Software\\Old"}));
    ASSERT_EQ(detection::compareRegistryScan(m.files, m.run, data + "hkcuReg.qdb", work + "hkcutmp.qdb",
                                             work + "hkcuchanges.qdb"),
              detection::RegistryOutcome::Completed);

    LoadPorts ports{m.files, m.registry, m.shell, m.run};
    const ChangeSet set = loadChanges(ports, work);

    Pairs files;
    for (const FileRow& row : set.files) files.emplace_back(row.folder + row.name, row.typeName);
    EXPECT_EQ(files, (Pairs{{"C:\\setup.log", "LOG File"}, {"C:\\Apps\\b.dll", "DLL File"}, {"C:\\NewApp", "Folder"}}));
    EXPECT_EQ(set.totalBytes, 600 + 2048 + 2048);

    Pairs keys;
    for (const KeyRow& row : set.keys) keys.emplace_back(row.name, row.parent);
    EXPECT_EQ(keys, (Pairs{{"New", "HKEY_CURRENT_USER\\Software\\"}}));

    Pairs winIni;
    for (const LineRow& row : set.linesOf(ConfigList::WinIni)) winIni.emplace_back(row.added, row.replaced);
    EXPECT_EQ(winIni, (Pairs{{"load=app.exe", "load="}, {"NewKey=1", " "}}));
    for (const ConfigList list : {ConfigList::SystemIni, ConfigList::AutoexecBat, ConfigList::ConfigSys}) {
        ASSERT_EQ(set.linesOf(list).size(), 1u);
        EXPECT_TRUE(set.linesOf(list)[0].isPlaceholder());
    }

    for (const char* name : {"changes.qdb", "sysChanges.qdb", "hkcuchanges.qdb"})
        EXPECT_FALSE(m.files.exists(work + name)) << name;
}

}  // namespace
}  // namespace quillon::review
