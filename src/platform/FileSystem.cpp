#include "platform/FileSystem.h"

namespace quillon {

bool existsWith(FileSystem& fs, std::string_view path, std::uint32_t mask) {
    FileInfo info;
    if (!succeeded(fs.info(path, info))) return false;
    constexpr std::uint32_t filtered = FileAttr::Hidden | FileAttr::System | FileAttr::Directory;
    return (info.attributes & filtered & ~mask) == 0;
}

Status replaceWithWorkCopy(FileSystem& fs, std::string_view workCopy, std::string_view target,
                           std::uint32_t attributesAfter) {
    FileInfo before;
    const bool known = succeeded(fs.info(target, before));
    fs.setAttributes(target, FileAttr::Normal);
    if (const Status s = fs.moveFile(workCopy, target, true); !succeeded(s)) {
        if (known) fs.setAttributes(target, before.attributes);
        fs.deleteFile(workCopy);
        return s;
    }
    return fs.setAttributes(target, attributesAfter);
}

}  // namespace quillon
