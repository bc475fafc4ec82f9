#pragma once
// The saved removal lists kept in the setting SavedForDeletion: full paths, each followed by
// the list separator, oldest first.
#include <string>
#include <string_view>
#include <vector>

#include "platform/Registry.h"

namespace quillon::review {

// Every list path it holds, oldest first.
std::vector<std::string> savedForDeletionLists(Registry& registry);
// Appends `path` and the separator, even when already present.
void addSavedForDeletion(Registry& registry, std::string_view path);
// Takes one whole entry equal to `path` (no case) out; nothing written when absent.
void removeSavedForDeletion(Registry& registry, std::string_view path);

}  // namespace quillon::review
