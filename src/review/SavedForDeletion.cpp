#include "review/SavedForDeletion.h"

#include <string>

#include "platform/TextCompare.h"
#include "shell/RecentRemovalLists.h"
#include "shell/Settings.h"
#include "shell/modRegistry.h"

namespace quillon::review {
namespace {

std::string savedLists(Registry& registry) {
    auto key = shell::openKey(registry, Hive::CurrentUser, settings::GeneralKey);
    return shell::queryValue(key.get(), settings::general::SavedForDeletion);
}

void storeSavedLists(Registry& registry, std::string_view lists) {
    auto key = shell::createKey(registry, Hive::CurrentUser, settings::GeneralKey);
    shell::storeSetting(key.get(), settings::general::SavedForDeletion, lists);
}

}  // namespace

std::vector<std::string> savedForDeletionLists(Registry& registry) {
    std::vector<std::string> lists = shell::splitList(savedLists(registry));
    std::erase(lists, std::string());
    return lists;
}

void addSavedForDeletion(Registry& registry, std::string_view path) {
    std::string lists = savedLists(registry);
    lists.append(path) += settings::ListSeparator;
    storeSavedLists(registry, lists);
}

void removeSavedForDeletion(Registry& registry, std::string_view path) {
    std::string lists = savedLists(registry);
    // Whole entries only: a path that is the start of a longer one (a.qdf in a.qdf.bak) must
    // not cut that one apart.
    std::size_t start = 0;
    while (start < lists.size()) {
        const std::size_t end = lists.find(settings::ListSeparator, start);
        if (end == std::string::npos) return;  // an unterminated tail is no whole entry
        if (equalsNoCase(std::string_view(lists).substr(start, end - start), path)) {
            lists.erase(start, end - start + 1);
            storeSavedLists(registry, lists);
            return;
        }
        start = end + 1;
    }
}

}  // namespace quillon::review
