#include "ui/SystemImageList.h"

#include <shellapi.h>

namespace quillon::ui {

namespace {

// The attributes alone decide the picture: no file of that name needs to exist.
DWORD_PTR askForFolder(SHFILEINFOW& info) noexcept {
    return SHGetFileInfoW(L"folder", FILE_ATTRIBUTE_DIRECTORY, &info, sizeof info,
                          SHGFI_USEFILEATTRIBUTES | SHGFI_SYSICONINDEX | SHGFI_SMALLICON);
}

}  // namespace

HIMAGELIST systemSmallImages() noexcept {
    SHFILEINFOW info{};
    return reinterpret_cast<HIMAGELIST>(askForFolder(info));
}

int closedFolderImage() noexcept {
    SHFILEINFOW info{};
    return askForFolder(info) != 0 ? info.iIcon : -1;
}

}  // namespace quillon::ui
