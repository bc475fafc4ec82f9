#pragma once
// The registry half of "Find changes": fresh key lists of both hives compared with their
// snapshots into the registry changes files ("hkcuchanges.qdb", "hklmchanges.qdb"): one line
// per new key, spelt as in the fresh list, in its order; keys below a reported key left out.
#include <string_view>

#include "detection/FindProgress.h"
#include "detection/RegistryKeyIndex.h"
#include "platform/FileFault.h"
#include "platform/FileSystem.h"
#include "platform/Registry.h"
#include "platform/RunContext.h"
#include "shell/KeyIgnoreList.h"

namespace quillon::detection {

enum class RegistryOutcome {
    Completed,
    Stopped,      // the stop flag ended it
    ReadFailed,   // a key list could not be read in full; see each routine for what was kept
    WriteFailed,  // an output could not be written in full
};

// What a comparison passes over: the keys the user's ignore list names and, when the snapshot
// was taken without it, the branch `recordedOnlyWhenListed` (HKEY_LOCAL_MACHINE's
// Software\Classes, walked only when the user asks): a snapshot that does not list the branch's
// own key did not look at it, so nothing in it is new.
struct RegistryCompareRules {
    Hive hive = Hive::CurrentUser;
    const shell::KeyIgnoreList* ignore = nullptr;
    std::string_view recordedOnlyWhenListed;
};

// The rules at work on the keys of one list.
class PassedOver {
public:
    PassedOver(const RegistryCompareRules& rules, const RegistryKeyIndex& snapshot);
    bool operator()(std::string_view key) const;

private:
    const RegistryCompareRules& rules_;
    bool branchUnrecorded_ = false;
};

// Reads a key list into the index and seals it: Completed, Stopped, or ReadFailed with the
// fault set.
[[nodiscard]] RegistryOutcome indexKeyList(FileSystem& files, RunContext& run, std::string_view path,
                                           RegistryKeyIndex& index, FileFault& fault);

// A key of the fresh list is new exactly when no snapshot line equals it (without regard to
// case); it is passed over when it lies below a key reported before it. Creates the output
// (truncating). When the snapshot cannot be read in full the output stays empty: nothing is
// reported rather than every key. Yields and tests the stop flag once per line read; a
// stopped compare closes its files and leaves the partial output to the caller. `fault`, when
// given, learns which file a ReadFailed or WriteFailed failed at, and why.
[[nodiscard]] RegistryOutcome compareRegistryScan(FileSystem& files, RunContext& run, std::string_view snapshotPath,
                                                  std::string_view freshPath, std::string_view outputPath,
                                                  FileFault* fault = nullptr, const RegistryCompareRules& rules = {});

struct RegistryScanFolders {
    std::string_view work;  // where the fresh lists and the changes files go, ending in "\"
    std::string_view data;  // where hkcuReg.qdb and hklmReg.qdb are, ending in "\"
};

// Whether both registry snapshots are in the data folder (hidden and system files count).
bool registrySnapshotsExist(FileSystem& files, std::string_view dataFolder);

// What the user asks of the registry half beyond the start key.
struct RegistryScanChoices {
    bool classes = false;                         // HKEY_LOCAL_MACHINE's Software\Classes too
    const shell::KeyIgnoreList* ignore = nullptr;
};

// Takes the fresh key and value lists ("hkcutmp.qdb", "hklmtmp.qdb", "hkcuvaltmp.qdb",
// "hklmvaltmp.qdb": from the "Software" key, or from the hive's root when `fullScan`;
// HKEY_LOCAL_MACHINE's Software\Classes only when chosen) and compares each with its snapshot.
// The progress advances by 10, 10, 3, 3, 2, 2 after the six steps. The stop flag is tested after each step; a stopped run deletes every file this
// wrote. Any other failure ends it too (a later step would only read what the failed one
// could not write) and is returned, with its file in `fault` when given; the files written
// are then left for the caller to delete, as the fresh lists are after a completed run.
[[nodiscard]] RegistryOutcome findRegistryChanges(Registry& registry, FileSystem& files, RunContext& run,
                                                  bool fullScan, const RegistryScanFolders& folders,
                                                  FindProgress& progress, FileFault* fault = nullptr,
                                                  const RegistryScanChoices& choices = {});

}  // namespace quillon::detection
