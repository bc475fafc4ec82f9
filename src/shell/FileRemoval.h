#pragma once
// What every removal needs: the ports, and where files go under the DeleteMode setting (Recycle
// Bin, for good, or into the data folder). The removal itself is RemovalDoor's.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Clock.h"
#include "platform/Desktop.h"
#include "platform/FileSystem.h"
#include "platform/Prompter.h"
#include "platform/Registry.h"
#include "platform/RunContext.h"
#include "platform/Shell.h"

namespace quillon::shell {

struct RemovalPorts {
    Registry& registry;
    FileSystem& files;
    Shell& shell;
    Desktop& desktop;
    Prompter& prompter;
    RunContext& run;
    Clock& clock;
    std::string dataFolder;  // with "\"
    WindowRef owner = 0;
};

enum class RemoveMode {
    Setting = 0,    // as DeleteMode says
    Permanent = 1,  // for good, whatever the setting
    Quiet = 2,      // as the setting, but no message about files left for the restart
};

enum class RemovalPlace { RecycleBin, Deleted, DataFolder };
struct RemovalPlan {
    RemovalPlace place = RemovalPlace::RecycleBin;
    std::uint32_t flags = 0;  // the shell's flags, when the shell deletes
};
// Where files removed with these flags and mode go under the DeleteMode setting.
RemovalPlan planRemoval(Registry& registry, std::uint32_t flags, RemoveMode mode);

// Moves with the shell's operation unless the source is in use. True when the move ran and
// succeeded.
bool moveFile(Shell& shell, FileSystem& files, std::string_view source, std::string_view destination,
              std::uint32_t flags, WindowRef owner = 0);
// True only when the file exists and another program holds it open.
bool fileInUse(FileSystem& files, std::string_view path);

}  // namespace quillon::shell
