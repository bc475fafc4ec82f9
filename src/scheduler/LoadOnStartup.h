#pragma once
// The tray menu's "Load Scheduler on startup": the setting Enabled and the Run-key entry that
// starts the scheduler at logon, kept together.
#include <string_view>

#include "platform/Registry.h"

namespace quillon::scheduler {

// Checked when Enabled is "1".
bool loadsOnStartup(Registry& registry);

// Writes Enabled; adds the Run-key value (program folder + "Quillon Scheduler.exe") or deletes it.
void setLoadOnStartup(Registry& registry, bool on, std::string_view programFolder);

}  // namespace quillon::scheduler
