#pragma once
// The settings a first start writes: the scheduler's Run-key entry, the four settings keys
// with every default, the product key and the file association of removal lists.
#include <string>

#include "platform/Desktop.h"
#include "platform/FileSystem.h"
#include "platform/Registry.h"
#include "platform/Shell.h"

namespace quillon::shell {

struct FirstRunFolders {
    std::string programFolder;     // with "\"
    std::string windowsRoot;       // "C:\"
    std::string foldersToIgnore;   // defaultFoldersToIgnore()
};

// The folders "Find changes" and the junk-file scans pass over unless the user says
// otherwise, each followed by the list separator.
std::string defaultFoldersToIgnore(Shell& shell, Desktop& desktop, FileSystem& files);

void writeFirstRunDefaults(Registry& registry, const FirstRunFolders& folders);

}  // namespace quillon::shell
