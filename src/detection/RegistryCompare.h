#pragma once
// The registry half of "Find changes": fresh key lists of both hives compared with their
// snapshots into the registry changes files ("hkcuchanges.qdb", "hklmchanges.qdb"): one line
// per new key, spelt as in the fresh list, in its order; keys below a reported key left out.
#include <string_view>

#include "detection/FindProgress.h"
#include "platform/FileFault.h"
#include "platform/FileSystem.h"
#include "platform/Registry.h"
#include "platform/RunContext.h"

namespace quillon::detection {

enum class RegistryOutcome {
    Completed,
    Stopped,      // the stop flag ended it
    ReadFailed,   // a key list could not be read in full; see each routine for what was kept
    WriteFailed,  // an output could not be written in full
};

// A key of the fresh list is new exactly when no snapshot line equals it (without regard to
// case); it is passed over when it lies below a key reported before it. Creates the output
// (truncating). When the snapshot cannot be read in full the output stays empty: nothing is
// reported rather than every key. Yields and tests the stop flag once per line read; a
// stopped compare closes its files and leaves the partial output to the caller. `fault`, when
// given, learns which file a ReadFailed or WriteFailed failed at, and why.
[[nodiscard]] RegistryOutcome compareRegistryScan(FileSystem& files, RunContext& run, std::string_view snapshotPath,
                                                  std::string_view freshPath, std::string_view outputPath,
                                                  FileFault* fault = nullptr);

struct RegistryScanFolders {
    std::string_view work;  // where the fresh lists and the changes files go, ending in "\"
    std::string_view data;  // where hkcuReg.qdb and hklmReg.qdb are, ending in "\"
};

// Whether both registry snapshots are in the data folder (hidden and system files count).
bool registrySnapshotsExist(FileSystem& files, std::string_view dataFolder);

// Takes the fresh key lists ("hkcutmp.qdb", "hklmtmp.qdb": from the "Software" key, or from
// the hive's root when `fullScan`; HKEY_LOCAL_MACHINE's Software\Classes always left out) and
// compares each with its snapshot. The progress advances by 10, 10, 5, 5 after the four
// steps. The stop flag is tested after each step; a stopped run deletes every file this
// wrote. Any other failure ends it too (a later step would only read what the failed one
// could not write) and is returned, with its file in `fault` when given; the files written
// are then left for the caller to delete, as the fresh lists are after a completed run.
[[nodiscard]] RegistryOutcome findRegistryChanges(Registry& registry, FileSystem& files, RunContext& run,
                                                  bool fullScan, const RegistryScanFolders& folders,
                                                  FindProgress& progress, FileFault* fault = nullptr);

}  // namespace quillon::detection
