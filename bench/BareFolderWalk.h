#pragma once
// The folder blocks of a snapshot written with nothing but FindFirstFileA/FindNextFileA and a
// buffered WriteFile: the floor the port-based walk is measured against.
#include <string>

namespace quillon::bench {

struct BareWalkOptions {
    // Also turns each entry's last-write time into local calendar time, as the port's
    // listing does for every entry, to show what that costs.
    bool convertTimes = false;
};

// False when the output could not be written in full.
bool bareFolderWalk(const std::string& folder, const std::string& outputPath, BareWalkOptions options);

}  // namespace quillon::bench
