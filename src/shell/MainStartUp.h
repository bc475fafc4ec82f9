#pragma once
// The main program's start: data folder, first-run defaults, command line, single instance,
// drive list and recent removal lists, in that order.
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Clock.h"
#include "platform/Desktop.h"
#include "platform/FileSystem.h"
#include "platform/Registry.h"
#include "platform/Shell.h"
#include "shell/MainOperations.h"
#include "shell/RecentRemovalLists.h"

namespace quillon::shell {

struct StartUpPorts {
    Registry& registry;
    FileSystem& files;
    Shell& shell;
    Desktop& desktop;
    Clock& clock;
};

inline constexpr std::string_view MainInstanceName = "Quillon.MainProgram";

struct MainState {
    std::string programFolder;   // with "\"
    std::string windowsRoot;     // "C:\"
    std::string workFolder;      // where work and changes files go
    std::string dataFolder;      // with "\"
    std::vector<std::string> driveEntries;
    std::size_t selectedDrive = 0;
    std::string lastScanned;
    std::vector<RecentRemovalList> recentLists;
    bool endProgram = false;     // an unattended action ran, or another instance is open
    std::unique_ptr<InstanceToken> instance;
};

// Fills the state step by step: an operation the command line starts already sees the data
// folder and the selected drive in it.
void startMainProgram(StartUpPorts& ports, std::string_view commandLine, MainOperations& operations,
                      MainState& state);

// Stores the selected drive entry for the next start.
void saveSelectedDrive(Registry& registry, std::string_view entryText);

}  // namespace quillon::shell
