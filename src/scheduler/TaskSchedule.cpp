#include "scheduler/TaskSchedule.h"

#include "shell/Settings.h"
#include "shell/modRegistry.h"

namespace quillon::scheduler {

bool TaskSchedule::tick(const DateTime& now, Registry& registry) {
    const bool newDay = !lastTick_ || dayNumber(*lastTick_) != dayNumber(now);
    lastTick_ = now;
    if (!newDay) return false;
    const shell::KeyPtr key = shell::openKey(registry, Hive::CurrentUser, settings::SchedulerKey);
    const bool done = wholeNumber(shell::queryValue(key.get(), settings::scheduler::Done)) != 0;
    bool due = settings_.everyDay;
    const auto onDay = [&](bool today) {
        if (today) {
            due = due || !done;
        } else {
            static_cast<void>(shell::setValue(key.get(), settings::scheduler::Done, "0"));
        }
    };
    if (settings_.monthlyDivisor > 0) onDay(now.day % settings_.monthlyDivisor == 0);
    if (settings_.weeklyDay > 0) onDay(weekday(now) == settings_.weeklyDay);
    return due;
}

void TaskSchedule::markDone(Registry& registry) {
    const shell::KeyPtr key = shell::createKey(registry, Hive::CurrentUser, settings::SchedulerKey);
    static_cast<void>(shell::setValue(key.get(), settings::scheduler::Done, "1"));
}

}  // namespace quillon::scheduler
