#pragma once
// Looks for the window of an installation program among the top-level windows.
#include <optional>

#include "scheduler/SchedulerPorts.h"
#include "scheduler/SetupIgnoreList.h"

namespace quillon::scheduler {

// The first top-level window, in the system's order, that is visible, has a setup title and no
// ignored class, whose program can be found in the process and module lists and is not on the
// ignore list; its program, or nullopt.
std::optional<DetectedSetup> detectSetupWindow(const SchedulerPorts& ports);

}  // namespace quillon::scheduler
