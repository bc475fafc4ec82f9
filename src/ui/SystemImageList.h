#pragma once
// The shell's own list of small icons: the pictures behind the icon indices the shell gives
// for paths. It belongs to the system, so a list showing it must never destroy it
// (LVS_SHAREIMAGELISTS, as every list of Layout.h has).
#include <windows.h>
#include <commctrl.h>

namespace quillon::ui {

// Null when the shell has none.
HIMAGELIST systemSmallImages() noexcept;

// The closed-folder picture in that list, -1 when the shell has none.
int closedFolderImage() noexcept;

}  // namespace quillon::ui
