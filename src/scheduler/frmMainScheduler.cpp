#include "scheduler/frmMainScheduler.h"

#include <array>

#include "app/resource.h"
#include "scheduler/LoadOnStartup.h"
#include "scheduler/frmAskForFind.h"
#include "scheduler/frmAskForScan.h"
#include "scheduler/frmSchedulerIds.h"
#include "shell/frmAboutProgram.h"
#include "ui/Menu.h"

namespace quillon::scheduler {

namespace {

constexpr UINT_PTR TimerSetupDetect = 1;
constexpr UINT_PTR TimerScheduler = 2;
constexpr UINT_PTR TimerTrayRetry = 3;
constexpr UINT TrayRetryMs = 5000;

constexpr std::array<ui::MenuItemSpec, 9> PopupMenu{{
    {0, IDM_SCHED_START, "&Start scanning now"},
    {0, 0, "-"},
    {0, IDM_SCHED_SETUPDETECT, "Automatic Setup detection"},
    {0, IDM_SCHED_ENABLED, "Load Scheduler on startup"},
    {0, 0, "-"},
    {0, IDM_SCHED_HELP, "Help"},
    {0, IDM_SCHED_ABOUT, "About Quillon..."},
    {0, 0, "-"},
    {0, IDM_SCHED_EXIT, "&Exit"},
}};

win32::IconHandle smallProgramIcon() {
    return win32::IconHandle(static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_QUILLON),
                                                           IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                                           GetSystemMetrics(SM_CYSMICON), LR_DEFAULTCOLOR)));
}

}  // namespace

frmMainScheduler::frmMainScheduler(const SchedulerPorts& ports, const SchedulerStart& start, ScheduledTasks& tasks)
    : ports_(ports),
      programFolder_(start.programFolder),
      dataFolder_(start.dataFolder),
      detection_(ports, *this, start.dataFolder),
      detectionOnAtStart_(start.detectionOn),
      tasks_(tasks),
      schedule_(start.schedule) {}

bool frmMainScheduler::open() {
    popup_ = ui::buildPopupMenu(PopupMenu);
    icon_ = smallProgramIcon();
    if (!popup_) return false;
    SetMenuDefaultItem(popup_.get(), IDM_SCHED_START, FALSE);
    ui::WindowSpec window;
    window.className = "QuillonScheduler";
    window.title = Caption;
    window.style = WS_OVERLAPPED;
    window.icon = icon_.get();
    return create(window);
}

void frmMainScheduler::onCreate() {
    // Explorer broadcasts this when it starts again: every program adds its icon anew.
    taskbarCreated_ = RegisterWindowMessageW(L"TaskbarCreated");
    if (!tray_.show(hwnd(), IDI_SCHED_TRAY, TrayMessage, icon_.get(), TrayTip)) showIconAgain();
    detection_.start(detectionOnAtStart_, resumeSetupRan(ports_, dataFolder_));
    SetTimer(hwnd(), TimerScheduler, TaskSchedule::FirstTickMs, nullptr);
    follow();
}

std::optional<LRESULT> frmMainScheduler::onMessage(UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == TrayMessage) {
        onTrayEvent(LOWORD(lp));
        return 0;
    }
    if (taskbarCreated_ != 0 && msg == taskbarCreated_) {
        showIconAgain();
        return 0;
    }
    return Window::onMessage(msg, wp, lp);
}

void frmMainScheduler::onTrayEvent(UINT mouseMessage) {
    if (mouseMessage == WM_LBUTTONDBLCLK) {
        startScanningNow(detection_, tasks_);
        follow();
    } else if (mouseMessage == WM_RBUTTONUP) {
        showPopupMenu();
    }
}

