#pragma once
// The folders a rescan neither records nor enters.
#include <string_view>

#include "shell/IgnoreList.h"

namespace quillon::detection {

using shell::IgnoreList;

// A run's list: the Windows History folder, the recycle folders of the first drive and of
// D: to H:, then the user's own (`foldersToIgnore`, stored in the same form).
IgnoreList runIgnoreList(std::string_view windowsFolder, std::string_view firstRoot, std::string_view foldersToIgnore);

}  // namespace quillon::detection
