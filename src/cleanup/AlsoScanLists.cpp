#include "cleanup/AlsoScanLists.h"

#include <algorithm>

#include "platform/TextCompare.h"

namespace quillon::cleanup {

namespace {

// `inner` is `outer` or a folder below it. A plain substring test would let "C:\Data" hold
// "C:\Database".
bool holds(std::string_view outer, std::string_view inner) {
    if (!startsWithNoCase(inner, outer)) return false;
    return inner.size() == outer.size() || inner[outer.size()] == '\\';
}

}  // namespace

std::optional<std::string> fileTypeRow(std::string_view answer) {
    if (const std::size_t dot = answer.find('.'); dot != std::string_view::npos) answer.remove_prefix(dot + 1);
    if (answer.size() != 4) answer = answer.substr(0, 3);
    if (answer.empty()) return std::nullopt;
    return "*." + std::string(answer);
}

bool addFileType(std::vector<std::string>& rows, std::string_view answer) {
    const std::optional<std::string> row = fileTypeRow(answer);
    if (!row) return false;
    if (std::any_of(rows.begin(), rows.end(), [&](const std::string& r) { return equalsNoCase(r, *row); }))
        return false;
    rows.push_back(*row);
    return true;
}

bool addFolder(std::vector<std::string>& rows, std::string_view chosen) {
    if (chosen.empty() || chosen.size() == 3) return false;
    if (std::any_of(rows.begin(), rows.end(), [&](const std::string& r) { return holds(r, chosen); })) return false;
    // Every listed folder inside the chosen one goes, or its files would be listed twice.
    std::erase_if(rows, [&](const std::string& r) { return holds(chosen, r); });
    rows.emplace_back(chosen);
    return true;
}

}  // namespace quillon::cleanup
