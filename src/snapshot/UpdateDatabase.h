#pragma once
// The "Update database" run: the drive snapshots, the configuration-file copies and the
// registry snapshots, in that order, each snapshot written in the work folder and moved into
// the data folder only once complete.
#include <string>
#include <string_view>

#include "platform/FileSystem.h"
#include "platform/Prompter.h"
#include "platform/Registry.h"
#include "platform/RunContext.h"
#include "platform/Shell.h"
#include "snapshot/UpdateProgress.h"

namespace quillon::snapshot {

struct UpdatePorts {
    Registry& registry;
    FileSystem& files;
    Shell& shell;
    Prompter& prompter;
    RunContext& run;
};

struct UpdateFolders {
    std::string dataFolder;     // with "\"
    std::string workFolder;     // where work files go, with "\"
    std::string windowsFolder;  // with "\" (win.ini, system.ini)
    std::string windowsRoot;    // "C:\" (autoexec.bat, config.sys)
};

// driveToken: "C:" or "C:,D:". Cancelled and WriteFailed end the run where they happen; for
// WriteFailed the user has been told once.
UpdateOutcome runUpdateDatabase(UpdatePorts& ports, UpdateProgress& progress, std::string_view driveToken,
                                const UpdateFolders& folders);

}  // namespace quillon::snapshot
