#include "detection/IgnoreList.h"

#include <algorithm>

#include "platform/TextCompare.h"
#include "shell/RecentRemovalLists.h"
#include "shell/Settings.h"

namespace quillon::detection {

IgnoreList::IgnoreList(std::string_view separated) : entries_(shell::splitList(separated)) {
    std::erase_if(entries_, [](const std::string& e) { return e.empty(); });
}

IgnoreList IgnoreList::forRun(std::string_view windowsFolder, std::string_view firstRoot,
                              std::string_view foldersToIgnore) {
    std::string text;
    const auto add = [&text](std::string_view a, std::string_view b) {
        text.append(a).append(b) += settings::ListSeparator;
    };
    add(windowsFolder, "History\\");
    add(firstRoot, "Recycled\\");
    add(firstRoot, "Recycler\\");
    for (const char* bin : {"Recycled\\", "Recycler\\"})
        for (const char drive : {'D', 'E', 'F', 'G', 'H'}) add(std::string{drive, ':', '\\'}, bin);
    text.append(foldersToIgnore);
    return IgnoreList(text);
}

bool IgnoreList::ignores(std::string_view folder) const {
    return std::any_of(entries_.begin(), entries_.end(),
                       [folder](const std::string& e) { return equalsNoCase(e, folder); });
}

}  // namespace quillon::detection
