#include "detection/IgnoreList.h"

#include <string>

#include "shell/Settings.h"

namespace quillon::detection {

IgnoreList runIgnoreList(std::string_view windowsFolder, std::string_view firstRoot, std::string_view foldersToIgnore) {
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

}  // namespace quillon::detection
