#pragma once
// The folder walk of a drive snapshot: one block per folder, pre-order, streamed.
#include <string_view>

#include "platform/FileSystem.h"
#include "platform/RunContext.h"
#include "snapshot/UpdateProgress.h"

namespace quillon::snapshot {

// Writes the blocks of `folder` (ending in "\") and of every folder below it into `out`.
// False when the stop flag ended the walk. A failed write also ends it early, with true: the
// failure sticks in `out`, whose close() the caller checks anyway.
bool walkFolderTree(FileSystem& files, RunContext& run, UpdateProgress& progress, std::string_view folder,
                    TextWriter& out);

}  // namespace quillon::snapshot
