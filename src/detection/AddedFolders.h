#pragma once
// The folders found new in this run: everything below one of them is already reported by
// its record.
#include <string>
#include <string_view>
#include <unordered_set>

namespace quillon::detection {

class AddedFolders {
public:
    // `header`: the folder's header line, its path with "\" and then "{".
    void add(std::string_view header);
    // The header's folder is an added folder or lies below one: the added path, with its
    // trailing "\", begins the header's path (without regard to case). "C:\NewApp\" thus
    // covers "C:\NewApp\Data\{" but not "C:\NewApp2\{".
    bool covers(std::string_view header) const;

private:
    std::unordered_set<std::string> paths_;  // case-folded, each ending in "\"
};

}  // namespace quillon::detection
