#include "shell/IgnoreList.h"

#include <algorithm>

#include "platform/TextCompare.h"
#include "shell/RecentRemovalLists.h"

namespace quillon::shell {

IgnoreList::IgnoreList(std::string_view separated) : entries_(splitList(separated)) {
    std::erase_if(entries_, [](const std::string& e) { return e.empty(); });
}

bool IgnoreList::ignores(std::string_view folder) const {
    return std::any_of(entries_.begin(), entries_.end(),
                       [folder](const std::string& e) { return equalsNoCase(e, folder); });
}

}  // namespace quillon::shell
