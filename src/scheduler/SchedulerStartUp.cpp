#include "scheduler/SchedulerStartUp.h"

#include <cctype>

#include "scheduler/WorkProgram.h"
#include "shell/DataFolder.h"
#include "shell/Folders.h"
#include "shell/Settings.h"
#include "shell/modRegistry.h"

namespace quillon::scheduler {

int wholeNumber(std::string_view text) {
    int value = 0;
    for (std::size_t i = 0; i < text.size() && i < 4 && std::isdigit(static_cast<unsigned char>(text[i])); ++i)
        value = value * 10 + (text[i] - '0');
    return value;
}

SchedulerStart startScheduler(const SchedulerPorts& ports) {
    SchedulerStart start;
    start.instance = ports.desktop.claimInstance(SchedulerInstanceName);
    start.anotherRunning = start.instance && start.instance->anotherWasRunning();
    if (start.anotherRunning) return start;

    start.programFolder = shell::programFolder(ports.desktop);
    {
        shell::KeyPtr general;
        start.dataFolder = shell::decideDataFolder({ports.registry, ports.files, ports.shell, ports.desktop},
                                                   start.programFolder, shell::windowsRoot(ports.shell), general);
    }
    const shell::KeyPtr key = shell::openKey(ports.registry, Hive::CurrentUser, settings::SchedulerKey);
    start.schedule.weeklyDay = wholeNumber(shell::queryValue(key.get(), settings::scheduler::Weekly));
    start.schedule.monthlyDivisor = wholeNumber(shell::queryValue(key.get(), settings::scheduler::Monthly));
    start.schedule.everyDay = shell::queryValue(key.get(), settings::scheduler::EveryDay) == "1";
    start.detectionOn = shell::queryValue(key.get(), settings::scheduler::SetupDetect) != "0";
    start.dataFolder = shell::withBackslash(start.dataFolder);
    return start;
}

bool resumeSetupRan(const SchedulerPorts& ports, std::string_view dataFolder) {
    const shell::KeyPtr key = shell::openKey(ports.registry, Hive::CurrentUser, settings::SchedulerKey);
    if (shell::queryValue(key.get(), settings::scheduler::SetupRan) == "1") return true;
    if (shell::queryValue(key.get(), settings::scheduler::ChangesStartup) == "1")
        // Nothing waits for it: a main program that does not start leaves the scheduler as it was.
        static_cast<void>(startWorkProgram(ports.desktop, dataFolder, FindSwitch, false));
    return false;
}

}  // namespace quillon::scheduler
