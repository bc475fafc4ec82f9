#pragma once
// The maintenance tasks that "&Start scanning now" and a double click on the tray icon run at
// once, and that their own timer runs on the scheduled days.
#include "scheduler/SetupDetection.h"

namespace quillon::scheduler {

class ScheduledTasks {
public:
    virtual ~ScheduledTasks() = default;
    virtual void runNow() = 0;
};

// Runs the tasks with setup detection held, so the two never overlap; refused while a
// detection tick waits on a question or on the update.
void startScanningNow(SetupDetection& detection, ScheduledTasks& tasks);

}  // namespace quillon::scheduler
