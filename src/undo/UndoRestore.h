#pragma once
// "Undo last removal": shows what the latest undo record holds, asks, and puts back what
// can come back — keys through the registry, configuration files from their copies, moved
// files to their places — and names what is in the Recycle Bin or lost.
#include <functional>
#include <string>
#include <string_view>

#include "platform/FileSystem.h"
#include "platform/Prompter.h"
#include "platform/Registry.h"
#include "platform/Shell.h"

namespace quillon::undo {

struct RestorePorts {
    Registry& registry;
    FileSystem& files;
    Shell& shell;
    Prompter& prompter;
    std::string dataFolder;  // with "\"
    std::string workFolder;  // with "\"
    WindowRef owner = 0;
    // Told of an uninstalled removal list that is back, so it can be offered again.
    std::function<void(const std::string&)> removalListBack = {};
};

inline constexpr std::string_view UndoTitle = "Undo last removal";

// The latest record exists and was not undone yet.
bool canUndo(FileSystem& files, std::string_view dataFolder);

void undoLastRemoval(RestorePorts& ports);

}  // namespace quillon::undo
