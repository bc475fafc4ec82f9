#pragma once
// The clean-up window's settings under the Sys Clean key: the junk-type boxes, the folder
// boxes, the duplicate options and the two "Also scan" lists.
#include <array>
#include <string>
#include <vector>

#include "cleanup/JunkTypes.h"
#include "platform/Registry.h"
#include "platform/Status.h"

namespace quillon::cleanup {

struct CleanUpSettings {
    CleanUpSettings();

    std::array<bool, JunkTypes.size()> types{};  // in the order of JunkTypes
    bool tempFolder = true;
    bool cacheFolder = true;
    bool recycleBin = true;
    bool skipZeroLength = true;
    bool skipSysbckup = true;
    bool sameSize = true;
    bool sameDateTime = true;
    std::vector<std::string> alsoFiles;    // "*.ext"
    std::vector<std::string> alsoFolders;  // without a trailing "\"
};

// What the boxes show: a value "0" unchecks a box, a missing or other value leaves it checked;
// the MSCREATE.DIR box is checked only by "1". A key that cannot be opened gives the defaults.
CleanUpSettings readCleanUpSettings(Registry& registry);
// Creates the key when it is missing; the first failure, or Ok.
Status writeCleanUpSettings(Registry& registry, const CleanUpSettings& settings);

// The checked junk types' patterns, then one "|.ext|" per "Also scan" file type.
std::string patternList(const CleanUpSettings& settings);

}  // namespace quillon::cleanup
