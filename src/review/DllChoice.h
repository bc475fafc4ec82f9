#pragma once
// Turns the items about to be deleted into the list handed to the shell: a DLL or OCX that
// other programs may share stays out unless the user agrees.
#include <string>
#include <string_view>
#include <vector>

#include "platform/Registry.h"
#include "review/InUsePrompt.h"

namespace quillon::review {

// ".dll" or ".ocx" anywhere in the path, without regard to case.
bool looksLikeDll(std::string_view path);

// The candidates to delete, in order. "Delete All" lasts until the end of this one call.
std::vector<std::string> chooseDeletions(Registry& registry, InUsePrompt& prompt,
                                         const std::vector<std::string>& candidates);

}  // namespace quillon::review
