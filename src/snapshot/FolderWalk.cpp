#include "snapshot/FolderWalk.h"

#include <string>

namespace quillon::snapshot {

namespace {

// The filter's type is known here, so the default walk calls it without virtual dispatch.
template <typename Filter>
class BlockRules final : public shell::WalkRules {
public:
    BlockRules(UpdateProgress& progress, Filter& filter, TextWriter& out)
        : progress_(progress), filter_(filter), out_(out) {}

    shell::WalkStep openFolder(const std::string& folder) {
        progress_.showFolder(folder);
        line_.assign(folder) += '{';
        return written(out_.writeLine(line_));
    }
    shell::WalkStep handOn(const std::string&, const FileInfo& entry) {
        if (!filter_.recordsFile(entry.name)) return shell::WalkStep::Go;
        return written(out_.writeLine(entry.name));
    }
    bool entersFolder(const std::string& subFolder, const FileInfo& entry) {
        return !entry.name.starts_with('.') && filter_.entersFolder(subFolder);
    }
    bool goesOnAfter(const shell::ListingFailure& failure) { return !failure.partWay; }
    shell::WalkStep closeFolder(const std::string&) { return written(out_.writeLine("}")); }

private:
    static shell::WalkStep written(Status s) { return succeeded(s) ? shell::WalkStep::Go : shell::WalkStep::End; }

    UpdateProgress& progress_;
    Filter& filter_;
    TextWriter& out_;
    std::string line_;
};

class KeepEverything final : public WalkFilter {
public:
    bool entersFolder(std::string_view) override { return true; }
    bool recordsFile(std::string_view) const override { return true; }
};

constexpr shell::WalkOptions SnapshotWalk{shell::WalkOrder::ListingOrder, shell::YieldAt::EachFolder, true,
                                          shell::HandOn::Files};

template <typename Filter>
shell::WalkResult walkBlocks(FileSystem& files, RunContext& run, UpdateProgress& progress, std::string_view folder,
                             TextWriter& out, Filter& filter) {
    BlockRules<Filter> rules(progress, filter, out);
    shell::WalkResult result = shell::walkTree(files, run, folder, SnapshotWalk, rules);
    // A failed write stays in `out` for the caller's close().
    if (result.end == shell::WalkEnd::Ended) result.end = shell::WalkEnd::Completed;
    return result;
}

}  // namespace

shell::WalkResult walkFolderTree(FileSystem& files, RunContext& run, UpdateProgress& progress, std::string_view folder,
                                 TextWriter& out) {
    KeepEverything everything;
    return walkBlocks(files, run, progress, folder, out, everything);
}

shell::WalkResult walkFolderTree(FileSystem& files, RunContext& run, UpdateProgress& progress, std::string_view folder,
                                 TextWriter& out, WalkFilter& filter) {
    return walkBlocks(files, run, progress, folder, out, filter);
}

}  // namespace quillon::snapshot
