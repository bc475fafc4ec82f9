#include "shell/FileRemoval.h"

#include "shell/Settings.h"
#include "shell/modRegistry.h"

namespace quillon::shell {

namespace {

constexpr std::uint32_t RecycleDefault = FileOpFlag::AllowUndo | FileOpFlag::MultiDestFiles;

}  // namespace

bool fileInUse(FileSystem& files, std::string_view path) {
    return files.openExclusive(path) == Status::SharingViolation;
}

bool moveFile(Shell& shell, FileSystem& files, std::string_view source, std::string_view destination,
              std::uint32_t flags, WindowRef owner) {
    if (fileInUse(files, source)) return false;
    const FileOpResult r = shell.fileOperation(
        {FileOpKind::Move, {std::string(source)}, std::string(destination), flags ? flags : 1u, owner});
    return succeeded(r.status) && !r.aborted;
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

}  // namespace quillon::shell
