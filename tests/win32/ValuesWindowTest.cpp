// The viewer's value list over a value changes file, the values in a key of the real registry:
// the rows shown, and Delete taking the selected ones back. The settings stay in the fake.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "UiDriver.h"
#include "platform/ValueLine.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32Registry.h"
#include "review/frmFoundChanges.h"
#include "review/frmFoundChangesIds.h"
#include "shell/Settings.h"
#include "shell/modRegistry.h"
#include "support/FakeMachine.h"

namespace quillon::review {
namespace {

constexpr std::string_view TestKey = "Software\\QuillonValuesWindowTest";

// The real registry for the test's own key, the fake for the rest (the settings above all).
struct TestKeyRegistry final : Registry {
    explicit TestKeyRegistry(Registry& settings) : fake(settings) {}
    Registry& of(std::string_view path) { return path.starts_with(TestKey) ? real : fake; }
    Status open(Hive h, std::string_view p, RegAccess a, std::unique_ptr<RegistryKey>& out) override {
        return of(p).open(h, p, a, out);
    }
    Status create(Hive h, std::string_view p, std::unique_ptr<RegistryKey>& out) override {
        return of(p).create(h, p, out);
    }
    Status deleteTree(Hive h, std::string_view p) override { return of(p).deleteTree(h, p); }
    Registry& fake;
    win32::Win32Registry real;
};

RegValue sz(std::string_view text, std::uint32_t type = RegType::Sz) { return {type, std::string(text)}; }

TEST(ValuesWindow, ShowsTheValueRowsAndDeleteTakesTheSelectedOnesBack) {
    fakes::FakeMachine m;
    TestKeyRegistry registry(m.registry);
    win32::Win32FileSystem files;
    const std::string work = (std::filesystem::temp_directory_path() / "QuillonValuesWindowTest\\").string();
    std::filesystem::remove_all(work);
    ASSERT_TRUE(std::filesystem::create_directories(work));
    static_cast<void>(registry.real.deleteTree(Hive::CurrentUser, TestKey));  // left by a run that crashed
    const shell::KeyPtr key = shell::createKey(registry.real, Hive::CurrentUser, TestKey);
    const RegValue path = sz("C:\\A;C:\\NewApp", RegType::ExpandSz), before = sz("C:\\A", RegType::ExpandSz);
    ASSERT_TRUE(key && succeeded(key->setValue("PATH", path)) && succeeded(key->setValue("Home", sz("C:\\NewApp"))));
    std::ofstream(work + "hkcuchanges.qdb").close();
    std::ofstream(work + "hkcuvalues.qdb", std::ios::binary)
        << "changed\t" << TestKey << "\tPATH\t" << encodeValueData(path) << '\t' << encodeValueData(before) << "\r\n"
        << "added\t" << TestKey << "\tHome\t" << encodeValueData(sz("C:\\NewApp")) << "\t\r\n"
        << "removed\t" << TestKey << "\t\t\t" << encodeValueData(sz("Old")) << "\r\n";
    m.registry.setString(Hive::CurrentUser, settings::ScanningKey, settings::scanning::RegScan, "1");

    Ports ports{registry, files, m.shell, m.desktop, m.prompter, m.clock, m.printer};
    frmFoundChanges viewer(ports, FoundChangesInput{work, "", "", work + "Data\\"});
    const std::string shown = "HKEY_CURRENT_USER\\" + std::string(TestKey);
    uitest::WindowScript script(30000);
    script.when("Changes found  -Quillon", [&](HWND dialog) {
        [&] {
            const ui::VirtualListView values = viewer.list(ChangesList::Values);
            const std::string rows[3][5] = {{"PATH", shown, "changed", "C:\\A;C:\\NewApp", "C:\\A"},
                                            {"Home", shown, "added", "C:\\NewApp", ""},
                                            {"(Default)", shown, "removed", "", "Old"}};
            ASSERT_EQ(values.count(), 3);
            for (int row = 0; row < 3; ++row)
                for (int column = 0; column < 5; ++column) EXPECT_EQ(values.text(row, column), rows[row][column]);
            values.selectOnly({0, 1});
            uitest::postClick(dialog, IDC_FOUND_CMDDELETE);
            ASSERT_TRUE(uitest::pumpUntil([&] { return values.count() == 1; }, 15000));
            EXPECT_EQ(values.text(0, 0), "(Default)");
            RegValue now;
            EXPECT_FALSE(succeeded(key->queryValue("Home", now))) << "the added value is still there";
            EXPECT_TRUE(succeeded(key->queryValue("PATH", now)) && now == before) << now.data;
            EXPECT_FALSE(succeeded(key->queryValue("", now))) << "a row not selected was taken back";
            EXPECT_TRUE(m.prompter.messages().empty()) << m.prompter.messages().front().text;
        }();
        uitest::postClick(dialog, IDC_FOUND_CMDOK);
    }, [&] { return viewer.isLoaded(); });
    script.start();
    viewer.showModal(nullptr);
    EXPECT_TRUE(script.finished()) << script.failure();
    static_cast<void>(registry.real.deleteTree(Hive::CurrentUser, TestKey));
    std::filesystem::remove_all(work);
    uitest::drainQuit();
}

}  // namespace
}  // namespace quillon::review
