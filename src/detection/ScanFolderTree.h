#pragma once
// The rescan of "Find changes": a folder tree into the drive snapshot's block format.
#include <cstdint>
#include <string_view>

#include "detection/FindProgress.h"
#include "detection/IgnoreList.h"
#include "platform/FileSystem.h"
#include "platform/RunContext.h"
#include "shell/TreeWalk.h"

namespace quillon::detection {

// The program's own work files and removal lists are never recorded: any name holding
// ".qdb" in any case, or ".qdf" in lower case.
bool recordsScannedFile(std::string_view name);

// Writes the blocks of `folder` (ending in "\") and of every folder below it into `out`,
// leaving out the ignored folders and everything below them. `folderCount` grows by one per
// folder entered below `folder`; the bar shows 2 at the 300th and 4 at the 600th. False when
// the stop flag ended the walk.
shell::WalkResult scanFolderTree(FileSystem& files, RunContext& run, FindProgress& progress, std::string_view folder,
                    const IgnoreList& ignore, TextWriter& out, std::uint64_t& folderCount);

}  // namespace quillon::detection
