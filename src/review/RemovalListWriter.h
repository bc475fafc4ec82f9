#pragma once
// Writes removal lists from the viewer's rows.
#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "platform/FileSystem.h"
#include "review/ChangeSet.h"

namespace quillon::review {

// The entry lines of each section, in the order they are written.
struct RemovalListEntries {
    std::vector<std::string> files;  // full paths
    std::vector<std::string> keys;   // full key paths beginning with the hive name
    std::array<std::vector<std::string>, ConfigListCount> lines;  // lineEntry texts
    std::vector<std::string> values;  // valueEntry texts

    std::size_t count() const;
};

struct WriteResult {
    std::size_t entries = 0;  // entry lines in the list
    bool written = false;     // false: the file at the path is as it was before
};

// Added line, separator, replaced line, separator.
std::string lineEntry(const LineRow& row);

// The selected rows in the order the selection gives them (the order shown), placeholders
// included; indices past the end of their list are passed over.
RemovalListEntries selectedEntries(const ChangeSet& changes, const Selection& selection);
// Every row, except registry and line rows whose first column contains "scanning not" (no
// case), then the entries set aside at the load as absent: what is left of a reviewed list.
RemovalListEntries remainingEntries(const ChangeSet& changes);

// Writes all six sections, empty ones included, and the values section when there are values, into a file beside `path` and moves it over
// `path` only once every line and the close succeeded, so a failed write never leaves a
// cut-off list behind nor destroys the one it was to replace.
WriteResult writeRemovalList(FileSystem& files, std::string_view path, const RemovalListEntries& entries);

inline WriteResult writeSelectedRows(FileSystem& files, std::string_view path, const ChangeSet& changes,
                                     const Selection& selection) {
    return writeRemovalList(files, path, selectedEntries(changes, selection));
}

}  // namespace quillon::review
