#pragma once
// Putting finished snapshot files into the data folder.
#include <optional>
#include <string_view>

#include "platform/FileFault.h"
#include "platform/FileSystem.h"
#include "platform/Shell.h"

namespace quillon::snapshot {

// Moves a closed work file over `destination` without asking and hides the result. True only
// when the new file is really in place; otherwise the previous file stays (hidden as before).
bool placeSnapshot(Shell& shell, FileSystem& files, std::string_view workFile, std::string_view destination);

// Copies `source` over `destination` without asking and hides the copy. When the copy fails
// (a missing source too) the destination is deleted, so that no earlier or cut-off copy stands
// in for the file, and the fault is returned.
[[nodiscard]] std::optional<FileFault> copyHidden(Shell& shell, FileSystem& files, std::string_view source,
                                                  std::string_view destination);

}  // namespace quillon::snapshot
