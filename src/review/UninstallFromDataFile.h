#pragma once
// Uninstall in one step from a removal list: its files and folders, registry keys and added
// configuration lines go; what could not go is left in a list of the same name.
#include <string>
#include <string_view>

#include "review/ChangeRemoval.h"
#include "review/UninstallPreview.h"

namespace quillon::review {

inline constexpr std::string_view FailedItemsFileName = "temp.qdf";

// The list's file name without its folder and its four-character extension.
std::string programNameOf(std::string_view removalList);

// Shows the preview first and removes only what the user ticked there; all reporting is by
// message boxes. From the command line shared and changed entries always stay.
void uninstallFromDataFile(RemovalContext& context, PreviewPrompt& prompt, std::string_view removalList,
                           bool fromCommandLine);

}  // namespace quillon::review
