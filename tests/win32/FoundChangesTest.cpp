// The changes viewer opened modally on real changes files in a temporary work folder, with the real
// file system and shell; the settings and what would start programs are fakes.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <tuple>
#include <type_traits>
#include <vector>

#include "UiDriver.h"
#include "platform/win32/Utf.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32Shell.h"
#include "review/frmFoundChanges.h"
#include "review/frmFoundChangesIds.h"
#include "shell/Settings.h"
#include "support/FakeMachine.h"
#include "ui/Control.h"

namespace quillon::review {
namespace {

using Names = std::vector<std::string>;
constexpr const char* Caption = "Changes found  -Quillon";
const std::string LongLine = "run=" + std::string(1000, 'x');  // longer than the first read buffer

Names column(const ui::ListView& list, int index = 0) {
    Names texts;
    for (int row = 0; row < list.count(); ++row) texts.push_back(list.text(row, index));
    return texts;
}

// A click in the middle of an item of a list, a header or a tab control, as the mouse makes it: both
// halves are queued before the control sees the first, so one that waits for the release finds it.
void clickItem(HWND control, UINT rectMessage, int index) {
    RECT r{LVIR_LABEL, 0, 0, 0};  // a list row's label; the other controls only write it
    SendMessageA(control, rectMessage, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&r));
    const LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    PostMessageA(control, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageA(control, WM_LBUTTONUP, 0, at);
}

class FoundChanges : public ::testing::Test {
protected:
    fakes::FakeMachine m;
    win32::Win32FileSystem files;
    win32::Win32Shell shell;
    Ports ports{m.registry, files, shell, m.desktop, m.prompter, m.clock, m.printer};
    std::string work;

    void SetUp() override {
        work = (std::filesystem::temp_directory_path() / "QuillonViewerTest\\").string();
        std::error_code ignored;
        std::filesystem::remove_all(work, ignored);
        ASSERT_TRUE(std::filesystem::create_directories(work + "NewDir\\Deeper"));
        // Sizes chosen so that their texts sort differently from their sizes; the big ones sparse. A
        // name beyond the code page reaches the list whole.
        using Size = std::pair<const char*, std::uintmax_t>;
        for (const auto& [name, bytes] : {Size{"Отчёт \U0001F600.txt", 1'500}, Size{"mid.dat", 12'400},
                                          Size{"two.bin", 2'300'000}, Size{"huge.bin", 1280ull << 20},
                                          Size{"c.dll", 2'060}, Size{"NewDir\\Deeper\\inner.txt", 5'130}}) {
            const std::filesystem::path path(win32::wide(work + name));
            std::ofstream(path).close();
            std::filesystem::resize_file(path, bytes);
        }
        writeLines("changes.qdb", {work + "{", "Отчёт \U0001F600.txt", "gone.txt", "two.bin", "huge.bin", "mid.dat",
                                   "c.dll", "}", "!" + work + "NewDir\\{", "}"});
        const std::string sep(1, settings::ListSeparator);
        writeLines("sysChanges.qdb", {"Win.ini{", "load=a.exe" + sep + LongLine + sep, "load=" + sep + " " + sep, "}"});
        // The other kinds of change show a placeholder.
        m.registry.setString(Hive::CurrentUser, settings::ScanningKey, "WinIniScan", "1");
    }
    void TearDown() override {
        std::error_code ignored;
        std::filesystem::remove_all(work, ignored);
        uitest::drainQuit();
    }

