#pragma once
// The "Find changes" run: the check that every selected drive has its snapshot, the rescan,
// the comparisons of files, configuration files and registry keys into the changes files of
// the work folder, and the optional refresh of the snapshots (AutoUpdateDb).
#include <string>
#include <string_view>

#include "detection/FindProgress.h"
#include "platform/FileSystem.h"
#include "platform/Prompter.h"
#include "platform/Registry.h"
#include "platform/RunContext.h"
#include "platform/Shell.h"

namespace quillon::detection {

struct FindPorts {
    Registry& registry;
    FileSystem& files;
    Shell& shell;
    Prompter& prompter;
    RunContext& run;
};

struct FindFolders {
    std::string data;          // the snapshots; with "\"
    std::string work;          // the scan and changes files; with "\"
    std::string windows;       // with "\"
    std::string programFiles;  // with "\"
    std::string windowsRoot;   // "C:\": autoexec.bat and config.sys
};

enum class FindOutcome {
    MissingSnapshot,  // a selected drive has no snapshot: the user was told, nothing was scanned
    Stopped,          // the user closed the window: the run's files are deleted, no snapshot changed
    Completed,        // the changes files are ready for the viewer
    Failed,           // a file could not be read or written in full: the user was told which, the
                      // run's files are deleted, no snapshot changed
};

// `driveToken`: the selected drives, "C:" or "C:,D:".
[[nodiscard]] FindOutcome findChanges(FindPorts& ports, FindProgress& progress, std::string_view driveToken,
                        const FindFolders& folders);

}  // namespace quillon::detection
