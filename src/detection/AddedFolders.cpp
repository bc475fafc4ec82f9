#include "detection/AddedFolders.h"

#include "platform/TextCompare.h"

namespace quillon::detection {

namespace {

std::string_view pathOf(std::string_view header) {
    if (header.ends_with('{')) header.remove_suffix(1);
    return header;
}

}  // namespace

void AddedFolders::add(std::string_view header) { paths_.insert(toLowerAnsi(pathOf(header))); }

bool AddedFolders::covers(std::string_view header) const {
    if (paths_.empty()) return false;
    // One look-up per level of the path, however many folders were added.
    const std::string path = toLowerAnsi(pathOf(header));
    for (std::size_t slash = path.find('\\'); slash != std::string::npos; slash = path.find('\\', slash + 1)) {
        if (paths_.contains(path.substr(0, slash + 1))) return true;
    }
    return false;
}

}  // namespace quillon::detection
