#include "cleanup/ScanJunkFolders.h"

#include <memory>
#include <string>
#include <vector>

#include "platform/TextCompare.h"
#include "shell/FileRemoval.h"
#include "shell/FolderSize.h"
#include "shell/Folders.h"

namespace quillon::cleanup {

namespace {

bool entersFolder(const FileInfo& entry) {
    return shell::isWalkableFolder(entry) && findNoCase(entry.name, "recycled") == std::string::npos;
}

}  // namespace

bool scanJunkFolders(WalkPorts& ports, std::string_view start, const WalkRules& rules, ScanResults& results) {
    return walkJunk(ports, start, rules, [&](const std::string& folder, const FileInfo& file, const std::string& key) {
        const std::uint32_t type = askType(ports.shell, results, key, folder + file.name);
        results.add({file.name, folder, static_cast<double>(file.size), type});
    });
}

bool walkJunk(WalkPorts& ports, std::string_view start, const WalkRules& rules, const JunkFound& found) {
    // Sub-folders go on top as they are listed, so the one listed last is walked first.
    std::vector<std::string> pending{shell::withBackslash(start)};
    while (!pending.empty()) {
        const std::string folder = std::move(pending.back());
        pending.pop_back();
        if (rules.ignore.ignores(folder)) continue;
        ports.progress.showFolder(folder);
        std::unique_ptr<DirectoryListing> listing;
        if (!succeeded(ports.files.list(folder + "*.*", listing))) continue;
        FileInfo entry;
        while (listing->next(entry)) {
            if (entry.name == "." || entry.name == "..") continue;
            if (entry.attributes & FileAttr::Directory) {
                if (entersFolder(entry)) pending.push_back(folder + entry.name + "\\");
            } else {
                const std::string key = typeKey(entry.name, entry.lastWrite, rules.dates);
                if (listsType(rules.patternList, key) && !shell::fileInUse(ports.files, folder + entry.name))
                    found(folder, entry, key);
            }
            ports.run.yield();
            if (ports.run.stopRequested()) return false;
        }
    }
    return true;
}

}  // namespace quillon::cleanup
