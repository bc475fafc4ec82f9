#include "shell/FolderSize.h"

#include "shell/TreeWalk.h"

namespace quillon::shell {

namespace {

struct SizeRules final : WalkRules {
    WalkStep handOn(const std::string&, const FileInfo& file) {
        total += static_cast<double>(file.size);
        return WalkStep::Go;
    }
    double total = 0;
};

}  // namespace

double folderSize(FileSystem& files, RunContext& run, std::string_view folder) {
    SizeRules size;
    // A size is asked for while a list loads: it yields, but a stop request is not its to answer.
    const WalkOptions options{WalkOrder::LastListedFirst, YieldAt::EachListing, false, HandOn::Files};
    (void)walkTree(files, run, folder, options, size);
    return size.total;
}

}  // namespace quillon::shell
