// Entry point of the scheduler: a hidden window with a notification-area icon.
#include <windows.h>

#include <exception>

#include "app/Win32Platform.h"
#include "scheduler/ScheduledTasks.h"
#include "scheduler/SchedulerStartUp.h"
#include "scheduler/frmMainScheduler.h"
#include "ui/CommonControls.h"
#include "ui/MessagePump.h"

namespace {

// Where the scheduled maintenance tasks will run; until they exist, starting them does nothing.
class NoScheduledTasks final : public quillon::scheduler::ScheduledTasks {
public:
    void runNow() override {}
};

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    using namespace quillon;
    try {
        ui::initCommonControls();
        app::Win32Platform platform;
        Ports& all = platform.ports();
        const scheduler::SchedulerPorts ports{all.registry, all.files, all.shell, all.desktop, all.clock};
        const scheduler::SchedulerStart start = scheduler::startScheduler(ports);
        if (start.anotherRunning) return 0;
        NoScheduledTasks tasks;
        scheduler::frmMainScheduler window(ports, start, tasks);
        if (!window.open()) return 1;
        return ui::runMessageLoop();
    } catch (const std::exception&) {
        return 1;
    }
}
