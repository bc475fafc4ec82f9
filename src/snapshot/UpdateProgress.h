#pragma once
// What an update run tells the window that runs it, and how it ended.
#include <string_view>

namespace quillon::snapshot {

class UpdateProgress {
public:
    virtual ~UpdateProgress() = default;
    // The text of the step at hand.
    virtual void showStep(std::string_view text) = 0;
    // The folder being walked: one call per folder, which a window may show only now and then.
    virtual void showFolder(std::string_view folder) { showStep(folder); }
    // A drive's new snapshot is in place in the data folder.
    virtual void driveCompleted() = 0;
};

enum class UpdateOutcome {
    Completed,
    Cancelled,    // the stop flag ended it
    WriteFailed,  // a snapshot could not be written in full; the previous one was kept
};

}  // namespace quillon::snapshot
