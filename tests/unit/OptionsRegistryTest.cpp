// The registry options as stored, and a key typed for the ignore list.
#include <gtest/gtest.h>

#include "options/OptionsSettings.h"
#include "shell/KeyIgnoreList.h"
#include "shell/Settings.h"
#include "support/fakes.h"

namespace quillon::options {
namespace {

TEST(OptionsRegistry, ReadsAndWritesTheFlagAndTheKeysAsStored) {
    namespace sc = settings::scanning;
    const std::string a = "HKEY_CURRENT_USER\\A", b = "HKEY_LOCAL_MACHINE\\B", sep(1, settings::ListSeparator);
    const std::string stored = a + sep + sep + b;
    using Keys = std::vector<std::string>;
    // Stored flag and list (none: never written), what the dialog shows, what OK writes back.
    const std::tuple<const char*, const char*, bool, Keys, std::string> rows[] = {
        {nullptr, nullptr, false, defaultKeyRows(), shell::defaultKeysToIgnore()},
        {"1", stored.c_str(), true, {a, b}, a + sep + b + sep},
        {"yes", "", false, {}, ""},
    };
    for (const auto& [classes, keys, classesShown, keysShown, keysWritten] : rows) {
        fakes::FakeRegistry registry;
        fakes::FakeFileSystem files;
        registry.createKey(Hive::CurrentUser, settings::ScanningKey);
        if (classes) registry.setString(Hive::CurrentUser, settings::ScanningKey, sc::ClassesScan, classes);
        if (keys) registry.setString(Hive::CurrentUser, settings::ScanningKey, sc::KeysToIgnore, keys);
        const OptionsSettings read = readOptions(registry, files);
        EXPECT_EQ(read.classesScan, classesShown) << (classes ? classes : "<none>");
        EXPECT_EQ(read.keysToIgnore, keysShown);
        writeOptions(registry, read, "C:\\Quillon\\");
        EXPECT_EQ(registry.stringValue(Hive::CurrentUser, settings::ScanningKey, sc::KeysToIgnore), keysWritten);
        EXPECT_EQ(registry.stringValue(Hive::CurrentUser, settings::ScanningKey, sc::ClassesScan),
                  classesShown ? "1" : "0");
    }
}

TEST(OptionsRegistry, ATypedKeyIsListedInFullOrRefusedWithItsReason) {
    using enum KeyEntryProblem;
    const std::tuple<const char*, const char*, std::optional<KeyEntryProblem>> rows[] = {
        {" HKCU\\Software\\Vendor\\ ", "HKEY_CURRENT_USER\\Software\\Vendor", std::nullopt},
        {"hkey_local_machine\\Software\\Run\\Me", nullptr, AlwaysCompared},
        {"hkcu\\software\\quillon\\", nullptr, Listed},
        {"HKEY_CLASSES_ROOT\\.abc", nullptr, NotAKey},
        {"HKCU\\", nullptr, NotAKey},
    };
    for (const auto& [typed, row, problem] : rows) {
        const KeyEntry entry = keyEntry(typed, {"HKEY_CURRENT_USER\\Software\\Quillon"});
        EXPECT_EQ(entry.problem, problem) << typed;
        EXPECT_TRUE(!row || entry.row == row) << typed << " listed as " << entry.row;
    }
}

}  // namespace
}  // namespace quillon::options
