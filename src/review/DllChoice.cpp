#include "review/DllChoice.h"

#include "platform/TextCompare.h"
#include "review/SharedDll.h"

namespace quillon::review {

bool looksLikeDll(std::string_view path) {
    return findNoCase(path, ".dll") != std::string_view::npos || findNoCase(path, ".ocx") != std::string_view::npos;
}

std::vector<std::string> chooseDeletions(Registry& registry, InUsePrompt& prompt,
                                         const std::vector<std::string>& candidates) {
    std::vector<std::string> chosen;
    bool deleteAll = false;
    for (const auto& path : candidates) {
        if (!looksLikeDll(path) || deleteAll || !isSharedDll(registry, path)) {
            chosen.push_back(path);
            continue;
        }
        const InUseAnswer answer = prompt.ask(path);
        if (answer == InUseAnswer::Skip) continue;
        deleteAll = answer == InUseAnswer::DeleteAll;
        chosen.push_back(path);
    }
    return chosen;
}

}  // namespace quillon::review
