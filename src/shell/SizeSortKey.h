#pragma once
#include <string>
#include <string_view>

namespace quillon::shell {

// The hidden text a list sorts its Size column by: the size in KB, nine digits with
// leading zeros ("12MB" gives "000012288"), so that text order is size order. Longer numbers
// keep their last nine digits.
std::string sizeSortKey(std::string_view sizeText);

}  // namespace quillon::shell
