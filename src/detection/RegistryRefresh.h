#pragma once
// Bringing a registry snapshot (of keys, or of values) up to date from a fresh list after
// "Find changes".
#include <string_view>

#include "platform/FileSystem.h"
#include "platform/Shell.h"

namespace quillon::detection {

// `fresh` lists the keys (or the values of the keys) from `startKey` down ("" for the whole hive). A list of the whole
// hive replaces the snapshot. A list of one branch replaces only that branch: the snapshot's
// keys outside it stay, so that a later scan of the whole hive does not find every key outside
// the branch new. The fresh list is consumed; on failure the old snapshot stays. True when the
// snapshot was replaced.
bool refreshRegistrySnapshot(Shell& shell, FileSystem& files, std::string_view snapshotPath, std::string_view fresh,
                             std::string_view startKey);

}  // namespace quillon::detection
