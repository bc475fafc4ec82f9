#pragma once
// The Windows maintenance tools the Tools menu starts.
#include <optional>
#include <string>

#include "platform/Desktop.h"
#include "platform/Shell.h"

namespace quillon::shell {

enum class Tool { DiskCleanup, SystemFileChecker, Defragmenter, ScanDisk, DriveSpace, MaintenanceWizard };

struct ToolProgram {
    std::string file;         // the program file whose existence enables the entry
    std::string commandLine;  // what is started
};

ToolProgram toolProgram(Tool tool, Shell& shell, Desktop& desktop);

// ScanDisk is never disabled: its entry only starts the disk checker when there is one.
inline bool alwaysEnabled(Tool tool) { return tool == Tool::ScanDisk; }

}  // namespace quillon::shell
