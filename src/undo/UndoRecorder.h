#pragma once
// Writes the undo record of a removal before its first item goes: the keys with everything
// below them, the configuration files as they are, and where each file is about to go.
#include <string>
#include <string_view>
#include <vector>

#include "shell/RemovalDoor.h"
#include "undo/RegFile.h"
#include "undo/UndoRecord.h"

namespace quillon::undo {

struct PlannedRemoval {
    std::string title;  // names the record folder
    std::vector<RemovedLine> lines;  // their files are copied whole
    std::string removalList = {};  // an uninstall's list, which the uninstall deletes
    std::vector<KeyPath> keys = {};  // the door fills these two with what passed its checks
    std::vector<RemovedFile> files = {};
};

inline constexpr std::string_view RecordFailedText = "The undo record could not be written. Nothing was removed.";

// The removal door's journal: the door hands it the keys and files that passed its checks.
class UndoRecorder final : public shell::RemovalJournal {
public:
    UndoRecorder(shell::RemovalPorts& ports, PlannedRemoval plan, std::string errorTitle = "Error deleting files")
        : ports_(ports), plan_(std::move(plan)), errorTitle_(std::move(errorTitle)) {}

    // Writes the record and reads it back. When either fails nothing of it stays, the user
    // is told under the error title, and nothing may be removed.
    using RemovalJournal::write;
    // Once the removal is over: how the configuration files look now, so that a restore
    // can tell whether anything changed them since.
    void finish();

protected:
    bool record(const std::vector<KeyPath>& keys, const std::vector<shell::FileFate>& files,
                const std::vector<shell::ValueState>& values) override;

private:
    bool writeAll();
    bool writeKeys(std::vector<RegKeyImage>& images);
    bool copyConfigFiles(UndoRecord& record);
    bool check(const UndoRecord& record, const std::vector<RegKeyImage>& images);
    void prune();

    shell::RemovalPorts& ports_;
    PlannedRemoval plan_;
    std::string errorTitle_;
    std::string folder_;  // the record folder, ending in "\"
    std::vector<ConfigCopy> copies_;
    std::vector<shell::ValueState> values_;
};

}  // namespace quillon::undo
