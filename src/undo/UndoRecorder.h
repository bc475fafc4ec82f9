#pragma once
// Writes the undo record of a removal before its first item goes: the keys with everything
// below them, the configuration files as they are, and where each file is about to go.
#include <string>
#include <string_view>
#include <vector>

#include "shell/FileRemoval.h"
#include "undo/RegFile.h"
#include "undo/UndoRecord.h"

namespace quillon::undo {

struct PlannedRemoval {
    std::string title;  // names the record folder
    std::vector<KeyPath> keys;
    std::vector<RemovedLine> lines;  // their files are copied whole
    std::vector<RemovedFile> files;
    std::string removalList = {};  // an uninstall's list, which the uninstall deletes
};

// Files removed as removeFiles will do it with these flags and mode.
std::vector<RemovedFile> filesRemoved(shell::RemovalPorts& ports, const std::vector<std::string>& paths,
                                      std::uint32_t flags, shell::RemoveMode mode);
// Files moved into `folder` (ending in "\" or not).
std::vector<RemovedFile> filesMoved(const std::vector<std::string>& paths, std::string_view folder);

inline constexpr std::string_view RecordFailedText = "The undo record could not be written. Nothing was removed.";

class UndoRecorder {
public:
    UndoRecorder(shell::RemovalPorts& ports, PlannedRemoval plan) : ports_(ports), plan_(std::move(plan)) {}

    // Writes the record and reads it back. When either fails nothing of it stays, the user
    // is told under `errorTitle`, and the caller must remove nothing.
    bool write(std::string_view errorTitle);
    // Once the removal is over: how the configuration files look now, so that a restore
    // can tell whether anything changed them since.
    void finish();

private:
    bool writeAll();
    bool writeKeys(std::vector<RegKeyImage>& images);
    bool copyConfigFiles(UndoRecord& record);
    bool check(const UndoRecord& record, const std::vector<RegKeyImage>& images);
    void prune();

    shell::RemovalPorts& ports_;
    PlannedRemoval plan_;
    std::string folder_;  // the record folder, ending in "\"
    std::vector<ConfigCopy> copies_;
};

}  // namespace quillon::undo
