#include "detection/ScanFolderTree.h"

#include "platform/TextCompare.h"
#include "snapshot/FolderWalk.h"

namespace quillon::detection {

namespace {

class RescanFilter final : public snapshot::WalkFilter {
public:
    RescanFilter(FindProgress& progress, const IgnoreList& ignore, std::uint64_t& folderCount)
        : progress_(progress), ignore_(ignore), folderCount_(folderCount) {}

    bool entersFolder(std::string_view folder) override {
        if (ignore_.ignores(folder)) return false;
        ++folderCount_;
        if (folderCount_ == 300) progress_.setValue(2);
        if (folderCount_ == 600) progress_.setValue(4);
        return true;
    }
    bool recordsFile(std::string_view name) const override { return recordsScannedFile(name); }

private:
    FindProgress& progress_;
    const IgnoreList& ignore_;
    std::uint64_t& folderCount_;
};

// The rescan shows no per-folder text: its window has a fixed label.
class SilentSteps final : public snapshot::UpdateProgress {
public:
    void showStep(std::string_view) override {}
    void driveCompleted() override {}
};

}  // namespace

bool recordsScannedFile(std::string_view name) {
    return findNoCase(name, ".qdb") == std::string_view::npos && name.find(".qdf") == std::string_view::npos;
}

shell::WalkResult scanFolderTree(FileSystem& files, RunContext& run, FindProgress& progress, std::string_view folder,
                    const IgnoreList& ignore, TextWriter& out, std::uint64_t& folderCount) {
    RescanFilter filter(progress, ignore, folderCount);
    SilentSteps steps;
    return snapshot::walkFolderTree(files, run, steps, folder, out, filter);
}

}  // namespace quillon::detection
