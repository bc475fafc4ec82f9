#pragma once
// The folders a walk does not enter: a find-changes rescan's and a junk scan's.
#include <string>
#include <string_view>
#include <vector>

namespace quillon::shell {

class IgnoreList {
public:
    IgnoreList() = default;
    // `separated`: folder paths each ending in "\" and followed by the list separator.
    explicit IgnoreList(std::string_view separated);

    // `folder` ends in "\". Every entry counts, not only the first that mentions the folder:
    // "C:\Windows\History2\" listed first must not let "C:\Windows\History\" in. An entry
    // without its trailing "\" matches no folder.
    bool ignores(std::string_view folder) const;

    const std::vector<std::string>& entries() const { return entries_; }

private:
    std::vector<std::string> entries_;
};

}  // namespace quillon::shell
