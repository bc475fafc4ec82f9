#pragma once
// The work files of the file side of a find-changes run, and their merging.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include <optional>

#include "platform/FileFault.h"
#include "platform/FileSystem.h"

namespace quillon::detection {

// Folders end in "\".
std::string currentScanPath(std::string_view workFolder);                   // "current.qdb"
std::string driveScanPath(std::string_view workFolder, std::size_t drive);  // "0current.qdb", ...
std::string mergedSnapshotPath(std::string_view workFolder);                // "dbase.qdb"
std::string changesPath(std::string_view workFolder);                       // "changes.qdb"
std::string configChangesPath(std::string_view workFolder);                 // "sysChanges.qdb"

// Writes `target` afresh with the lines of each source in order (a single source copied whole,
// which reads the same). A source that cannot be read in full is a fault like a target that
// cannot be written: the merge would stand for less than its sources hold. The target is then
// left for the caller to delete.
[[nodiscard]] std::optional<FileFault> mergeFiles(FileSystem& files, const std::vector<std::string>& sources,
                                                  std::string_view target);

// "current.qdb" from the per-drive scan files 0 to count - 1.
[[nodiscard]] std::optional<FileFault> mergeDriveScans(FileSystem& files, std::string_view workFolder,
                                                       std::size_t count);

// "dbase.qdb" of the work folder from the drive snapshots of `drives` ("C:") in the data folder.
[[nodiscard]] std::optional<FileFault> mergeDriveSnapshots(FileSystem& files, std::string_view dataFolder,
                                                           std::string_view workFolder,
                                                           const std::vector<std::string>& drives);

}  // namespace quillon::detection
