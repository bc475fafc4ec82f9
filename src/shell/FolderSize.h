#pragma once
#include <string_view>

#include "platform/FileSystem.h"
#include "platform/RunContext.h"

namespace quillon::shell {

// Total size in bytes of every file below the folder; 0 for a folder that cannot be read.
// Linked folders (junctions, symbolic links) are not entered: they would count their
// target twice or loop for ever. A listing that breaks off counts what it gave.
double folderSize(FileSystem& files, RunContext& run, std::string_view folder);

}  // namespace quillon::shell
