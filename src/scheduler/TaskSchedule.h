#pragma once
// When the scheduled maintenance tasks are due: the first tick of the schedule timer after the
// start, and then the first tick of each new calendar day, looks at the schedule and Done.
#include <optional>

#include "platform/DateTime.h"
#include "platform/Registry.h"
#include "scheduler/SchedulerStartUp.h"

namespace quillon::scheduler {

class TaskSchedule {
public:
    static constexpr unsigned FirstTickMs = 10000;
    static constexpr unsigned TickMs = 58000;

    explicit TaskSchedule(ScheduleSettings settings) : settings_(settings) {}

    // One tick at `now`: true when the tasks are due. On a weekly or monthly day that is not the
    // schedule's, Done is written "0", so the next such day runs them again. A tick late after
    // midnight still counts for its day: only the calendar day matters, not the minute.
    bool tick(const DateTime& now, Registry& registry);
    // Written as a run starts: a restart the same day does not run the tasks again.
    static void markDone(Registry& registry);

private:
    ScheduleSettings settings_;
    std::optional<DateTime> lastTick_;
};

}  // namespace quillon::scheduler
