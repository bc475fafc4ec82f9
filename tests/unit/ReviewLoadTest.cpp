#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "review/LoadChanges.h"
#include "shell/Settings.h"
#include "support/FakeMachine.h"
#include "support/TextLines.h"

namespace quillon::review {
namespace {

using Lines = std::vector<std::string>;
using fakes::crlfText;

constexpr const char* Work = "C:\\";
constexpr const char* Changes = "C:\\changes.qdb";
constexpr const char* SysChanges = "C:\\sysChanges.qdb";
constexpr const char* HkcuChanges = "C:\\hkcuchanges.qdb";
constexpr const char* HklmChanges = "C:\\hklmchanges.qdb";
constexpr std::string_view AllScanSettings[] = {
    settings::scanning::RegScan, settings::scanning::WinIniScan, settings::scanning::SystemIniScan,
    settings::scanning::AutoexecScan, settings::scanning::ConfigSysScan};

class ReviewLoad : public ::testing::Test {
protected:
    fakes::FakeMachine m;
    LoadPorts ports{m.files, m.registry, m.shell, m.run};

    void SetUp() override {
        for (const auto setting : AllScanSettings) setSetting(setting, "1");
    }
    void setSetting(std::string_view name, std::string_view value) {
        m.registry.setString(Hive::CurrentUser, settings::ScanningKey, name, value);
    }
    void stage(const char* path, const Lines& lines) { m.files.addFile(path, crlfText(lines)); }
    ChangeSet load() { return loadChanges(ports, Work); }
};

// ---- the files list

struct FileRecordCase {
    const char* name;
    Lines changes;
    Lines existing;  // files (folders when ending in "\") present at load
    Lines rows;      // full paths, in list order
};

const FileRecordCase FileRecordCases[] = {
    {"a header with no names gives no row", {"C:\\Apps\\{", "}"}, {}, {}},
    {"two names give two rows in the same folder", {"C:\\Apps\\{", "a.exe", "b.dll", "}"},
     {"C:\\Apps\\a.exe", "C:\\Apps\\b.dll"}, {"C:\\Apps\\a.exe", "C:\\Apps\\b.dll"}},
    {"file rows in file order, then folder rows in file order",
     {"!C:\\NewB\\{", "}", "C:\\Apps\\{", "z.exe", "}", "!C:\\NewA\\{", "}", "C:\\{", "a.log", "}"},
     {"C:\\NewB\\", "C:\\Apps\\z.exe", "C:\\NewA\\", "C:\\a.log"},
     {"C:\\Apps\\z.exe", "C:\\a.log", "C:\\NewB", "C:\\NewA"}},
    {"lines inside a new-folder record are not records", {"!C:\\New\\{", "inner.dll", "C:\\New\\Sub\\{", "s.dll", "}"},
     {"C:\\New\\inner.dll", "C:\\inner.dll", "C:\\New\\Sub\\s.dll"}, {"C:\\New"}},
    {"a new folder below another folder", {"!C:\\Program Files\\Vendor\\{", "}"}, {"C:\\Program Files\\Vendor\\"},
     {"C:\\Program Files\\Vendor"}},
    {"a vanished file is dropped", {"C:\\Apps\\{", "gone.exe", "kept.exe", "}"}, {"C:\\Apps\\kept.exe"},
     {"C:\\Apps\\kept.exe"}},
    {"a vanished folder is dropped", {"!C:\\Gone\\{", "}", "!C:\\Kept\\{", "}"}, {"C:\\Kept\\"}, {"C:\\Kept"}},
    {"a block cut off by the end of the file ends there", {"C:\\Apps\\{", "a.exe"}, {"C:\\Apps\\a.exe"},
     {"C:\\Apps\\a.exe"}},
    {"a new-folder record cut off by the end of the file", {"C:\\{", "a.log", "}", "!C:\\New\\{"},
     {"C:\\a.log", "C:\\New\\"}, {"C:\\a.log", "C:\\New"}},
    {"a folder listed as a new file is kept while it exists", {"C:\\{", "Apps", "}"}, {"C:\\Apps\\"}, {"C:\\Apps"}},
    {"an empty file", {}, {}, {}},
};

TEST_F(ReviewLoad, FileRecordsGiveRowsOfWhatStillExists) {
    for (const FileRecordCase& c : FileRecordCases) {
        fakes::FakeMachine machine;
        LoadPorts p{machine.files, machine.registry, machine.shell, machine.run};
        for (const std::string& path : c.existing) {
            if (path.back() == '\\') machine.files.addFolder(path);
            else machine.files.addFile(path, "x");
        }
        machine.files.addFile(Changes, crlfText(c.changes));
        Lines rows;
        for (const FileRow& row : loadChanges(p, Work).files) rows.push_back(row.fullPath());
        EXPECT_EQ(rows, c.rows) << c.name;
    }
}

TEST_F(ReviewLoad, FileAndFolderRowsCarrySizeTypeAndIcon) {
    m.shell.setFileType(".exe", "Application", 7);
    m.files.addFile("C:\\Apps\\a.exe");
    m.files.setFileSize("C:\\Apps\\a.exe", 3 * 1024 * 1024 + 100);
    m.files.addFile("C:\\New\\one.dat", std::string(1000, 'x'));
    m.files.addFile("C:\\New\\Sub\\Deeper\\two.dat", std::string(2100, 'x'), FileAttr::Hidden);
    m.files.addFolder("C:\\New\\Empty");
    stage(Changes, {"C:\\Apps\\{", "a.exe", "}", "!C:\\New\\{", "}"});

    const ChangeSet set = load();

    ASSERT_EQ(set.files.size(), 2u);
    const FileRow& file = set.files[0];
    EXPECT_EQ(file.name, "a.exe");
    EXPECT_EQ(file.folder, "C:\\Apps\\");
    EXPECT_EQ(file.sizeText, "3MB");
    EXPECT_EQ(file.bytes, 3 * 1024 * 1024 + 100);
    EXPECT_EQ(file.typeName, "Application");
    EXPECT_EQ(file.iconIndex, 7);
    EXPECT_FALSE(file.isFolder);

    const FileRow& folder = set.files[1];
    EXPECT_EQ(folder.name, "New");
    EXPECT_EQ(folder.folder, "C:\\");
    EXPECT_EQ(folder.typeName, "Folder");
    EXPECT_EQ(folder.bytes, 3100) << "everything below the folder, hidden files and sub-folders included";
    EXPECT_EQ(folder.sizeText, "3KB");
    EXPECT_TRUE(folder.isFolder);
    EXPECT_NE(folder.iconIndex, -1) << "the shell's icon for the folder";

    EXPECT_EQ(set.totalBytes, 3 * 1024 * 1024 + 100 + 3100);
}

TEST_F(ReviewLoad, AVanishedFileIsNotInTheTotal) {
    m.files.addFile("C:\\Apps\\kept.exe", std::string(700, 'x'));
    m.files.addFile("C:\\Apps\\hidden.sys", std::string(300, 'x'), FileAttr::Hidden | FileAttr::System);
    stage(Changes, {"C:\\Apps\\{", "kept.exe", "gone.exe", "hidden.sys", "}", "!C:\\GoneFolder\\{", "}"});

    const ChangeSet set = load();

    ASSERT_EQ(set.files.size(), 2u) << "hidden and system files count as existing";
    EXPECT_EQ(set.files[1].name, "hidden.sys");
    EXPECT_EQ(set.totalBytes, 1000);
}

// ---- placeholders and line lists

TEST_F(ReviewLoad, APlaceholderForEachConfigurationFileNotScanned) {
    struct Case {
        std::string_view setting;
        ConfigList list;
    };
    const Case cases[] = {{settings::scanning::WinIniScan, ConfigList::WinIni},
                          {settings::scanning::SystemIniScan, ConfigList::SystemIni},
                          {settings::scanning::AutoexecScan, ConfigList::AutoexecBat},
                          {settings::scanning::ConfigSysScan, ConfigList::ConfigSys}};
    for (const Case& c : cases) {
        for (const char* value : {"0", "", "yes", "01"}) {
            fakes::FakeMachine machine;
            LoadPorts p{machine.files, machine.registry, machine.shell, machine.run};
            for (const auto setting : AllScanSettings)
                machine.registry.setString(Hive::CurrentUser, settings::ScanningKey, setting, setting == c.setting ? value : "1");
            const ChangeSet set = loadChanges(p, Work);
            for (std::size_t i = 0; i < ConfigListCount; ++i) {
                const auto& rows = set.lines[i];
                if (static_cast<ConfigList>(i) == c.list) {
                    ASSERT_EQ(rows.size(), 1u) << c.setting << "=" << value;
                    EXPECT_TRUE(rows[0].isPlaceholder()) << c.setting << "=" << value;
                    EXPECT_EQ(rows[0].added, "Scanning not enabled.");
                } else {
                    EXPECT_TRUE(rows.empty()) << c.setting << "=" << value << ", list " << i;
                }
            }
        }
    }
}

TEST_F(ReviewLoad, NoSettingsKeyMeansNothingWasScanned) {
    m.registry.deleteTree(Hive::CurrentUser, settings::ScanningKey);
    stage(HkcuChanges, {"Software"});
    const ChangeSet set = load();
    for (const auto& rows : set.lines) {
        ASSERT_EQ(rows.size(), 1u);
        EXPECT_TRUE(rows[0].isPlaceholder());
    }
    ASSERT_EQ(set.keys.size(), 1u);
    EXPECT_TRUE(set.keys[0].isPlaceholder());
}

TEST_F(ReviewLoad, SectionsFillTheirOwnLineLists) {
    constexpr char S = settings::ListSeparator;
    const std::string sep(1, S);
    stage(SysChanges, {"stray line", "Config.sys{", "DEVICE=new.sys" + sep, "DEVICE=old.sys" + sep, "}",
                       "Win.ini{", "load=app.exe" + sep + "NewKey=1" + sep, "load=" + sep + " " + sep, "}",
                       "System.ini{", "", "", "}",
                       "Autoexec.bat{", "SET X=1" + sep});  // cut off after its added list

    const ChangeSet set = load();

    const auto pairs = [&](ConfigList list) {
        std::vector<std::pair<std::string, std::string>> out;
        for (const LineRow& row : set.linesOf(list)) out.emplace_back(row.added, row.replaced);
        return out;
    };
    using Pairs = std::vector<std::pair<std::string, std::string>>;
    EXPECT_EQ(pairs(ConfigList::WinIni), (Pairs{{"load=app.exe", "load="}, {"NewKey=1", " "}}));
    EXPECT_EQ(pairs(ConfigList::ConfigSys), (Pairs{{"DEVICE=new.sys", "DEVICE=old.sys"}}));
    EXPECT_EQ(pairs(ConfigList::SystemIni), Pairs{});
    EXPECT_EQ(pairs(ConfigList::AutoexecBat), (Pairs{{"SET X=1", " "}}));
}

TEST_F(ReviewLoad, ASectionIsFourLinesWhateverItsLastLineHolds) {
    stage(SysChanges, {"Win.ini{", "a=1\x7f", " \x7f", "Config.sys{", "b=2\x7f", " \x7f", "}", "System.ini{", "c=3\x7f",
                       " \x7f", "}"});
    const ChangeSet set = load();
    EXPECT_EQ(set.linesOf(ConfigList::WinIni).size(), 1u);
    EXPECT_TRUE(set.linesOf(ConfigList::ConfigSys).empty()) << "its header was taken as the end of the section before";
    EXPECT_EQ(set.linesOf(ConfigList::SystemIni).size(), 1u);
}

// ---- the registry list

TEST_F(ReviewLoad, KeyNamesAndParentKeys) {
    m.registry.createKey(Hive::LocalMachine, "Software\\Foo");
    m.registry.createKey(Hive::LocalMachine, "Foo");
    m.registry.createKey(Hive::LocalMachine, "Software\\Locked");
    m.registry.markReadOnly(Hive::LocalMachine, "Software\\Locked");
    m.registry.createKey(Hive::LocalMachine, "Software\\Hidden");
    m.registry.markUnopenable(Hive::LocalMachine, "Software\\Hidden");
    m.registry.createKey(Hive::CurrentUser, "Software\\Vendor\\App");
    stage(HkcuChanges, {"Software\\Vendor\\App", "Software\\Removed"});
    stage(HklmChanges, {"Software\\Foo", "", "Foo", "Software\\Gone", "Software\\Locked", "Software\\Hidden"});

    const ChangeSet set = load();

    std::vector<std::pair<std::string, std::string>> rows;
    for (const KeyRow& row : set.keys) rows.emplace_back(row.name, row.parent);
    const std::vector<std::pair<std::string, std::string>> expected{
        {"App", "HKEY_CURRENT_USER\\Software\\Vendor\\"},
        {"Foo", "HKEY_LOCAL_MACHINE\\Software\\"},
        {"Foo", "HKEY_LOCAL_MACHINE\\"},
        {"Locked", "HKEY_LOCAL_MACHINE\\Software\\"},
    };
    EXPECT_EQ(rows, expected) << "keys that no longer open, and the empty line, give no row";
    ASSERT_FALSE(set.keys.empty());
    EXPECT_EQ(set.keys[0].fullKey(), "HKEY_CURRENT_USER\\Software\\Vendor\\App");
}

TEST_F(ReviewLoad, ARegistryChangesFileThatIsHiddenIsRead) {
    m.registry.createKey(Hive::CurrentUser, "Software\\New");
    m.files.addFile(HkcuChanges, crlfText({"Software\\New"}), FileAttr::Hidden);
    const ChangeSet set = load();
    ASSERT_EQ(set.keys.size(), 1u);
    EXPECT_EQ(set.keys[0].name, "New");
}

// ---- which changes files are consumed

TEST_F(ReviewLoad, WhichChangesFilesAreLeftAfterLoad) {
    struct Case {
        const char* name;
        const char* regScan;
        bool hkcu, hklm;           // present before the load
        bool hkcuLeft, hklmLeft;   // present after
        bool placeholder;
    };
    const Case cases[] = {
        {"registry scanned: both read and deleted", "1", true, true, false, false, false},
        {"registry scanned, no HKCU file: both left", "1", false, true, false, true, true},
        {"registry scanned, only HKCU file", "1", true, false, false, false, false},
        {"registry not scanned: both left", "0", true, true, true, true, true},
        {"setting unreadable: both left", "", true, true, true, true, true},
    };
    for (const Case& c : cases) {
        fakes::FakeMachine machine;
        LoadPorts p{machine.files, machine.registry, machine.shell, machine.run};
        machine.registry.setString(Hive::CurrentUser, settings::ScanningKey, settings::scanning::RegScan, c.regScan);
        machine.registry.createKey(Hive::LocalMachine, "Software\\Lm");
        machine.files.addFile(Changes, crlfText({"C:\\{", "}"}));
        machine.files.addFile(SysChanges, "");
        if (c.hkcu) machine.files.addFile(HkcuChanges, "");
        if (c.hklm) machine.files.addFile(HklmChanges, crlfText({"Software\\Lm"}));

        const ChangeSet set = loadChanges(p, Work);

        EXPECT_FALSE(machine.files.exists(Changes)) << c.name;
        EXPECT_FALSE(machine.files.exists(SysChanges)) << c.name;
        EXPECT_EQ(machine.files.exists(HkcuChanges), c.hkcuLeft) << c.name;
        EXPECT_EQ(machine.files.exists(HklmChanges), c.hklmLeft) << c.name;
        if (c.placeholder) {
            ASSERT_EQ(set.keys.size(), 1u) << c.name;
            EXPECT_TRUE(set.keys[0].isPlaceholder()) << c.name;
        } else {
            ASSERT_EQ(set.keys.size(), c.hklm ? 1u : 0u) << c.name;
            if (c.hklm) {
                EXPECT_EQ(set.keys[0].fullKey(), "HKEY_LOCAL_MACHINE\\Software\\Lm") << c.name;
            }
        }
    }
}

// ---- responsiveness

TEST_F(ReviewLoad, YieldsOncePerLineOfEachChangesFile) {
    // The same load with `extra` more lines in one file yields exactly `extra` times more.
    const auto yieldsWith = [](int file, int extra) {
        fakes::FakeMachine machine;
        LoadPorts p{machine.files, machine.registry, machine.shell, machine.run};
        machine.registry.setString(Hive::CurrentUser, settings::ScanningKey, settings::scanning::RegScan, "1");
        Lines changes{"C:\\{", "a", "}"}, sys{"Win.ini{", "x\x7f", " \x7f", "}"}, hkcu{"K"}, hklm{"K"};
        Lines* grown[] = {&changes, &sys, &hkcu, &hklm};
        for (int i = 0; i < extra; ++i) grown[file]->insert(grown[file]->begin(), "line" + std::to_string(i));
        machine.files.addFile(Changes, crlfText(changes));
        machine.files.addFile(SysChanges, crlfText(sys));
        machine.files.addFile(HkcuChanges, crlfText(hkcu));
        machine.files.addFile(HklmChanges, crlfText(hklm));
        loadChanges(p, Work);
        return machine.run.yields();
    };
    const char* names[] = {"changes.qdb", "sysChanges.qdb", "hkcuchanges.qdb", "hklmchanges.qdb"};
    for (int file = 0; file < 4; ++file) {
        const int base = yieldsWith(file, 0);
        EXPECT_GE(base, 3 + 4 + 1 + 1) << names[file];
        EXPECT_EQ(yieldsWith(file, 25) - base, 25) << names[file];
    }
}

TEST_F(ReviewLoad, AStopRequestEndsTheLoadAtTheLineItArrivesAt) {
    m.files.addFile("C:\\a.log");
    m.files.addFile("C:\\b.log");
    stage(Changes, {"C:\\{", "a.log", "b.log", "}"});
    m.run.stopAtYield(3);  // before the second name
    EXPECT_EQ(load().files.size(), 1u);
}

// One question to the shell per kind of file, except for kinds with icons of their own.
TEST_F(ReviewLoad, TheShellIsAskedOncePerExtension) {
    for (const char* name : {"a.txt", "b.TXT", "c.txt", "d.exe", "e.exe", "f"}) m.files.addFile(std::string("C:\\") + name);
    stage(Changes, {"C:\\{", "a.txt", "b.TXT", "c.txt", "d.exe", "e.exe", "f", "}"});
    const ChangeSet set = load();
    ASSERT_EQ(set.files.size(), 6u);
    EXPECT_EQ(set.files[1].typeName, set.files[0].typeName);
    EXPECT_EQ(m.shell.fileTypeQuestions(), 1 + 2 + 1);
}

}  // namespace
}  // namespace quillon::review
