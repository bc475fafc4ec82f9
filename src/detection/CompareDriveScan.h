#pragma once
// The file half of the comparison: the merged rescan against the merged drive snapshots.
#include <string>
#include <string_view>
#include <vector>

#include "detection/FindProgress.h"
#include "platform/FileSystem.h"
#include "platform/RunContext.h"

namespace quillon::detection {

// Reads "current.qdb" of the work folder, merges the snapshots of `drives` ("C:") from the
// data folder into "dbase.qdb" there, writes "changes.qdb" and deletes the other two. A
// missing file counts as empty. False when the stop flag ended it: the files are then
// closed and left for the run to delete.
bool compareDriveScan(FileSystem& files, RunContext& run, FindProgress& progress, std::string_view workFolder,
                      std::string_view dataFolder, const std::vector<std::string>& drives);

}  // namespace quillon::detection
