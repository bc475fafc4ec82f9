#pragma once
// The "&Uninstall" menu's recent removal lists, from the saved-lists setting.
#include <string>
#include <string_view>
#include <vector>

#include "platform/FileSystem.h"

namespace quillon::shell {

struct RecentRemovalList {
    std::string path;
    std::string caption;  // file name without its ".qdf"
};

inline constexpr std::size_t MaxRecentRemovalLists = 4;

// The first four listed paths that name an existing file, in order.
std::vector<RecentRemovalList> recentRemovalLists(FileSystem& files, std::string_view savedForDeletion);

// The entries of a separator-terminated list (an unterminated last entry counts too); empty
// entries are kept so positions stay as stored.
std::vector<std::string> splitList(std::string_view list);

}  // namespace quillon::shell
