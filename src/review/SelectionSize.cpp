#include "review/SelectionSize.h"

#include "shell/FolderSize.h"
#include "shell/Folders.h"

namespace quillon::review {

double selectionSize(FileSystem& files, RunContext& run, const std::vector<FileRow>& rows,
                     const std::vector<std::size_t>& selected) {
    double total = 0;
    for (const std::size_t index : selected) {
        if (index >= rows.size()) continue;
        const std::string path = rows[index].fullPath();
        if (shell::folderExists(files, path)) {
            total += shell::folderSize(files, run, path);
            continue;
        }
        FileInfo info;
        if (succeeded(files.info(path, info))) total += static_cast<double>(info.size);
    }
    return total;
}

}  // namespace quillon::review
