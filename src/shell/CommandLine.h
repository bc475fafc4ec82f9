#pragma once
// What the main program's command line asks for.
#include <string>
#include <string_view>

#include "platform/FileSystem.h"

namespace quillon::shell {

enum class CommandLineAction { None, UpdateDatabase, FindChanges, Uninstall };

struct StartRequest {
    CommandLineAction action = CommandLineAction::None;
    std::string removalList;  // for Uninstall
};

// "\u", "\f", or a removal-list path, in double quotes (as the file association passes it) or
// without (as a user types it).
StartRequest parseCommandLine(FileSystem& files, std::string_view commandLine);

}  // namespace quillon::shell
