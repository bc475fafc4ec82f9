#pragma once
// What the scheduler's logic reaches the world through.
#include "platform/Clock.h"
#include "platform/Desktop.h"
#include "platform/FileSystem.h"
#include "platform/Registry.h"
#include "platform/Shell.h"

namespace quillon::scheduler {

struct SchedulerPorts {
    Registry& registry;
    FileSystem& files;
    Shell& shell;
    Desktop& desktop;
    Clock& clock;
};

}  // namespace quillon::scheduler
