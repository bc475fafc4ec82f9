#pragma once
// Where both programs keep the snapshot database: the setting DefaultPath, put back to the
// program folder when it is empty or names no folder; a first start writes every default.
#include <string>
#include <string_view>

#include "platform/Desktop.h"
#include "platform/FileSystem.h"
#include "platform/Registry.h"
#include "platform/Shell.h"
#include "shell/modRegistry.h"

namespace quillon::shell {

struct DataFolderPorts {
    Registry& registry;
    FileSystem& files;
    Shell& shell;
    Desktop& desktop;
};

// The data folder as stored (the caller appends "\"). `general` is left open on the General
// key for the caller's further reads.
std::string decideDataFolder(const DataFolderPorts& ports, std::string_view programFolder,
                             std::string_view windowsRoot, KeyPtr& general);

}  // namespace quillon::shell
