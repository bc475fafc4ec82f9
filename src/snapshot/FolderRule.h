#pragma once
// Which listed entries the drive walks descend into. The snapshot and every later rescan
// must agree on it, or a comparison would report whole trees as new.
#include "platform/FileSystem.h"

namespace quillon::snapshot {

// A folder that gets a block of its own: a directory whose name does not begin with "." and
// that is no junction or symbolic link (those would record their target twice or loop).
bool walksIntoFolder(const FileInfo& entry);

}  // namespace quillon::snapshot
