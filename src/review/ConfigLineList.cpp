#include "review/ConfigLineList.h"

#include <string>

#include "shell/Settings.h"

namespace quillon::review {

namespace {

// Takes the entry before the first separator off the front of `list`; false when none is left.
bool takeEntry(std::string_view& list, std::string& entry) {
    const auto end = list.find(settings::ListSeparator);
    if (end == std::string_view::npos) return false;
    entry.assign(list.substr(0, end));
    list.remove_prefix(end + 1);
    return true;
}

}  // namespace

void fillConfigLineList(std::vector<LineRow>& rows, std::string_view added, std::string_view replaced) {
    LineRow row;
    while (takeEntry(added, row.added)) {
        if (!takeEntry(replaced, row.replaced)) row.replaced = " ";
        rows.push_back(row);
    }
}

}  // namespace quillon::review
