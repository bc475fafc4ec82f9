#include "review/FolderLookup.h"

#include <algorithm>
#include <cstddef>
#include <memory>
#include <utility>

#include "platform/TextCompare.h"
#include "shell/TreeWalk.h"

namespace quillon::review {

namespace {

// A single name is cheaper asked than listed.
constexpr std::size_t FewestNamesListed = 2;
// A file question costs about as much as listing eight entries; the extra allows for the
// folder's own overhead and for "." and "..".
constexpr std::size_t EntriesPerName = 8;
constexpr std::size_t ExtraEntries = 16;

using Wanted = std::vector<std::pair<std::string, std::size_t>>;  // folded name, position

// Fills what the listing finds. True when the listing was read to its normal end, so that a
// name it did not give is gone; a listing the system broke off proves nothing of the rest.
bool fromListing(FileSystem& files, RunContext& run, std::string_view folder, const Wanted& wanted,
                 std::vector<std::optional<FileInfo>>& found) {
    std::unique_ptr<DirectoryListing> listing;
    if (!succeeded(files.list(std::string(folder) + "*", listing))) return false;
    std::size_t missing = wanted.size();
    const std::size_t budget = EntriesPerName * wanted.size() + ExtraEntries;
    FileInfo entry;
    for (std::size_t seen = 0; missing > 0; ++seen) {
        if (seen == budget) return false;
        if (!listing->next(entry)) return succeeded(listing->status());
        run.yield();
        shell::preferShortName(entry);
        const std::string key = toLowerAnsi(entry.name);
        auto match = std::lower_bound(wanted.begin(), wanted.end(), key,
                                      [](const auto& name, const std::string& k) { return name.first < k; });
        for (; match != wanted.end() && match->first == key; ++match) {
            if (found[match->second]) continue;
            found[match->second] = entry;
            --missing;
        }
    }
    return true;
}

}  // namespace

std::vector<std::optional<FileInfo>> lookUpInFolder(FileSystem& files, RunContext& run, std::string_view folder,
                                                    std::span<const std::string> names) {
    std::vector<std::optional<FileInfo>> found(names.size());
    if (names.size() >= FewestNamesListed) {
        Wanted wanted;
        wanted.reserve(names.size());
        for (std::size_t i = 0; i < names.size(); ++i) wanted.emplace_back(toLowerAnsi(names[i]), i);
        std::sort(wanted.begin(), wanted.end());
        if (fromListing(files, run, folder, wanted, found)) return found;
    }
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (found[i]) continue;
        FileInfo info;
        if (succeeded(files.info(std::string(folder) + names[i], info))) found[i] = std::move(info);
    }
    return found;
}

}  // namespace quillon::review