    void writeLines(const std::string& name, const Names& lines) {
        std::ofstream out(work + name, std::ios::binary);
        for (const auto& line : lines) out << line << "\r\n";
        ASSERT_TRUE(out.good()) << name;
    }
    // Shows the viewer modally; once it is shown and loaded, `use` runs (to its end or its first
    // failed assertion) and OK is clicked. False when it never was.
    static bool useWhenLoaded(frmFoundChanges& viewer, const std::function<void(HWND)>& use) {
        uitest::WindowScript script(20000);
        script.when(Caption, [&](HWND dialog) {
            use(dialog);
            uitest::postClick(dialog, IDC_FOUND_CMDOK);
        }, [&] { return viewer.isLoaded(); });
        script.start();
        viewer.showModal(nullptr);
        return script.finished();
    }
};

TEST_F(FoundChanges, ListsSelectsAndSortsTheChangesAsTheUserSeesThem) {
    frmFoundChanges viewer(ports, FoundChangesInput{work, "", "", ""});
    EXPECT_TRUE(useWhenLoaded(viewer, [&](HWND dialog) {
        const ui::VirtualListView filesList = viewer.list(ChangesList::Files);
        const ui::VirtualListView systemIni = viewer.list(ChangesList::SystemIni);
        const ui::Label size(dialog, IDC_FOUND_LBLFILESIZE);
        // The vanished file is gone; the new folder follows the files.
        EXPECT_EQ(column(filesList), (Names{"Отчёт \U0001F600.txt", "two.bin", "huge.bin", "mid.dat", "c.dll", "NewDir"}));
        EXPECT_EQ(column(filesList, 2), (Names{"1KB", "2MB", "1GB", "12KB", "2KB", "5KB"}));
        EXPECT_EQ(size.text(), "(Total size: 1.2 GB)");
        EXPECT_EQ(viewer.list(ChangesList::WinIni).text(1, 0), LongLine);

        // Both pass over the placeholders; a clicked folder is sized by its files.
        for (const auto& [button, sized, count] : {std::tuple{IDC_FOUND_CMDSELECTALL, "(Size: 1.2 GB)", 8u},
                                                   std::tuple{IDC_FOUND_CMDINVSEL, "(Size: 0KB)", 0u}}) {
            uitest::postClick(dialog, button);
            ASSERT_TRUE(uitest::pumpUntil([&] { return size.text() == sized; })) << size.text();
            EXPECT_EQ(countSelectedChanges(viewer.selection()), count) << sized;
        }
        clickItem(filesList.hwnd(), LVM_GETITEMRECT, 5);
        EXPECT_TRUE(uitest::pumpUntil([&] { return size.text() == "(Size: 5KB)"; })) << size.text();
        // Each tab shows its own list only; a placeholder that got selected is let go at a click.
        clickItem(GetDlgItem(dialog, IDC_FOUND_TABCHANGESMADE), TCM_GETITEMRECT, 3);
        EXPECT_TRUE(uitest::pumpUntil([&] { return systemIni.isVisible() && !filesList.isVisible(); }));
        systemIni.setSelected(0, true);
        clickItem(systemIni.hwnd(), LVM_GETITEMRECT, 0);
        EXPECT_TRUE(uitest::pumpUntil([&] { return !systemIni.isSelected(0); }));

        // The order flips at every click, also when another column was sorted before; the
        // selection goes with its row.
        const Names bySize{"Отчёт \U0001F600.txt", "c.dll", "NewDir", "mid.dat", "two.bin", "huge.bin"};
        const Names bySizeDown(bySize.rbegin(), bySize.rend());
        const Names byName{"c.dll", "huge.bin", "mid.dat", "NewDir", "two.bin", "Отчёт \U0001F600.txt"};
        for (const auto& [index, order] : {std::pair{2, bySize}, std::pair{2, bySizeDown}, std::pair{0, byName},
                                           std::pair{2, bySizeDown}}) {
            clickItem(ListView_GetHeader(filesList.hwnd()), HDM_GETITEMRECT, index);
            EXPECT_TRUE(uitest::pumpUntil([&] { return column(filesList) == order; }))
                << "column " << index << ": " << testing::PrintToString(column(filesList));
        }
        EXPECT_EQ(filesList.selectedRows(), std::vector<int>{3}) << "NewDir";
    })) << "the viewer did not appear loaded";
}

// Posts WM_CLOSE to the viewer as it is shown: queued behind the message that starts its load, so
// the load's first look at the queue finds it whatever the speed of the machine.
LRESULT CALLBACK closeWhenShown(int code, WPARAM wp, LPARAM lp) noexcept {
    const auto window = reinterpret_cast<HWND>(wp);
    if (code == HCBT_ACTIVATE && ui::windowText(window) == Caption) PostMessageA(window, WM_CLOSE, 0, 0);
    return CallNextHookEx(nullptr, code, wp, lp);
}

TEST_F(FoundChanges, ClosingDuringTheLoadEndsItWithoutTheHandler) {
    int closings = 0;
    frmFoundChanges viewer(ports, FoundChangesInput{work, "", "", ""}, [&](frmFoundChanges&) { ++closings; });
    const std::unique_ptr<std::remove_pointer_t<HHOOK>, decltype(&UnhookWindowsHookEx)> hook(
        SetWindowsHookExA(WH_CBT, closeWhenShown, nullptr, GetCurrentThreadId()), UnhookWindowsHookEx);
    ASSERT_TRUE(hook);
    // Should the close not arrive, the window is closed once it has loaded.
    EXPECT_FALSE(useWhenLoaded(viewer, [](HWND) {})) << "the close did not arrive during the load";
    EXPECT_EQ(closings, 0) << "a handler given half the rows would write back half a list";
    EXPECT_TRUE(viewer.isLoaded() && viewer.changes().files.empty()) << "the viewer never appeared, or its load went on";
}

}  // namespace
}  // namespace quillon::review
