#include "snapshot/SnapshotFiles.h"

#include <string>

#include "shell/FileRemoval.h"

namespace quillon::snapshot {

namespace {

constexpr std::uint32_t AnyFile = FileAttr::Hidden | FileAttr::System | FileAttr::ReadOnly;

bool fileExists(FileSystem& files, std::string_view path) { return existsWith(files, path, AnyFile); }

void hideIfThere(FileSystem& files, std::string_view path) {
    if (fileExists(files, path)) files.setAttributes(path, FileAttr::Hidden);
}

}  // namespace

bool placeSnapshot(Shell& shell, FileSystem& files, std::string_view workFile, std::string_view destination) {
    const bool moved = shell::moveFile(shell, files, workFile, destination, FileOpFlag::NoConfirmation);
    // A move that reports success but left the work file behind replaced nothing.
    if (!moved || !fileExists(files, destination) || fileExists(files, workFile)) return false;
    files.setAttributes(destination, FileAttr::Hidden);
    return true;
}

std::optional<FileFault> copyHidden(Shell& shell, FileSystem& files, std::string_view source,
                                    std::string_view destination) {
    // A copy may not overwrite a hidden file, and the previous copy is one.
    if (fileExists(files, destination)) files.setAttributes(destination, FileAttr::Normal);
    const FileOpResult copied = shell.fileOperation(
        {FileOpKind::Copy, {std::string(source)}, std::string(destination), FileOpFlag::NoConfirmation, 0});
    Status failure = copied.aborted ? Status::Cancelled : copied.status;
    if (succeeded(failure) && !fileExists(files, destination)) failure = Status::FileNotFound;
    if (!succeeded(failure)) {
        files.deleteFile(destination);
        return FileFault{FileFault::Action::Copy, std::string(source), failure};
    }
    hideIfThere(files, destination);
    return std::nullopt;
}

}  // namespace quillon::snapshot
