#include "shell/RecentRemovalLists.h"

#include "shell/Settings.h"

namespace quillon::shell {

std::vector<std::string> splitList(std::string_view list) {
    std::vector<std::string> items;
    while (!list.empty()) {
        const auto sep = list.find(settings::ListSeparator);
        items.emplace_back(list.substr(0, sep));
        if (sep == std::string_view::npos) break;
        list.remove_prefix(sep + 1);
    }
    return items;
}

std::vector<RecentRemovalList> recentRemovalLists(FileSystem& files, std::string_view savedForDeletion) {
    constexpr std::uint32_t anyFile = FileAttr::Hidden | FileAttr::System | FileAttr::ReadOnly;
    std::vector<RecentRemovalList> shown;
    for (auto& path : splitList(savedForDeletion)) {
        if (shown.size() == MaxRecentRemovalLists) break;
        if (path.empty() || !existsWith(files, path, anyFile)) continue;
        std::string name = path.substr(path.rfind('\\') + 1);
        name.resize(name.size() >= 4 ? name.size() - 4 : 0);
        shown.push_back({std::move(path), std::move(name)});
    }
    return shown;
}

}  // namespace quillon::shell
