#include "review/WriteBackRemovalList.h"

namespace quillon::review {

WriteResult writeBackRemovalList(FileSystem& files, std::string_view reviewedDataFile, const ChangeSet& changes) {
    if (reviewedDataFile.empty()) return {0, true};
    const RemovalListEntries entries = remainingEntries(changes);
    if (entries.count() == 0) {
        const Status s = files.deleteFile(reviewedDataFile);
        return {0, succeeded(s) || s == Status::FileNotFound};
    }
    return writeRemovalList(files, reviewedDataFile, entries);
}

}  // namespace quillon::review
