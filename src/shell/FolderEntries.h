#pragma once
// The entries of one folder, through the one walk's rules (no dots, short names for what the
// code page cannot carry), without going below it.
#include <string_view>

#include "shell/TreeWalk.h"

namespace quillon::shell {

// Every entry, files and folders, links included (handed on, never entered). `take` gets the
// FileInfo; the result tells whether the listing ended normally.
template <typename Take>
WalkResult listFolder(FileSystem& files, RunContext& run, std::string_view folder, Take take) {
    struct Rules : WalkRules {
        Take& take;
        explicit Rules(Take& t) : take(t) {}
        WalkStep handOn(const std::string&, const FileInfo& entry) {
            take(entry);
            return WalkStep::Go;
        }
        bool entersFolder(const std::string&, const FileInfo&) { return false; }
    } rules(take);
    const WalkOptions options{WalkOrder::ListingOrder, YieldAt::EachEntry, false,
                              HandOn::Files | HandOn::Folders | HandOn::LinkedFolders};
    return walkTree(files, run, folder, options, rules);
}

}  // namespace quillon::shell
