#pragma once
// The heart of the file comparison: which folders and files of a scan are not in the
// snapshot.
#include "detection/FindProgress.h"
#include "platform/FileSystem.h"
#include "platform/RunContext.h"

namespace quillon::detection {

// Reads the scan and the snapshot (both in folder blocks) and writes the changes records:
// "!" + header and "}" for a new folder (nothing below it gets a record of its own), or the
// header, the new names in scan order and "}" for a folder that gained files. Headers and
// names match without regard to case; a header matches only an equal header. The bar moves
// one step per scan block. False when the stop flag ended it.
bool compareScanBlocks(TextReader& scan, TextReader& snapshot, TextWriter& changes, RunContext& run,
                       FindProgress& progress);

}  // namespace quillon::detection
