#include "scheduler/LoadOnStartup.h"

#include <string>

#include "shell/Settings.h"
#include "shell/modRegistry.h"

namespace quillon::scheduler {

bool loadsOnStartup(Registry& registry) {
    const shell::KeyPtr key = shell::openKey(registry, Hive::CurrentUser, settings::SchedulerKey);
    return shell::queryValue(key.get(), settings::scheduler::Enabled) == "1";
}

void setLoadOnStartup(Registry& registry, bool on, std::string_view programFolder) {
    const shell::KeyPtr scheduler = shell::openKey(registry, Hive::CurrentUser, settings::SchedulerKey);
    shell::storeSetting(scheduler.get(), settings::scheduler::Enabled, on ? "1" : "0");
    const shell::KeyPtr run = shell::createKey(registry, Hive::CurrentUser, settings::RunKey);
    if (on) {
        shell::storeSetting(run.get(), settings::SchedulerRunValue,
                            std::string(programFolder) + std::string(settings::SchedulerProgram));
    } else {
        shell::dropSetting(run.get(), settings::SchedulerRunValue);
    }
}

}  // namespace quillon::scheduler
