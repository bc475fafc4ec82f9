#pragma once
#include <cstddef>
#include <vector>

#include "platform/FileSystem.h"
#include "platform/RunContext.h"
#include "review/ChangeSet.h"

namespace quillon::review {

// Bytes of the selected file rows as they are on disk now: the folder size of a path that is
// a folder, else the file's length (0 when it cannot be read).
double selectionSize(FileSystem& files, RunContext& run, const std::vector<FileRow>& rows,
                     const std::vector<std::size_t>& selected);

}  // namespace quillon::review
