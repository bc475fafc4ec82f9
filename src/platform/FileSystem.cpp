#include "platform/FileSystem.h"

namespace quillon {

bool existsWith(FileSystem& fs, std::string_view path, std::uint32_t mask) {
    FileInfo info;
    if (!succeeded(fs.info(path, info))) return false;
    constexpr std::uint32_t filtered = FileAttr::Hidden | FileAttr::System | FileAttr::Directory;
    return (info.attributes & filtered & ~mask) == 0;
}

Status replaceWithWorkCopy(FileSystem& fs, std::string_view workCopy, std::string_view target,
                           std::optional<std::uint32_t> attributesAfter) {
    FileInfo before;
    const bool known = succeeded(fs.info(target, before));
    static_cast<void>(fs.setAttributes(target, FileAttr::Normal));  // best effort: the attributes are not what the data depends on
    if (const Status s = fs.moveFile(workCopy, target, true); !succeeded(s)) {
        if (known) static_cast<void>(fs.setAttributes(target, before.attributes));  // best effort: the attributes are not what the data depends on
        removeLeftover(fs, workCopy);
        return s;
    }
    if (!attributesAfter && !known) return Status::Ok;
    return fs.setAttributes(target, attributesAfter.value_or(before.attributes));
}

void removeLeftover(FileSystem& fs, std::string_view path) { static_cast<void>(fs.deleteFile(path)); }

}  // namespace quillon
