#pragma once
// The configuration-file half of "Find changes": the lines added to win.ini, system.ini,
// autoexec.bat and config.sys since their snapshot copies, each with the line it replaced,
// written as "sysChanges.qdb".
#include <string>
#include <string_view>
#include <vector>

#include "detection/FindProgress.h"
#include "platform/FileSystem.h"
#include "platform/Registry.h"

namespace quillon::detection {

struct ConfigChanges {
    // Every line of the file that no snapshot line equals (without regard to case), in file
    // order; empty lines never count.
    std::vector<std::string> added;
    // One per added line: the snapshot line it replaced, or " " when it replaced none.
    std::vector<std::string> replaced;
};

// An added line replaced a removed one when the next non-empty lines after both are the same
// text; the first removed line, in snapshot order, that fits is taken. False when either file
// could not be read in full: the result is then not to be trusted.
bool compareConfigFile(FileSystem& files, std::string_view snapshotPath, std::string_view configPath,
                       ConfigChanges& out);

struct ConfigFolders {
    std::string_view work;     // where the output goes; ends in "\"
    std::string_view root;     // root of the Windows drive: autoexec.bat, config.sys
    std::string_view windows;  // win.ini, system.ini; ends in "\"
    std::string_view data;     // the snapshot copies; ends in "\"
};

// Creates "sysChanges.qdb" in the work folder with one section per switched-on file whose
// file and snapshot both exist (and could be read). The progress advances by 1 per
// switched-on file, present or not. The status of the written file.
Status writeConfigChanges(Registry& registry, FileSystem& files, const ConfigFolders& folders,
                          FindProgress& progress);

}  // namespace quillon::detection
