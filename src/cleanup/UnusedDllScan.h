#pragma once
// "Scan for unused DLL files": the shared libraries the system's counts mark as used by no
// program any more.
#include "cleanup/ScanJunkFolders.h"
#include "platform/Registry.h"

namespace quillon::cleanup {

// Lists every SharedDLLs entry whose count reads "0", whose file exists and whose name is not
// protected. False when the stop flag ended it.
bool scanUnusedDlls(WalkPorts& ports, Registry& registry, ScanResults& results);

}  // namespace quillon::cleanup
