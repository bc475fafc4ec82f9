#pragma once
// Which folders a rescan walks, by the ScanMode setting, and into which scan file.
#include <string>
#include <string_view>
#include <vector>

namespace quillon::detection {

struct ScanPlan {
    // One entry per scan file, numbered from 0 ("0current.qdb", ...): the folders walked into
    // it, in order, each ending in "\".
    std::vector<std::vector<std::string>> scanFiles;
    // Only a walk of whole drives may replace the drive snapshots.
    bool coversWholeDrives = false;
};

// `drives`: the selected drives ("C:"), in list order, at least one. `windowsFolder` and
// `programFilesFolder` end in "\".
ScanPlan planScan(std::string_view scanMode, const std::vector<std::string>& drives,
                  std::string_view windowsFolder, std::string_view programFilesFolder);

}  // namespace quillon::detection
