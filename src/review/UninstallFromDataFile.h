#pragma once
// Uninstall in one step from a removal list: its files and folders, registry keys and added
// configuration lines go; what could not go is left in a list of the same name.
#include <string>
#include <string_view>

#include "review/ChangeRemoval.h"

namespace quillon::review {

inline constexpr std::string_view FailedItemsFileName = "temp.qdf";

// The list's file name without its folder and its four-character extension.
std::string programNameOf(std::string_view removalList);

// Asks first; all reporting is by message boxes.
void uninstallFromDataFile(RemovalContext& context, std::string_view removalList);

}  // namespace quillon::review
