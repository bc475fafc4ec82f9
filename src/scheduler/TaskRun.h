#pragma once
// The maintenance tasks the scheduler runs: junk files of the chosen drives by type, the
// temporary, cache and extra folders, the Recycle Bin, then the disk check and defragmenter.
// The junk is removed as the DeleteMode setting says (the Recycle Bin by default).
#include <cstdint>
#include <string>
#include <string_view>

#include "cleanup/CleanUpSettings.h"
#include "cleanup/ScanJunkFolders.h"
#include "platform/Prompter.h"
#include "platform/RunContext.h"
#include "scheduler/SchedulerPorts.h"

namespace quillon::scheduler {

struct TaskSettings {
    std::string drive;  // a drive token, "C:" or "C:,D:"
    bool tempFiles = false;
    bool tempFolders = false;
    bool scanDisk = false;
    bool defragmentor = false;
    int keepYoungerThanDays = 0;  // OldDel "1": OldDelDays; else 0
    cleanup::CleanUpSettings sysClean;
    std::string foldersToIgnore;
};

TaskSettings readTaskSettings(Registry& registry);

// The task window: the step or folder at hand, and the running totals.
class TaskProgress : public cleanup::ScanProgress {
public:
    virtual void showTotals(std::uint64_t files, double freedBytes) = 0;
};

struct TaskPorts {
    SchedulerPorts system;
    Prompter& prompter;
    RunContext& run;
    TaskProgress& progress;
    WindowRef owner = 0;      // of the shell's Recycle Bin call
    std::string dataFolder;   // where DeleteMode "2" keeps removed files, with "\"
};

struct TaskTotals {
    std::uint64_t files = 0;
    double freedBytes = 0;  // of the files that really went
};

// Runs every task the settings ask for, in order; a stop ends the run at the next entry.
TaskTotals runTasks(TaskPorts& ports, const TaskSettings& settings);

}  // namespace quillon::scheduler
