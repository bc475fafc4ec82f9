// In the prefix of scheduler.sh: the scheduler's first start updates the snapshot before the stand-in
// installer (waiting) and finds its changes after it; a second start leaves one icon, whose menu ends it.
#include "ProbeKit.h"

namespace {

using namespace quillon::e2e;

const std::string Scheduler = ProgramFolder + "Quillon Scheduler.exe";
const char* const Question = "Quillon Setup detect";

// Wine paints the icons into the taskbar itself, each in a 20-pixel slot from its right end: a
// slot with any pixel other than the bar's colour along its middle holds one.
int trayIcons() {
    RECT bar{};
    GetWindowRect(FindWindowA("Shell_TrayWnd", nullptr), &bar);
    const quillon::win32::WindowDc screen;
    int icons = 0;
    for (int right = bar.right; right - 20 >= bar.left; right -= 20, ++icons) {
        bool painted = false;
        for (int x = right - 18; x < right - 2; ++x)
            painted = painted || GetPixel(screen.get(), x, (bar.top + bar.bottom) / 2) != GetSysColor(COLOR_WINDOW);
        if (!painted) break;
    }
    return icons;
}

TEST(Scheduler, UpdatesBeforeAnInstallationFindsItsChangesAfterItAndKeepsOneIconWhoseMenuEndsIt) {
    const RunningProgram scheduler("", Scheduler);
    ASSERT_TRUE(waitUntil(20000, [] { return trayIcons() == 1; })) << "no icon";
    // The first start wrote the defaults; the road works on the small drive.
    ASSERT_TRUE(setDrive("(X:) SMALL"));
    const RunningProgram setup("", "C:\\Setup\\MySetup.exe");
    // The first question offers the update, the second, after the installation, Find changes.
    ASSERT_TRUE(answer(scheduler, Question, IDYES, "&Yes"));
    HWND done = RunningProgram::find(0, "Scan complete", IDC_UPDATE_CMDOK, 120000);
    ASSERT_NE(done, nullptr) << "the update did not run";
    const RunningProgram update(done);
    ASSERT_TRUE(setup.closes(setup.window("Product Setup", 0, 5000)));
    // Two detection ticks pass with the installer gone: a scheduler that did not wait would ask now.
    EXPECT_EQ(scheduler.window(Question, 0, 6000), nullptr) << "asked while the update runs";
    ASSERT_TRUE(press(GetDlgItem(done, IDC_UPDATE_CMDOK), "OK"));
    ASSERT_TRUE(update.ends("OK"));
    ASSERT_TRUE(answer(scheduler, Question, IDYES, "&Yes"));
    HWND viewer = loadedViewer(0);
    ASSERT_NE(viewer, nullptr) << "no viewer";
    const RunningProgram finder(viewer);
    EXPECT_EQ(listedPaths(descendant(viewer, IDC_FOUND_LVWFILESADDED)), std::vector<std::string>{"X:\\ProductX"})
        << "snapshots of X: and C: " << exists(ProgramFolder + "Xdbase.qdb") << exists(ProgramFolder + "Cdbase.qdb");
    const std::vector<std::string> keys = listedPaths(descendant(viewer, IDC_FOUND_LVWREGADDED));
    EXPECT_NE(std::find(keys.begin(), keys.end(), "HKEY_CURRENT_USER\\Software\\ProductX"), keys.end());
    EXPECT_TRUE(finder.closes(viewer));

    const RunningProgram second("", Scheduler);
    EXPECT_TRUE(second.ends("its start"));
    // Wine never sends it: as after a restart of the taskbar, the icon is added again, once.
    SendMessageTimeoutA(HWND_BROADCAST, RegisterWindowMessageA("TaskbarCreated"), 0, 0, SMTO_ABORTIFHUNG, 5000,
                        nullptr);
    EXPECT_EQ(trayIcons(), 1);

    // A real right click on the icon, which the taskbar passes on.
    RECT bar{};
    GetWindowRect(FindWindowA("Shell_TrayWnd", nullptr), &bar);
    SetCursorPos(bar.right - 10, (bar.top + bar.bottom) / 2);
    mouse_event(MOUSEEVENTF_RIGHTDOWN, 0, 0, 0, 0);
    mouse_event(MOUSEEVENTF_RIGHTUP, 0, 0, 0, 0);
    ASSERT_TRUE(chooseFromMenu(true));  // "&Exit"
    ASSERT_TRUE(scheduler.ends("Exit"));
    EXPECT_TRUE(waitUntil(10000, [] { return trayIcons() == 0; })) << "the icon stays";
}

}  // namespace
