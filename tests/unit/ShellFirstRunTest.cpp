#include <gtest/gtest.h>

#include <map>

#include "support/FakeMachine.h"
#include "shell/FirstRunDefaults.h"
#include "shell/Settings.h"

namespace quillon::shell {
namespace {

const std::string Sep(1, settings::ListSeparator);

class FirstRun : public ::testing::Test {
protected:
    fakes::FakeMachine m;

    void write() {
        writeFirstRunDefaults(m.registry, {fakes::FakeMachine::ProgramFolder, "C:\\",
                                           defaultFoldersToIgnore(m.shell, m.desktop, m.files)});
    }
    std::optional<std::string> cu(std::string_view key, std::string_view name) {
        return m.registry.stringValue(Hive::CurrentUser, key, name);
    }
};

TEST_F(FirstRun, WritesEverySettingWithItsDefault) {
    write();
    using Table = std::map<std::string, std::string>;
    const std::map<std::string, Table> expected{
        {"Software\\Quillon\\General",
         {{"DefaultPath", "C:\\Program Files\\Quillon\\"}, {"DeleteMode", "0"}, {"DriveName", "C:\\"},
          {"OpenSavePath", "C:\\Program Files\\Quillon\\Uninstall logs"}}},
        {"Software\\Quillon\\Scanning",
         {{"AutoUpdateDb", "1"}, {"AutoexecScan", "1"}, {"ConfigSysScan", "1"}, {"RegScan", "1"},
          {"RegFullScan", "1"}, {"ScanMode", "0"}, {"SystemIniScan", "1"}, {"WinIniScan", "1"}}},
        {"Software\\Quillon\\Scheduler",
         {{"Enabled", "1"}, {"TempFiles", "1"}, {"TempFolders", "1"}, {"DLLFiles", "0"}, {"Defragmentor", "0"},
          {"ScanDisk", "0"}, {"ChangesStartup", "0"}, {"SetupRan", "0"}, {"Drive", "C:\\"}, {"DriveName", "C:\\"},
          {"Weekly", "2"}, {"Done", "0"}, {"SetupDetect", "1"}, {"OldDel", "0"}, {"OldDelDays", "7"}}},
        {"Software\\Quillon\\Sys Clean",
         {{"AlsoScanFiles", ""}, {"AlsoScanFolders", ""}, {"Bak files", "1"}, {"Chk files", "1"},
          {"Chklist files", "1"}, {"Dollar files", "1"}, {"Fts files", "1"}, {"Gid files", "1"},
          {"Log files", "1"}, {"Mscreate files", "0"}, {"Old files", "1"}, {"PrevCompressed Files", "1"},
          {"Tidle files", "1"}, {"Tmp files", "1"}, {"RecycleBin", "0"}, {"CacheFolder", "0"},
          {"TempFolder", "1"}, {"Same Date Time", "1"}, {"Same Size", "1"}, {"Skip Sysbckup", "1"},
          {"Skip Zero Length", "1"}}},
    };
    for (const auto& [key, values] : expected) {
        for (const auto& [name, text] : values) EXPECT_EQ(cu(key, name), text) << key << "\\" << name;
        // Nothing but the table (plus the ignore list, checked below).
        const auto names = m.registry.valueNames(Hive::CurrentUser, key);
        EXPECT_EQ(names.size(), values.size() + (key == "Software\\Quillon\\Scanning" ? 1 : 0)) << key;
    }
    EXPECT_EQ(cu("Software\\Quillon\\General", "SavedForDeletion"), std::nullopt);
    EXPECT_TRUE(m.registry.keyExists(Hive::CurrentUser, "Software\\Quillon"));
    EXPECT_EQ(cu(settings::RunKey, "Quillon Scheduler"), "C:\\Program Files\\Quillon\\Quillon Scheduler.exe");
}

TEST_F(FirstRun, IgnoreListHoldsTheTenFoldersAndEndsInTheSeparator) {
    write();
    const std::string expected = "C:\\Windows\\Applog\\" + Sep + "C:\\Users\\Ann\\Recent\\" + Sep + "C:\\Windows\\Temp\\" +
                                 Sep + "C:\\Users\\Ann\\Cache\\" + Sep + "C:\\Users\\Ann\\Favorites\\" + Sep +
                                 "C:\\Users\\Ann\\Cookies\\" + Sep + "C:\\Users\\Ann\\AppData\\" + Sep +
                                 /* no browser profiles: an empty list */ Sep + "C:\\Windows\\Prefetch\\" + Sep +
                                 "C:\\Users\\Ann\\History\\" + Sep;
    EXPECT_EQ(cu("Software\\Quillon\\Scanning", "FoldersToIgnore"), expected);
}

TEST_F(FirstRun, IgnoreListTakesEveryBrowserProfileCache) {
    m.files.addFolder("C:\\Program Files\\Netscape\\Users\\ann");
    m.files.addFolder("C:\\Program Files\\Netscape\\Users\\bob", FileAttr::Directory | FileAttr::Hidden);
    m.files.addFile("C:\\Program Files\\Netscape\\Users\\readme.txt");
    m.desktop.setNtFamily(false);
    const std::string list = defaultFoldersToIgnore(m.shell, m.desktop, m.files);
    EXPECT_NE(list.find(Sep + "C:\\Program Files\\Netscape\\Users\\ann\\cache\\" + Sep +
                        "C:\\Program Files\\Netscape\\Users\\bob\\cache\\" + Sep + Sep + "C:\\Windows\\Prefetch\\"),
              std::string::npos)
        << list;
    EXPECT_EQ(list.find("readme"), std::string::npos);
    // No History folder outside the NT family: the list ends with an empty entry.
    EXPECT_TRUE(list.ends_with("Prefetch\\" + Sep + Sep));
}

TEST_F(FirstRun, SchedulerEntryTheUserEmptiedStaysOff) {
    struct Row { std::optional<std::string> runValue; const char* enabled; std::string runAfter; };
    const Row rows[] = {
        {std::nullopt, "1", "C:\\Program Files\\Quillon\\Quillon Scheduler.exe"},
        {"", "0", ""},
        {"D:\\Old\\Quillon Scheduler.exe", "1", "D:\\Old\\Quillon Scheduler.exe"},
    };
    for (const auto& r : rows) {
        fakes::FakeMachine fresh;
        if (r.runValue) fresh.registry.setString(Hive::CurrentUser, settings::RunKey, "Quillon Scheduler", *r.runValue);
        writeFirstRunDefaults(fresh.registry, {fakes::FakeMachine::ProgramFolder, "C:\\", ""});
        EXPECT_EQ(fresh.registry.stringValue(Hive::CurrentUser, "Software\\Quillon\\Scheduler", "Enabled"), r.enabled);
        EXPECT_EQ(fresh.registry.stringValue(Hive::CurrentUser, settings::RunKey, "Quillon Scheduler"), r.runAfter);
    }
}

TEST_F(FirstRun, RegistersRemovalListsWithTheShell) {
    write();
    struct Row { const char* key; std::optional<std::string> value; };
    const Row rows[] = {
        {".qdf", "QuillonUninstall"},
        {"QuillonUninstall\\DefaultIcon", "C:\\Program Files\\Quillon\\uninst.ico"},
        {"QuillonUninstall\\Shell\\Uninstall\\Command", "\"C:\\Program Files\\Quillon\\Quillon.exe\" \"%1\""},
    };
    for (const auto& r : rows) EXPECT_EQ(m.registry.stringValue(Hive::ClassesRoot, r.key, ""), r.value) << r.key;
    EXPECT_TRUE(m.registry.keyExists(Hive::ClassesRoot, "QuillonUninstall\\Shell\\Uninstall"));
}

TEST_F(FirstRun, WritesInItsOrder) {
    write();
    const auto& log = m.registry.writeLog();
    auto at = [&](std::string_view entry) {
        for (std::size_t i = 0; i < log.size(); ++i)
            if (log[i] == entry) return i;
        ADD_FAILURE() << "not written: " << entry;
        return log.size();
    };
    const std::size_t order[] = {
        at("set HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Run\\Quillon Scheduler"),
        at("set HKCU\\Software\\Quillon\\General\\DefaultPath"),
        at("set HKCU\\Software\\Quillon\\General\\OpenSavePath"),
        at("set HKCU\\Software\\Quillon\\Scanning\\AutoUpdateDb"),
        at("set HKCU\\Software\\Quillon\\Scanning\\FoldersToIgnore"),
        at("set HKCU\\Software\\Quillon\\Scheduler\\Enabled"),
        at("set HKCU\\Software\\Quillon\\Scheduler\\OldDelDays"),
        at("set HKCU\\Software\\Quillon\\Sys Clean\\AlsoScanFiles"),
        at("set HKCU\\Software\\Quillon\\Sys Clean\\Skip Zero Length"),
        at("default HKCR\\.qdf"),
        at("default HKCR\\QuillonUninstall\\Shell\\Uninstall\\Command"),
    };
    for (std::size_t i = 1; i < std::size(order); ++i) EXPECT_LT(order[i - 1], order[i]) << i;
}

}  // namespace
}  // namespace quillon::shell
