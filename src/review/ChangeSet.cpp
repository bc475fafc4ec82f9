#include "review/ChangeSet.h"

namespace quillon::review {

std::size_t countSelectedChanges(const Selection& selection) {
    std::size_t count = selection.files.size() + selection.keys.size();
    for (const auto& lines : selection.lines) count += lines.size();
    count += selection.values.size();
    return count;
}

}  // namespace quillon::review
