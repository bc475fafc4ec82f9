#pragma once
// The window of one run of the maintenance tasks: it starts the run a second after it shows,
// shows the folder at hand and the totals, and closes when the run ends. Closing it earlier
// stops the run at its next entry.
#include <windows.h>

#include <string>

#include "platform/Prompter.h"
#include "scheduler/ScheduledTasks.h"
#include "scheduler/TaskRun.h"
#include "ui/Dialog.h"
#include "ui/MessagePump.h"

namespace quillon::scheduler {

class frmStartScanningScheduler final : public ui::Dialog, private TaskProgress {
public:
    static constexpr const char* Caption = "Quillon Scheduler";

    frmStartScanningScheduler(const SchedulerPorts& ports, Prompter& prompter, std::string dataFolder);

private:
    void onCreate() override;
    void onTimer(UINT_PTR id) override;
    void onClose() override;

    void showFolder(std::string_view folder) override;
    void showStatus(std::string_view text) override;
    void showTotals(std::uint64_t files, double freedBytes) override;

    void run();

    SchedulerPorts ports_;
    Prompter& prompter_;
    std::string dataFolder_;
    ui::StopFlag stop_;
    bool running_ = false;
};

// "&Start scanning now" and the scheduled days: Done becomes "1" and the task window runs
// modally. A second start while one runs is ignored.
class TaskWindowTasks final : public ScheduledTasks {
public:
    TaskWindowTasks(const SchedulerPorts& ports, Prompter& prompter, std::string dataFolder)
        : ports_(ports), prompter_(prompter), dataFolder_(std::move(dataFolder)) {}
    void runNow() override;

private:
    SchedulerPorts ports_;
    Prompter& prompter_;
    std::string dataFolder_;
    bool running_ = false;
};

}  // namespace quillon::scheduler
