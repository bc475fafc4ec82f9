#pragma once
// The configuration changes file the viewer reads (the files list's "changes.qdb" and the
// registry changes files are named beside their writers in detection/).
#include <array>
#include <string_view>

#include "review/ChangeSet.h"

namespace quillon::review::changes_files {

inline constexpr std::string_view SysChanges = "sysChanges.qdb";

// The header line of each line list's section, indexed by ConfigList.
inline constexpr std::array<std::string_view, ConfigListCount> SectionHeaders{
    "Win.ini{", "System.ini{", "Autoexec.bat{", "Config.sys{"};

}  // namespace quillon::review::changes_files
