#pragma once
// The folders a rescan neither records nor enters.
#include <string>
#include <string_view>
#include <vector>

namespace quillon::detection {

class IgnoreList {
public:
    // `separated`: folder paths each ending in "\" and followed by the list separator.
    explicit IgnoreList(std::string_view separated);

    // A run's list: the Windows History folder, the recycle folders of the first drive and of
    // D: to H:, then the user's own (`foldersToIgnore`, stored in the same form).
    static IgnoreList forRun(std::string_view windowsFolder, std::string_view firstRoot,
                             std::string_view foldersToIgnore);

    // `folder` ends in "\". Every entry counts, not only the first that mentions the folder:
    // "C:\Windows\History2\" listed first must not let "C:\Windows\History\" in.
    bool ignores(std::string_view folder) const;

    const std::vector<std::string>& entries() const { return entries_; }

private:
    std::vector<std::string> entries_;
};

}  // namespace quillon::detection
