#pragma once
// The scheduler's start, before and after its tray icon is added.
#include <memory>
#include <string>
#include <string_view>

#include "scheduler/SchedulerPorts.h"

namespace quillon::scheduler {

inline constexpr std::string_view SchedulerInstanceName = "Quillon.Scheduler";

// When the scheduled tasks run; 0 for a day or divisor means none.
struct ScheduleSettings {
    bool everyDay = false;
    int weeklyDay = 0;        // 1 Sunday ... 7 Saturday
    int monthlyDivisor = 0;
};

struct SchedulerStart {
    std::unique_ptr<InstanceToken> instance;  // held while the scheduler runs
    bool anotherRunning = false;              // then nothing else was done
    std::string programFolder;                // with "\"
    std::string dataFolder;                   // with "\"
    ScheduleSettings schedule;
    bool detectionOn = false;
};

// Leading digits as a number, as the settings hold them; 0 for anything else.
int wholeNumber(std::string_view text);

// The running-instance test, the data folder as the main program decides it (first-run
// defaults included), the schedule and SetupDetect.
SchedulerStart startScheduler(const SchedulerPorts& ports);

// SetupRan "1" means an installation's "after" question is still due: true. Otherwise, with
// ChangesStartup "1", "Find changes" starts now.
bool resumeSetupRan(const SchedulerPorts& ports, std::string_view dataFolder);

}  // namespace quillon::scheduler
