#pragma once
// The folder walk of a drive snapshot: one block per folder, pre-order, streamed.
#include <string_view>

#include "platform/FileSystem.h"
#include "platform/RunContext.h"
#include "shell/TreeWalk.h"
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
// The folder rule, which the snapshot and every rescan share: a folder whose name begins
// with "." is not entered (nor, as in every walk, a junction or symbolic link). A folder the
// system refuses to list gets an empty block, as it always has; a listing that breaks off
// part-way ends the walk as Failed (its folder and status in the result), since its block
// would not hold the whole folder. Stopped when the stop flag ended the walk. A failed write
// also ends it early, as Completed: the failure sticks in `out`, whose close() the caller
// checks anyway.
shell::WalkResult walkFolderTree(FileSystem& files, RunContext& run, UpdateProgress& progress, std::string_view folder,
                                 TextWriter& out, WalkFilter& filter);
// The same, leaving out nothing.
shell::WalkResult walkFolderTree(FileSystem& files, RunContext& run, UpdateProgress& progress, std::string_view folder,
                                 TextWriter& out);

}  // namespace quillon::snapshot