void frmMainScheduler::showPopupMenu() {
    const ui::Menu menu(popup_.get());
    menu.check(IDM_SCHED_ENABLED, loadsOnStartup(ports_.registry));
    // The menu closes when the user clicks elsewhere only if its window is the foreground one.
    ports_.desktop.bringToFront(ref());
    POINT at{};
    GetCursorPos(&at);
    TrackPopupMenu(popup_.get(), TPM_RIGHTBUTTON, at.x, at.y, 0, hwnd(), nullptr);
    PostMessageW(hwnd(), WM_NULL, 0, 0);
}

void frmMainScheduler::onCommand(int id, int code, HWND control) {
    switch (id) {
        case IDM_SCHED_START:
            startScanningNow(detection_, tasks_);
            break;
        case IDM_SCHED_SETUPDETECT:
            detection_.setDetection(!ui::Menu(popup_.get()).isChecked(IDM_SCHED_SETUPDETECT));
            break;
        case IDM_SCHED_ENABLED:
            setLoadOnStartup(ports_.registry, !ui::Menu(popup_.get()).isChecked(IDM_SCHED_ENABLED), programFolder_);
            break;
        case IDM_SCHED_HELP:
            static_cast<void>(ports_.shell.help(ref(), programFolder_ + "Quillon.hlp", HelpCommand::Key, "Quillon Scheduler"));  // the help engine tells the user itself when it finds nothing
            break;
        case IDM_SCHED_ABOUT: {
            shell::frmAboutProgram about(ports_.shell);
            about.showModal(hwnd());
            break;
        }
        case IDM_SCHED_EXIT:
            tray_.remove();
            DestroyWindow(hwnd());
            return;
        default:
            Window::onCommand(id, code, control);
            return;
    }
    follow();
}

// At logon the shell may not take icons yet: the icon is tried again until it is there.
void frmMainScheduler::showIconAgain() {
    if (tray_.showAgain()) {
        KillTimer(hwnd(), TimerTrayRetry);
    } else {
        SetTimer(hwnd(), TimerTrayRetry, TrayRetryMs, nullptr);
    }
}

void frmMainScheduler::onTimer(UINT_PTR id) {
    if (id == TimerTrayRetry) showIconAgain();
    if (id == TimerScheduler) {
        SetTimer(hwnd(), TimerScheduler, TaskSchedule::TickMs, nullptr);
        // While a question or a run is up the tick waits, so the day is not counted as served
        // by a start that would be refused.
        if (!detection_.busy() && !detection_.held() && schedule_.tick(ports_.clock.now(), ports_.registry))
            startScanningNow(detection_, tasks_);
        follow();
        return;
    }
    if (id != TimerSetupDetect) return;
    KillTimer(hwnd(), TimerSetupDetect);
    armedMs_ = 0;
    detection_.tick();
    follow();
}

void frmMainScheduler::follow() {
    if (!hwnd()) return;  // the window went while a question or the update was waited for
    // Set again only on a change: setting it restarts its count.
    const int wanted = detection_.timerEnabled() ? detection_.intervalMs() : 0;
    if (wanted != armedMs_) {
        armedMs_ = wanted;
        if (wanted == 0) {
            KillTimer(hwnd(), TimerSetupDetect);
        } else if (!SetTimer(hwnd(), TimerSetupDetect, static_cast<UINT>(wanted), nullptr)) {
            armedMs_ = 0;  // tried again at the next event
        }
    }
    ui::Menu(popup_.get()).check(IDM_SCHED_SETUPDETECT, detection_.detectionOn());
}

void frmMainScheduler::onDestroy() {
    KillTimer(hwnd(), TimerSetupDetect);
    KillTimer(hwnd(), TimerScheduler);
    KillTimer(hwnd(), TimerTrayRetry);
    tray_.remove();
    PostQuitMessage(0);
}

ScanAnswer frmMainScheduler::askForScan() {
    frmAskForScan question(ports_.desktop);
    return question.ask(hwnd());
}

bool frmMainScheduler::askForFind() {
    frmAskForFind question(ports_.desktop);
    return question.ask(hwnd());
}

}  // namespace quillon::scheduler
