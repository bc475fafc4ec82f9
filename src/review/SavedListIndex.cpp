#include "review/SavedListIndex.h"

#include <algorithm>

#include "platform/TextCompare.h"
#include "shell/RemovalGuard.h"
#include "review/SavedForDeletion.h"

namespace quillon::review {
namespace {

std::string folded(std::string_view text) {
    while (text.ends_with('\\')) text.remove_suffix(1);
    return toLowerAnsi(text);
}

// One spelling per key whichever way a list wrote its hive; empty for a hive no list may name.
std::string keyClaim(std::string_view entry) {
    const shell::KeyEntry key = shell::parseKeyEntry(entry);
    if (!key.knownHive) return {};
    return folded((key.hive == Hive::CurrentUser ? "hkcu\\" : "hklm\\") + key.path);
}

std::string valueClaim(std::string_view keyEntry, std::string_view name) {
    const std::string key = keyClaim(keyEntry);
    return key.empty() ? key : key + '\t' + toLowerAnsi(name);
}

}  // namespace

void SavedListIndex::readSaved(FileSystem& files, RunContext& run, Registry& registry, std::string_view except) {
    for (const std::string& path : savedForDeletionLists(registry)) {
        RemovalListContents list;
        if (!equalsNoCase(path, except) && readRemovalList(files, run, path, list)) add(path, list);
    }
    sort();
}

void SavedListIndex::add(std::string_view listPath, const RemovalListContents& list) {
    const auto at = static_cast<std::uint32_t>(lists_.size());
    lists_.emplace_back(listPath);
    for (const std::string& path : list.paths) paths_.emplace_back(folded(path), at);
    for (const std::string& key : list.keys)
        if (std::string claim = keyClaim(key); !claim.empty()) registry_.emplace_back(std::move(claim), at);
    for (const auto& [entry, row] : list.values)
        if (std::string claim = valueClaim(row.key, row.name); !claim.empty()) registry_.emplace_back(std::move(claim), at);
    sort();
}

void SavedListIndex::sort() {
    std::ranges::sort(paths_);
    std::ranges::sort(registry_);
}

// The item itself, or a claim that continues it with one of `separators`.
std::string SavedListIndex::claimAtOrBelow(const Claims& claims, const std::string& item,
                                           std::string_view separators) const {
    if (item.empty()) return {};
    const auto first = [&](const std::string& from) {
        return std::ranges::lower_bound(claims, from, {}, &Claims::value_type::first);
    };
    if (const auto at = first(item); at != claims.end() && at->first == item) return lists_[at->second];
    for (const char separator : separators) {
        const std::string below = item + separator;
        if (const auto at = first(below); at != claims.end() && at->first.starts_with(below)) return lists_[at->second];
    }
    return {};
}

std::string SavedListIndex::claimOfPath(std::string_view path) const { return claimAtOrBelow(paths_, folded(path), "\\"); }

std::string SavedListIndex::claimOfKey(std::string_view keyEntry) const {
    return claimAtOrBelow(registry_, keyClaim(keyEntry), "\\\t");
}

std::string SavedListIndex::claimOfValue(std::string_view keyEntry, std::string_view name) const {
    return claimAtOrBelow(registry_, valueClaim(keyEntry, name), "");
}

}  // namespace quillon::review
