#include "snapshot/FolderWalk.h"

#include <memory>
#include <string>
#include <vector>

#include "snapshot/FolderRule.h"

namespace quillon::snapshot {

namespace {

// A folder on the current path and the sub-folders of it still to walk.
struct Level {
    std::string path;
    std::vector<std::string> subFolders;
    std::size_t next = 0;
};

// Writes the folder's block and collects its sub-folders; false when a write failed.
bool writeBlock(FileSystem& files, UpdateProgress& progress, WalkFilter& filter, Level& level, TextWriter& out) {
    progress.showStep(level.path);
    if (!succeeded(out.writeLine(level.path + "{"))) return false;
    std::unique_ptr<DirectoryListing> listing;
    if (succeeded(files.list(level.path + "*.*", listing))) {
        FileInfo entry;
        while (listing->next(entry)) {
            if (entry.attributes & FileAttr::Directory) {
                if (walksIntoFolder(entry) && filter.entersFolder(level.path + entry.name + "\\"))
                    level.subFolders.push_back(entry.name);
            } else if (filter.recordsFile(entry.name) && !succeeded(out.writeLine(entry.name))) {
                return false;
            }
        }
    }
    return succeeded(out.writeLine("}"));
}

class KeepEverything final : public WalkFilter {
public:
    bool entersFolder(std::string_view) override { return true; }
    bool recordsFile(std::string_view) const override { return true; }
};

}  // namespace

bool walkFolderTree(FileSystem& files, RunContext& run, UpdateProgress& progress, std::string_view folder,
                    TextWriter& out) {
    KeepEverything everything;
    return walkFolderTree(files, run, progress, folder, out, everything);
}

// Iterative rather than recursive: the path's levels live on the heap, so a deep tree cannot
// exhaust the thread's stack.
bool walkFolderTree(FileSystem& files, RunContext& run, UpdateProgress& progress, std::string_view folder,
                    TextWriter& out, WalkFilter& filter) {
    std::vector<Level> path;
    std::string current(folder);
    for (;;) {
        run.yield();
        if (run.stopRequested()) return false;
        Level level{std::move(current), {}, 0};
        if (!writeBlock(files, progress, filter, level, out)) return true;
        path.push_back(std::move(level));
        while (!path.empty() && path.back().next == path.back().subFolders.size()) path.pop_back();
        if (path.empty()) return true;
        Level& parent = path.back();
        current = parent.path + parent.subFolders[parent.next++] + "\\";
    }
}

}  // namespace quillon::snapshot
