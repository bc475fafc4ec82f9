#pragma once
// The folder walk of a drive snapshot: one block per folder, pre-order, streamed.
#include <string_view>

#include "platform/FileSystem.h"
#include "platform/RunContext.h"
#include "snapshot/UpdateProgress.h"

namespace quillon::snapshot {

// What a walk leaves out beyond the one folder rule. The drive snapshot leaves out nothing;
// a rescan leaves out its ignore list and the program's own files, and counts folders.
class WalkFilter {
public:
    virtual ~WalkFilter() = default;
    // A sub-folder that passed the folder rule; `folder` is its full path ending in "\".
    // Called once per folder, in listing order, so a filter may count the ones it lets in.
    virtual bool entersFolder(std::string_view folder) = 0;
    virtual bool recordsFile(std::string_view name) const = 0;
};

// Writes the blocks of `folder` (ending in "\") and of every folder below it into `out`.
// False when the stop flag ended the walk. A failed write also ends it early, with true: the
// failure sticks in `out`, whose close() the caller checks anyway.
bool walkFolderTree(FileSystem& files, RunContext& run, UpdateProgress& progress, std::string_view folder,
                    TextWriter& out, WalkFilter& filter);
// The same, leaving out nothing.
bool walkFolderTree(FileSystem& files, RunContext& run, UpdateProgress& progress, std::string_view folder,
                    TextWriter& out);

}  // namespace quillon::snapshot
