// A key typed for the registry ignore list.
#include <gtest/gtest.h>

#include "options/OptionsSettings.h"
#include "shell/KeyIgnoreList.h"
#include "shell/Settings.h"
#include "support/fakes.h"

namespace quillon::options {
namespace {

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
