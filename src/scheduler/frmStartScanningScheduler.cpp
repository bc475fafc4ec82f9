#include "scheduler/frmStartScanningScheduler.h"

#include <array>

#include "platform/ScopedFlag.h"
#include "scheduler/TaskSchedule.h"
#include "scheduler/frmSchedulerIds.h"
#include "shell/FormatSize.h"
#include "shell/Folders.h"
#include "shell/Settings.h"
#include "shell/modRegistry.h"
#include "ui/Animation.h"
#include "ui/Layout.h"

namespace quillon::scheduler {

namespace {

constexpr UINT_PTR RunTimer = 1;
constexpr int W = 240;

constexpr std::array<ui::ControlSpec, 5> Controls{{
    ui::animation(IDC_TASK_ANISCAN, 7, 7, 40, 30),
    {IDC_TASK_LBLCURRENTDIR, "STATIC", "", SS_LEFT | SS_PATHELLIPSIS, 54, 9, W - 61, ui::Metrics::labelHeight},
    ui::label(IDC_TASK_LBLMODULENAME, "", 54, 21, W - 61),
    ui::label(IDC_TASK_LBLFILENOS, "Total files found: 0", 7, 44, W - 14),
    ui::label(IDC_TASK_LBLFREEDSPACE, "Total space freed up: 0KB", 7, 56, W - 14),
}};

ui::DialogSpec windowLayout() {
    ui::DialogSpec layout;
    layout.title = frmStartScanningScheduler::Caption;
    layout.width = W;
    layout.height = 70;
    layout.exStyle = WS_EX_TOPMOST;
    return layout;
}

}  // namespace

frmStartScanningScheduler::frmStartScanningScheduler(const SchedulerPorts& ports, Prompter& prompter,
                                                     std::string dataFolder)
    : Dialog(windowLayout()), ports_(ports), prompter_(prompter), dataFolder_(std::move(dataFolder)) {}

void frmStartScanningScheduler::onCreate() {
    ui::createControls(hwnd(), Controls);
    const ui::Animation animation(hwnd(), IDC_TASK_ANISCAN);
    const std::string clip = shell::withBackslash(shell::programFolder(ports_.desktop)) + "Scan.avi";
    if (existsWith(ports_.files, clip, 0) && animation.open(clip)) {
        animation.play();
    } else {
        // Without the clip its place would stay empty: the folder takes the whole width.
        ShowWindow(GetDlgItem(hwnd(), IDC_TASK_ANISCAN), SW_HIDE);
        const RECT r = ui::DialogUnits::of(hwnd()).rect(7, 9, W - 14, ui::Metrics::labelHeight);
        ui::Label(hwnd(), IDC_TASK_LBLCURRENTDIR).move(r.left, r.top, r.right - r.left, r.bottom - r.top);
    }
    SetTimer(hwnd(), RunTimer, 1000, nullptr);
}

void frmStartScanningScheduler::onTimer(UINT_PTR id) {
    if (id != RunTimer) return;
    KillTimer(hwnd(), RunTimer);
    run();
    endModal(IDOK);
}

void frmStartScanningScheduler::run() {
    const ScopedFlag running(running_);
    ui::MessagePump pump(stop_, hwnd());
    TaskPorts ports{ports_, prompter_, pump, *this, ref(), dataFolder_};
    runTasks(ports, readTaskSettings(ports_.registry));
}

// A run in progress ends at its next entry; the window goes when it has.
void frmStartScanningScheduler::onClose() {
    stop_.request();
    if (running_) {
        ShowWindow(hwnd(), SW_HIDE);
        return;
    }
    KillTimer(hwnd(), RunTimer);
    endModal(IDCANCEL);
}

void frmStartScanningScheduler::showFolder(std::string_view folder) {
    ui::Label(hwnd(), IDC_TASK_LBLCURRENTDIR).setText(folder);
}

void frmStartScanningScheduler::showStatus(std::string_view text) { showFolder(text); }

void frmStartScanningScheduler::showTotals(std::uint64_t files, double freedBytes) {
    ui::Label(hwnd(), IDC_TASK_LBLFILENOS).setText("Total files found: " + std::to_string(files));
    ui::Label(hwnd(), IDC_TASK_LBLFREEDSPACE).setText("Total space freed up: " + shell::formatSize(freedBytes, true));
}

void TaskWindowTasks::runNow() {
    if (running_) return;
    const ScopedFlag running(running_);
    TaskSchedule::markDone(ports_.registry);
    frmStartScanningScheduler window(ports_, prompter_, dataFolder_);
    window.showModal(nullptr);
}

}  // namespace quillon::scheduler
