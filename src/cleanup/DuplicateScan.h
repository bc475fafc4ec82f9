#pragma once
// "Scan for duplicate files": files that occur under the same name in more than one folder of a
// drive. Each drive is walked into a work file, then the pairs are found in two reads of it:
// each later file is paired with the first folder, in walk order, that holds its name.
#include <string>
#include <string_view>

#include "cleanup/ScanJunkFolders.h"

namespace quillon::cleanup {

struct DuplicateOptions {
    std::string named = "*.*";   // the Named filter
    std::string containing;      // the later file must hold this text; empty: any
    bool sameDateTime = true;
    bool sameSize = true;
    bool skipZeroLength = true;
    bool skipSysbckup = true;
};

// The Named filter: "name.type", each part matched as a part of the file's base and type (a
// whole "*" takes any); a file without a full stop takes part only by its whole name.
bool passesNamedFilter(std::string_view named, std::string_view fileName);

struct DuplicateFolders {
    std::string work;     // where the work file goes, ending in "\"
    std::string windows;  // the Windows folder, ending in "\"
};

enum class DuplicateOutcome { Completed, Stopped, WorkFileFailed };

// The name of the work file in the work folder; it is gone when the scan returns.
inline constexpr std::string_view DuplicateWorkFile = "duplicate1.qdb";

// Searches each drive of the token ("C:" or "C:,D:") on its own; files on different drives are
// never compared. WorkFileFailed when the work file could not be written or read in full: the
// scan then lists nothing more.
DuplicateOutcome scanDuplicates(WalkPorts& ports, const DuplicateOptions& options, const DuplicateFolders& folders,
                                std::string_view driveToken, ScanResults& results);

}  // namespace quillon::cleanup
