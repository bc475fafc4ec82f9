#pragma once
// The user's own files inside an application's folder: files written after the installation
// (the user's documents saved there, settings the program wrote since) are not the
// installation's, and a removal of the folder must not take them unasked.
#include <string>
#include <string_view>
#include <vector>

#include "platform/DateTime.h"
#include "platform/FileSystem.h"
#include "platform/RunContext.h"

namespace quillon::shell {

struct UserFiles {
    std::vector<std::string> files;  // written after the installation, full paths
    // What can go without touching them: whole sub-folders that hold none of them, and the
    // installation's files beside them. Junctions and symbolic links are in neither list.
    std::vector<std::string> installationParts;
    bool complete = true;  // every folder could be listed to its end
};

// `folder` with or without a trailing "\".
UserFiles findUserFiles(FileSystem& files, RunContext& run, std::string_view folder, const DateTime& installedBy);

// "C:\App also holds 3 files changed after the installation: a.doc, b.txt, c.xls. Remove them too?"
std::string userFilesQuestion(std::string_view folder, const UserFiles& found);

}  // namespace quillon::shell
