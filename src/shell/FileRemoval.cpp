#include "shell/FileRemoval.h"

#include <memory>

#include "shell/Settings.h"
#include "shell/modRegistry.h"

namespace quillon::shell {

namespace {

constexpr std::uint32_t RecycleDefault = FileOpFlag::AllowUndo | FileOpFlag::MultiDestFiles;

bool exists(FileSystem& files, std::string_view path) {
    FileInfo info;
    return succeeded(files.info(path, info));
}

FileOpResult deleteWithShell(RemovalPorts& ports, std::vector<std::string> paths, std::uint32_t flags) {
    return ports.shell.fileOperation({FileOpKind::Delete, std::move(paths), {}, flags, ports.owner});
}

// Where the user keeps removed files instead of deleting them. Every path that is no longer
// at its place counts as moved.
bool moveIntoDataFolder(RemovalPorts& ports, const std::vector<std::string>& paths) {
    bool allMoved = true;
    for (const auto& path : paths) {
        moveFile(ports.shell, ports.files, path, ports.dataFolder, 0, ports.owner);
        if (exists(ports.files, path)) allMoved = false;
    }
    return allMoved;
}

}  // namespace

bool fileInUse(FileSystem& files, std::string_view path) {
    return files.openExclusive(path) == Status::SharingViolation;
}

bool moveFile(Shell& shell, FileSystem& files, std::string_view source, std::string_view destination,
              std::uint32_t flags, WindowRef owner) {
    return moveFiles(shell, files, {std::string(source)}, destination, flags, owner);
}

bool moveFiles(Shell& shell, FileSystem& files, const std::vector<std::string>& sources,
               std::string_view destination, std::uint32_t flags, WindowRef owner) {
    std::vector<std::string> free;
    for (const std::string& source : sources)
        if (!fileInUse(files, source)) free.push_back(source);
    if (free.empty()) return false;
    const bool all = free.size() == sources.size();
    const FileOpResult r =
        shell.fileOperation({FileOpKind::Move, std::move(free), std::string(destination), flags ? flags : 1u, owner});
    return all && succeeded(r.status) && !r.aborted;
}

RemovalPlan planRemoval(Registry& registry, std::uint32_t flags, RemoveMode mode) {
    const KeyPtr key = openKey(registry, Hive::CurrentUser, settings::GeneralKey);
    const std::string deleteMode = key ? queryValue(key.get(), settings::general::DeleteMode) : "0";

    // "3" (zip into the default folder) has no archiver behind it: keep the files safe in
    // the data folder as "2" does. Anything unknown falls back to the Recycle Bin, the
    // choice that can be undone.
    const bool forGood = deleteMode == "1";
    const bool keepInDataFolder = deleteMode == "2" || deleteMode == "3";

    if (mode != RemoveMode::Permanent && !forGood && !keepInDataFolder) {
        if (flags == 0) flags = RecycleDefault;
        if (!key) flags |= FileOpFlag::AllowUndo;
    } else if (mode == RemoveMode::Permanent || forGood) {
        if (flags == 0) flags = FileOpFlag::MultiDestFiles;
    } else {
        return {RemovalPlace::DataFolder, flags};
    }
    return {(flags & FileOpFlag::AllowUndo) ? RemovalPlace::RecycleBin : RemovalPlace::Deleted, flags};
}

bool removeFiles(RemovalPorts& ports, const std::vector<std::string>& paths, std::uint32_t flags,
                 RemoveMode mode) {
    const RemovalPlan plan = planRemoval(ports.registry, flags, mode);
    if (plan.place == RemovalPlace::DataFolder) return moveIntoDataFolder(ports, paths);
    flags = plan.flags;

    const bool nt = ports.desktop.isNtFamily();
    if (nt) flags |= FileOpFlag::NoErrorUi;
    const FileOpResult result = deleteWithShell(ports, paths, flags);
    if (succeeded(result.status) || result.aborted) return true;

    flags |= FileOpFlag::NoConfirmation;
    if (!nt) return false;
    bool scheduled = false;
    for (const auto& path : paths) {
        ports.run.yield();
        FileInfo info;
        if (!succeeded(ports.files.info(path, info))) continue;
        const FileOpResult alone = deleteWithShell(ports, {path}, flags);
        if (succeeded(alone.status) && !alone.aborted) continue;
        if (info.attributes & FileAttr::Directory) {
            deleteFolderContentAtRestart(ports, path + "\\", flags);
        } else {
            ports.shell.deleteAtRestart(path);
        }
        scheduled = true;
    }
    if (scheduled && mode != RemoveMode::Quiet) {
        ports.prompter.message({"Some files could not be removed because they may be in use. These files "
                                "will be deleted when you restart your computer.",
                                "Quillon", MsgIcon::Exclamation, MsgButtons::Ok});
    }
    return false;
}

void deleteFolderContentAtRestart(RemovalPorts& ports, std::string_view folder, std::uint32_t flags) {
    std::vector<std::string> remembered;
    std::unique_ptr<DirectoryListing> listing;
    if (succeeded(ports.files.list(std::string(folder) + "*.*", listing))) {
        FileInfo entry;
        while (listing->next(entry)) {
            ports.run.yield();
            const std::string path = std::string(folder) + entry.name;
            if (entry.attributes & FileAttr::Directory) {
                if (entry.name.starts_with('.')) continue;
                const FileOpResult r = deleteWithShell(ports, {path}, flags);
                if (!succeeded(r.status) || r.aborted) remembered.push_back(entry.name);
            } else {
                const FileOpResult r = deleteWithShell(ports, {path}, flags);
                if (!succeeded(r.status) || r.aborted) ports.shell.deleteAtRestart(path);
            }
        }
    }
    for (const auto& name : remembered) deleteFolderContentAtRestart(ports, std::string(folder) + name + "\\", flags);
}

}  // namespace quillon::shell
