// In the prefix of scheduler.sh: the scheduler's first start updates the snapshot before the stand-in
// installer (waiting) and finds its changes after it; a second start leaves one icon, whose menu ends it.
#include <cstring>

#include "ProbeKit.h"
#include "app/resource.h"
#include "review/frmFoundChangesIds.h"
#include "scheduler/frmSchedulerIds.h"

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

void rightClickIcon() {
    RECT bar{};
    GetWindowRect(FindWindowA("Shell_TrayWnd", nullptr), &bar);
    clickAt(bar.right - 10, (bar.top + bar.bottom) / 2, MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP);
}

void setting(const char* key, const char* name, const char* value) {
    RegSetKeyValueA(HKEY_CURRENT_USER, (std::string("Software\\Quillon\\") + key).c_str(), name, REG_SZ, value,
                    static_cast<DWORD>(std::strlen(value) + 1));
}

// The task window of one run shows, runs and closes by itself: its last totals.
std::string tasksRun(const RunningProgram& scheduler, DWORD timeoutMs) {
    HWND tasks = scheduler.window("Quillon Scheduler", IDC_TASK_LBLFILENOS, timeoutMs);
    if (!tasks) return "no task window";
    std::string totals;
    const bool closed = waitUntil(60000, [&] {
        // The two labels change one after the other in another process: a pair counts only when
        // the count did not move while the space was read.
        const std::string files = windowText(descendant(tasks, IDC_TASK_LBLFILENOS));
        const std::string freed = windowText(descendant(tasks, IDC_TASK_LBLFREEDSPACE));
        const std::string again = windowText(descendant(tasks, IDC_TASK_LBLFILENOS));
        if (!files.empty() && !freed.empty() && files == again) totals = files + ", " + freed;
        return !IsWindow(tasks);
    });
    return closed ? totals : "the task window stays";
}

TEST(Scheduler, UpdatesBeforeAnInstallationFindsItsChangesAfterItAndKeepsOneIconWhoseMenuEndsIt) {
    const RunningProgram scheduler("", Scheduler);
    ASSERT_TRUE(waitUntil(20000, [] { return trayIcons() == 1; })) << "no icon";
    // The first start wrote the defaults; the road works on the small drive.
    ASSERT_TRUE(setDrive("(X:) SMALL"));
    const RunningProgram setup("", "C:\\Setup\\MySetup.exe");
    ASSERT_TRUE(answer(scheduler, Question, "Do you want to update the scan database now?", IDYES, "&Yes"));
    HWND done = RunningProgram::find(0, "Scan complete", IDC_UPDATE_CMDOK, 120000);
    ASSERT_NE(done, nullptr) << "the update did not run";
    const RunningProgram update(done);
    PostMessageA(setup.window("Product Setup", 0, 5000), WM_CLOSE, 0, 0);
    ASSERT_TRUE(setup.ends("its window was closed"));
    // Two detection ticks pass with the installer gone: a scheduler that did not wait would ask now.
    EXPECT_EQ(scheduler.window(Question, 0, 6000), nullptr) << "asked while the update runs";
    ASSERT_TRUE(press(GetDlgItem(done, IDC_UPDATE_CMDOK), "OK"));
    ASSERT_TRUE(update.ends("OK"));
    ASSERT_TRUE(answer(scheduler, Question, "Do you want to find changes now?", IDYES, "&Yes"));
    HWND viewer = RunningProgram::find(0, "Changes found  -Quillon", IDC_FOUND_LVWFILESADDED, 180000);
    ASSERT_NE(viewer, nullptr) << "no viewer";
    const RunningProgram finder(viewer);
    HWND keyList = descendant(viewer, IDC_FOUND_LVWREGADDED);
    ASSERT_TRUE(waitUntil(20000, [&] { return rowCount(keyList) > 0; })) << "the registry list (filled last) stays empty";
    EXPECT_EQ(listViewRows(descendant(viewer, IDC_FOUND_LVWFILESADDED), 2), (Rows{{"ProductX", "X:\\"}}));
    const Rows added = listViewRows(keyList, 2);
    EXPECT_NE(std::find(added.begin(), added.end(), Rows::value_type{"ProductX", "HKEY_CURRENT_USER\\Software\\"}),
              added.end());
    PostMessageA(viewer, WM_CLOSE, 0, 0);
    EXPECT_TRUE(finder.ends("the viewer was closed"));

    const RunningProgram second("", Scheduler);
    EXPECT_TRUE(second.ends("its start"));
    // Wine never sends it: as after a restart of the taskbar, the icon is added again, once.
    DWORD_PTR ignored = 0;
    SendMessageTimeoutA(HWND_BROADCAST, RegisterWindowMessageA("TaskbarCreated"), 0, 0, SMTO_ABORTIFHUNG, 5000, &ignored);
    EXPECT_EQ(trayIcons(), 1);

    rightClickIcon();
    ASSERT_NE(scheduler.window("", 0, 10000), nullptr) << "no menu";  // its only visible window without a caption
    keys({VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN, VK_RETURN});  // the sixth entry: "&Exit"
    ASSERT_TRUE(scheduler.ends("Exit"));
    EXPECT_TRUE(waitUntil(10000, [] { return trayIcons() == 0; })) << "the icon stays";
}

// The junk of X:\Junk (made by scheduler.sh, which looks for it in the Recycle Bin afterwards) goes
// on the first tick of a scheduled day and from the menu; what the rules keep stays.
TEST(Scheduler, RunsItsTasksOnTheFirstTickOfAScheduledDayAndFromItsMenu) {
    for (auto [name, value] : {std::pair{"EveryDay", "1"}, {"Done", "1"}, {"TempFiles", "1"}, {"TempFolders", "0"},
                               {"Drive", "X:,Y:"}, {"ScanDisk", "0"}, {"Defragmentor", "0"}, {"SetupDetect", "0"}})
        setting("Scheduler", name, value);
    for (auto [name, value] : {std::pair{"Tmp files", "1"}, {"Log files", "1"}, {"Bak files", "0"}})
        setting("Sys Clean", name, value);
    const std::pair<const char*, bool> stays[] = {{"old.tmp", false}, {"trace.log", false}, {"today.tmp", true},
                                                  {"install.log", true}, {"notes.txt", true}, {"keep.bak", true}};

    const RunningProgram scheduler("", Scheduler);
    // Y: holds plain files only: their walk keeps the window open with its final totals.
    EXPECT_EQ(tasksRun(scheduler, 30000), "Total files found: 2, Total space freed up: 1.9 KB");
    for (auto [name, kept] : stays) EXPECT_EQ(exists(std::string("X:\\Junk\\") + name), kept) << name;

    MoveFileA("X:\\Junk\\again.txt", "X:\\Junk\\again.tmp");
    rightClickIcon();
    ASSERT_NE(scheduler.window("", 0, 10000), nullptr) << "no menu";
    keys({VK_DOWN, VK_RETURN});  // "&Start scanning now"
    EXPECT_EQ(tasksRun(scheduler, 10000), "Total files found: 1, Total space freed up: 1KB");
    EXPECT_FALSE(exists("X:\\Junk\\again.tmp"));
    EXPECT_TRUE(exists("X:\\Junk\\today.tmp"));

    rightClickIcon();
    ASSERT_NE(scheduler.window("", 0, 10000), nullptr) << "no menu";
    keys({VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN, VK_RETURN});
    EXPECT_TRUE(scheduler.ends("Exit"));
}

}  // namespace
