#pragma once
// The one door every removal of files, folders and keys goes through: the viewer's Delete and
// Move, the uninstall, the clean-up window's Delete and Move and the scheduled tasks. A window
// hands it what the user chose; the door checks each item with the guard, asks about a folder
// that also holds the user's later files, has the undo record written, removes, and answers
// item by item, so nothing goes that the user did not choose and nothing is called removed
// that is still there.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/DateTime.h"
#include "shell/FileRemoval.h"
#include "shell/RemovalGuard.h"
#include "shell/ValueTakeBack.h"

namespace quillon::shell {

// Where one file or folder is about to go.
struct FileFate {
    std::string path;
    RemovalPlace place = RemovalPlace::RecycleBin;
    std::string movedTo;  // DataFolder and moves: the path it will have there
};

// The record written before the first item goes (the undo record).
class RemovalJournal {
public:
    virtual ~RemovalJournal() = default;
    // False: nothing may go; the journal has told the user why. `values`: each value to be put
    // back, as it is now.
    bool write(const std::vector<KeyPath>& keys, const std::vector<FileFate>& files,
               const std::vector<ValueState>& values = {}) {
        return record(keys, files, values);
    }

protected:
    virtual bool record(const std::vector<KeyPath>& keys, const std::vector<FileFate>& files,
                        const std::vector<ValueState>& values) = 0;
};

// For the scheduler's unattended run, which keeps no record.
class NoJournal final : public RemovalJournal {
protected:
    bool record(const std::vector<KeyPath>&, const std::vector<FileFate>&, const std::vector<ValueState>&) override {
        return true;
    }
};

struct RemovalRequest {
    std::vector<std::string> paths;  // files and folders
    std::vector<std::string> keys;   // as a removal list spells them: "HKEY_CURRENT_USER\Software\App"
    std::vector<ValueTakeBack> values;
    std::string moveTo;              // not empty: the files move into this folder instead
    std::uint32_t flags = 0;         // the shell's flags; 0 for the usual ones
    RemoveMode mode = RemoveMode::Setting;
    // Files inside a folder written after this belong to the user, not to the installation.
    std::optional<DateTime> installedBy;
    // After the guard: the paths that may go, e.g. the shared-DLL question.
    std::function<std::vector<std::string>(const std::vector<std::string>&)> choose;
    std::string errorTitle = "Error deleting files";
    bool tellRefused = true;  // list refused items to the user (the uninstall writes them down)
    bool mayAsk = true;       // false for an unattended run: what would need a question stays
};

enum class Outcome {
    Removed,        // gone, or moved where it was asked to go
    NotThere,       // was gone before the door came to it
    Refused,        // the guard or the user's answer kept it
    Failed,
    Cancelled,      // the user cancelled the shell's operation
    AtRestart,      // in use: deleted when the computer restarts
    UserFilesKept,  // the installation's files went; the folder stays with the user's
};

struct ItemAnswer {
    std::string item;  // the path or key as requested
    Outcome outcome = Outcome::Failed;
};

struct RemovalAnswer {
    bool recorded = true;  // false: the undo record failed and nothing was touched
    std::vector<ItemAnswer> files;
    std::vector<ItemAnswer> keys;
    std::vector<ItemAnswer> values;  // items named by valueItem()

    // The item is no longer where it was (removed, moved, or already gone).
    bool gone(const std::string& item) const;
    bool anyLeft() const;  // something asked for is still there
    bool cancelled() const;
};

RemovalAnswer removeThroughDoor(RemovalPorts& ports, const RemovalRequest& request, RemovalJournal& journal);
// The same with a guard made once, for a run that hands the door one file at a time.
RemovalAnswer removeThroughDoor(RemovalPorts& ports, const RemovalRequest& request, RemovalJournal& journal,
                                const RemovalGuard& guard);

// The fate of each path under the DeleteMode setting, the flags and the mode; a path kept in
// the data folder keeps its drive and folders there, so two files of one name never collide.
std::vector<FileFate> fatesOf(RemovalPorts& ports, const std::vector<std::string>& paths, std::uint32_t flags,
                              RemoveMode mode);

inline constexpr std::string_view RemovedFolderName = "Removed";

}  // namespace quillon::shell
