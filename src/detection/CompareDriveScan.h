#pragma once
// The file half of the comparison: the merged rescan against the merged drive snapshots.
#include <string>
#include <string_view>
#include <vector>

#include "detection/FindProgress.h"
#include "detection/StepEnd.h"
#include "platform/FileSystem.h"
#include "platform/RunContext.h"

namespace quillon::detection {

// Reads "current.qdb" of the work folder, merges the snapshots of `drives` ("C:") from the
// data folder into "dbase.qdb" there, writes "changes.qdb" and deletes the other two. A file
// that cannot be read or written in full (a snapshot too: a missing one would make every
// folder of its drive new) ends it with that fault. Unless completed, the files are closed
// and left for the run to delete.
[[nodiscard]] StepEnd compareDriveScan(FileSystem& files, RunContext& run, FindProgress& progress,
                                       std::string_view workFolder, std::string_view dataFolder,
                                       const std::vector<std::string>& drives);

}  // namespace quillon::detection
