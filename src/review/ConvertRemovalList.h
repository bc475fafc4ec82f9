#pragma once
// A removal list turned back into the four changes files, so the viewer's load shows it like
// the result of a fresh "Find changes".
#include <string_view>

#include "platform/FileSystem.h"
#include "platform/RunContext.h"

namespace quillon::review {

// Replaces "changes.qdb", "sysChanges.qdb", "hkcuchanges.qdb" and "hklmchanges.qdb" of
// `workFolder` (ending in "\") with what the list at `listPath` holds: every file entry as a
// block of its own (an existing folder as a new-folder line), registry entries split by
// hive, each line section as its added and replaced lists. A list that cannot be opened
// gives four empty files; a section cut off by the end of the list ends there; entries that
// name nothing usable (an empty line, a key outside the two hives, a line entry without a
// separator) are passed over. Yields once per entry. False when a changes file could not be
// written completely.
bool convertRemovalList(FileSystem& files, RunContext& run, std::string_view listPath, std::string_view workFolder);

}  // namespace quillon::review
