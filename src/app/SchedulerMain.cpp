// Entry point of the scheduler: a hidden window with a notification-area icon.
#include <windows.h>

#include <exception>

#include "app/Win32Platform.h"
#include "scheduler/ScheduledTasks.h"
#include "scheduler/SchedulerStartUp.h"
#include "scheduler/frmMainScheduler.h"
#include "scheduler/frmStartScanningScheduler.h"
#include "ui/CommonControls.h"
#include "ui/MessagePump.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    using namespace quillon;
    try {
        ui::initCommonControls();
        app::Win32Platform platform;
        Ports& all = platform.ports();
        const scheduler::SchedulerPorts ports{all.registry, all.files, all.shell, all.desktop, all.clock};
        const scheduler::SchedulerStart start = scheduler::startScheduler(ports);
        if (start.anotherRunning) return 0;
        scheduler::TaskWindowTasks tasks(ports, all.prompter, start.dataFolder);
        scheduler::frmMainScheduler window(ports, start, tasks);
        if (!window.open()) return 1;
        return ui::runMessageLoop();
    } catch (const std::exception&) {
        return 1;
    }
}
