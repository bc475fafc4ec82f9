#include "shell/UserFiles.h"

#include "shell/Folders.h"
#include "shell/FolderEntries.h"

namespace quillon::shell {
namespace {

constexpr std::size_t NamesNamed = 5;

// True when the folder holds none of the user's files, so it can go whole.
bool sortOut(FileSystem& files, RunContext& run, const std::string& folder, const DateTime& installedBy,
             UserFiles& found) {
    std::vector<std::string> parts;
    std::vector<std::string> subFolders;
    bool clean = true;
    const WalkResult end = listFolder(files, run, folder, [&](const FileInfo& entry) {
        const std::string path = folder + entry.name;
        if (entry.attributes & FileAttr::ReparsePoint) {
            clean = false;  // a link's target is not the installation's to judge
        } else if (entry.attributes & FileAttr::Directory) {
            subFolders.push_back(path);
        } else if (entry.lastWrite > installedBy) {
            found.files.push_back(path);
            clean = false;
        } else {
            parts.push_back(path);
        }
    });
    if (!end.whole()) {
        found.complete = false;
        return false;
    }
    for (const std::string& sub : subFolders) {
        if (sortOut(files, run, sub + "\\", installedBy, found)) {
            parts.push_back(sub);
        } else {
            clean = false;
        }
    }
    if (!clean) found.installationParts.insert(found.installationParts.end(), parts.begin(), parts.end());
    return clean;
}

}  // namespace

UserFiles findUserFiles(FileSystem& files, RunContext& run, std::string_view folder, const DateTime& installedBy) {
    UserFiles found;
    if (sortOut(files, run, withBackslash(folder), installedBy, found)) found.installationParts.clear();
    return found;
}

std::string userFilesQuestion(std::string_view folder, const UserFiles& found) {
    const std::size_t n = found.files.size();
    std::string text = std::string(folder) + " also holds " + std::to_string(n) +
                       (n == 1 ? " file" : " files") + " changed after the installation: ";
    for (std::size_t i = 0; i < n && i < NamesNamed; ++i) text += (i ? ", " : "") + shell::nameOf(found.files[i]);
    if (n > NamesNamed) text += ", ...";
    return text + ". Remove them too?";
}

}  // namespace quillon::shell
