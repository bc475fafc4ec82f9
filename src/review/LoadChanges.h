#pragma once
// The viewer's load: the changes files of the work folder read into rows, then consumed.
#include <string_view>

#include "platform/FileSystem.h"
#include "platform/Registry.h"
#include "platform/RunContext.h"
#include "platform/Shell.h"
#include "review/ChangeSet.h"

namespace quillon::review {

struct LoadPorts {
    FileSystem& files;
    Registry& registry;
    Shell& shell;
    RunContext& run;  // yielded to before every line read; a stop request ends the load early
};

// Reads "changes.qdb", "sysChanges.qdb", "hkcuchanges.qdb" and "hklmchanges.qdb" of
// `workFolder` (ending in "\"), deletes the files it consumed, sets aside the entries of
// items that no longer exist (ChangeSet::absentFiles, absentKeys) and adds the placeholder rows of the kinds of change not looked for (the
// Scanning settings). A load ended early by a stop request returns the rows read so far:
// they are not the whole of what the files held.
ChangeSet loadChanges(LoadPorts& ports, std::string_view workFolder);
// The same into `set` (empty at the start), which a window may show while the rows come in:
// rows are only added.
void loadChanges(LoadPorts& ports, std::string_view workFolder, ChangeSet& set);

}  // namespace quillon::review
