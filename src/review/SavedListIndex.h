#pragma once
// The claims of the other programs' saved removal lists (SavedForDeletion): which of them names
// an item, or something below it, that an uninstall is about to remove. Built once per
// uninstall, so the preview looks each entry up instead of reading every list for it.
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/Registry.h"
#include "review/RemovalListRead.h"

namespace quillon::review {

class SavedListIndex {
public:
    // Every list of SavedForDeletion but `except` (no case). A list that cannot be read claims
    // nothing: it could not be uninstalled either.
    void readSaved(FileSystem& files, RunContext& run, Registry& registry, std::string_view except);
    void add(std::string_view listPath, const RemovalListContents& list);

    // The path of a list naming the file or folder, or a file or folder inside it; empty when none.
    std::string claimOfPath(std::string_view path) const;
    // The same for a key entry ("HKEY_CURRENT_USER\Software\App"): the key, a key below it or a value of either.
    std::string claimOfKey(std::string_view keyEntry) const;
    // A list naming the same value of the same key.
    std::string claimOfValue(std::string_view keyEntry, std::string_view name) const;

private:
    using Claims = std::vector<std::pair<std::string, std::uint32_t>>;  // folded item, list
    void sort();
    std::string claimAtOrBelow(const Claims& claims, const std::string& item, std::string_view separators) const;

    std::vector<std::string> lists_;
    Claims paths_;
    Claims registry_;  // keys, and values as key + "\t" + name
};

}  // namespace quillon::review
