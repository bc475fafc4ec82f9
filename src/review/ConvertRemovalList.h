#pragma once
// A removal list turned back into the four changes files, so the viewer's load shows it like
// the result of a fresh "Find changes".
#include <optional>
#include <string_view>

#include "platform/FileFault.h"
#include "platform/FileSystem.h"
#include "platform/RunContext.h"
#include "review/RemovalListWriter.h"

namespace quillon::review {

// What a conversion could not do, and what of the list it could not use.
struct ConversionReport {
    // The list that could not be read in full, or the first changes file not written completely.
    std::optional<FileFault> fault;
    // Entries that name no row the viewer shows (a key outside the two hives, a line entry
    // without a separator): a review writes them back as they were.
    RemovalListEntries passedOver;
};

// Replaces "changes.qdb", "sysChanges.qdb", "hkcuchanges.qdb" and "hklmchanges.qdb" of
// `workFolder` (ending in "\") with what the list at `listPath` holds: every file entry as a
// block of its own (an existing folder as a new-folder line), registry entries split by
// hive, each line section as its added and replaced lists. A list that cannot be opened
// gives four empty files; a section cut off by the end of the list ends there; empty entries
// and the ones `report` lists as passed over give no row. Yields once per entry. False when a
// changes file could not be written completely; `report`, when given, also tells of a list
// that could not be read in full.
[[nodiscard]] bool convertRemovalList(FileSystem& files, RunContext& run, std::string_view listPath,
                                      std::string_view workFolder, ConversionReport* report = nullptr);

}  // namespace quillon::review
