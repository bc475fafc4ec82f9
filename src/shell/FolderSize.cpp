#include "shell/FolderSize.h"

#include <memory>
#include <string>
#include <vector>

#include "shell/Folders.h"

namespace quillon::shell {

bool isWalkableFolder(const FileInfo& entry) {
    return (entry.attributes & FileAttr::Directory) && !(entry.attributes & FileAttr::ReparsePoint) &&
           entry.name != "." && entry.name != "..";
}

double folderSize(FileSystem& files, RunContext& run, std::string_view folder) {
    double total = 0;
    std::vector<std::string> pending{withBackslash(folder)};
    while (!pending.empty()) {
        const std::string current = std::move(pending.back());
        pending.pop_back();
        std::unique_ptr<DirectoryListing> listing;
        if (!succeeded(files.list(current + "*", listing))) continue;
        FileInfo entry;
        while (listing->next(entry)) {
            if (entry.attributes & FileAttr::Directory) {
                if (isWalkableFolder(entry)) pending.push_back(current + entry.name + "\\");
            } else {
                total += static_cast<double>(entry.size);
            }
        }
        run.yield();
    }
    return total;
}

}  // namespace quillon::shell
