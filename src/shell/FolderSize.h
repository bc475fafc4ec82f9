#pragma once
#include <string_view>

#include "platform/FileSystem.h"
#include "platform/RunContext.h"

namespace quillon::shell {

// Total size in bytes of every file below the folder; 0 for a folder that cannot be read.
// Linked folders (junctions, symbolic links) are not entered: they would count their
// target twice or loop for ever.
double folderSize(FileSystem& files, RunContext& run, std::string_view folder);

// A folder the walks do not enter: "." and "..", and junctions or symbolic links.
bool isWalkableFolder(const FileInfo& entry);

}  // namespace quillon::shell
