#include "review/WriteBackRemovalList.h"

namespace quillon::review {

WriteResult writeBackRemovalList(FileSystem& files, std::string_view reviewedDataFile, const ChangeSet& changes,
                                 const RemovalListEntries& keptAside) {
    if (reviewedDataFile.empty()) return {0, true};
    RemovalListEntries entries = remainingEntries(changes);
    const auto keep = [](std::vector<std::string>& to, const std::vector<std::string>& from) {
        to.insert(to.end(), from.begin(), from.end());
    };
    keep(entries.files, keptAside.files);
    keep(entries.keys, keptAside.keys);
    for (std::size_t i = 0; i < ConfigListCount; ++i) keep(entries.lines[i], keptAside.lines[i]);
    keep(entries.values, keptAside.values);
    if (entries.count() == 0) {
        const Status s = files.deleteFile(reviewedDataFile);
        return {0, succeeded(s) || s == Status::FileNotFound};
    }
    return writeRemovalList(files, reviewedDataFile, entries);
}

}  // namespace quillon::review
