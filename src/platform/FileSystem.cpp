#include "platform/FileSystem.h"

namespace quillon {

bool existsWith(FileSystem& fs, std::string_view path, std::uint32_t mask) {
    FileInfo info;
    if (!succeeded(fs.info(path, info))) return false;
    constexpr std::uint32_t filtered = FileAttr::Hidden | FileAttr::System | FileAttr::Directory;
    return (info.attributes & filtered & ~mask) == 0;
}

}  // namespace quillon
