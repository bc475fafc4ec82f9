#include "review/SelectionSize.h"

#include <map>
#include <string>
#include <utility>

#include "review/FolderLookup.h"
#include "shell/FolderSize.h"

namespace quillon::review {

double selectionSize(FileSystem& files, RunContext& run, const std::vector<FileRow>& rows,
                     const std::vector<std::size_t>& selected) {
    // The names by folder, copied: sizing lets messages through, which may change the rows.
    std::map<std::string, std::vector<std::string>> byFolder;
    for (const std::size_t index : selected) {
        if (index < rows.size()) byFolder[rows[index].folder].push_back(rows[index].name);
    }
    double total = 0;
    for (const auto& [folder, names] : byFolder) {
        const std::vector<std::optional<FileInfo>> found = lookUpInFolder(files, run, folder, names);
        for (std::size_t i = 0; i < names.size(); ++i) {
            if (!found[i]) continue;
            if (found[i]->attributes & FileAttr::Directory) {
                total += shell::folderSize(files, run, folder + names[i]);
            } else {
                total += static_cast<double>(found[i]->size);
            }
        }
    }
    return total;
}

}  // namespace quillon::review
