#pragma once
// Takes an added line out of a configuration file, or puts back the line it replaced.
#include <string>
#include <string_view>

#include "platform/FileSystem.h"
#include "review/ChangeSet.h"

namespace quillon::review {

// Where the four configuration files and the removal work files are. Every folder ends in "\".
struct RemovalFolders {
    std::string windows;      // win.ini, system.ini
    std::string windowsRoot;  // autoexec.bat, config.sys
    std::string work;         // "tempSys.qdb", "temp.qdf"
};

std::string configFilePath(ConfigList list, const RemovalFolders& folders);

inline constexpr std::string_view RewriteFileName = "tempSys.qdb";

// Rewrites `configFile` through "tempSys.qdb" in the work folder: every line equal to `added`
// (case counts) becomes `replaced`, or goes when `replaced` is " ". The new file takes the
// old one's place in one step, only when it was written completely; otherwise the original
// stays as it was. Afterwards the file is hidden and system. Ok, or the first failure.
Status removeAddedLine(FileSystem& files, std::string_view workFolder, std::string_view configFile,
                       std::string_view added, std::string_view replaced);

}  // namespace quillon::review
