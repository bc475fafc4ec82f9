#pragma once
// The folder walk of the junk scans: lists the files of one folder tree that the pattern list
// takes, depth first in the system's order.
#include <functional>
#include <string>
#include <string_view>

#include "cleanup/JunkTypes.h"
#include "cleanup/ScanResults.h"
#include "platform/FileSystem.h"
#include "platform/RunContext.h"
#include "platform/Shell.h"
#include "shell/IgnoreList.h"

namespace quillon::cleanup {

// Where a scan shows the folder it is in.
class ScanProgress {
public:
    virtual ~ScanProgress() = default;
    // "Scanning: " and the folder.
    virtual void showFolder(std::string_view folder) = 0;
    // A text of its own ("Finding duplicate files. Please wait...").
    virtual void showStatus(std::string_view text) = 0;
};

struct WalkPorts {
    FileSystem& files;
    Shell& shell;
    RunContext& run;
    ScanProgress& progress;
};

struct WalkRules {
    std::string_view patternList;  // type keys, or AllFiles
    const shell::IgnoreList& ignore;
    JunkRuleDates dates;
};

// A file the rules take: its folder (ending in "\"), its entry and its type key.
using JunkFound = std::function<void(const std::string& folder, const FileInfo& file, const std::string& key)>;

// Hands over every file below `start` (a "\" is added when missing) that the rules take and that
// no other program holds open. Folders named like a recycle bin, ignored folders, junctions and
// symbolic links are not entered. False when the stop flag ended the walk.
bool walkJunk(WalkPorts& ports, std::string_view start, const WalkRules& rules, const JunkFound& found);

// The walk adding a row for each such file; the shell is asked for a type name and icon once
// per type key of the scan.
bool scanJunkFolders(WalkPorts& ports, std::string_view start, const WalkRules& rules, ScanResults& results);

}  // namespace quillon::cleanup
