#include "snapshot/FolderRule.h"

#include "shell/FolderSize.h"

namespace quillon::snapshot {

bool walksIntoFolder(const FileInfo& entry) {
    return shell::isWalkableFolder(entry) && !entry.name.starts_with('.');
}

}  // namespace quillon::snapshot
