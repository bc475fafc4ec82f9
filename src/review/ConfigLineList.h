#pragma once
#include <string_view>
#include <vector>

#include "review/ChangeSet.h"

namespace quillon::review {

// One row per entry of `added` (entries each followed by the list separator; text after the
// last separator is not an entry), paired with the entry at the same place of `replaced`.
// An added entry with no replaced entry left pairs with " ", the text of "replaced none".
void fillConfigLineList(std::vector<LineRow>& rows, std::string_view added, std::string_view replaced);

}  // namespace quillon::review
