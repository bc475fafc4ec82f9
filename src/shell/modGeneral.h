#pragma once
// The shared folder, size, deletion and move routines of both programs.
#include <cstddef>
#include <string_view>

#include "platform/Shell.h"
#include "shell/FileRemoval.h"
#include "shell/FolderSize.h"
#include "shell/Folders.h"
#include "shell/FormatSize.h"

namespace quillon::shell {

// Position (from 1) of the last occurrence of part in text, ignoring case; 0 when none.
std::size_t lastPosition(std::string_view text, std::string_view part);

// The shell's "open" verb on a path, started in the work folder.
Status openWithAssociatedProgram(Shell& shell, std::string_view path, std::string_view workFolder,
                                 WindowRef owner);

}  // namespace quillon::shell
