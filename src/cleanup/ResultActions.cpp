#include "cleanup/ResultActions.h"

#include <string>

#include "shell/RemovalDoor.h"
#include "undo/UndoRecorder.h"

namespace quillon::cleanup {

namespace {

constexpr std::string_view RecordTitle = "Clean-up";

constexpr const char* DuplicateWarning =
    "Make sure that you keep at least one copy of the duplicate files to be deleted on your hard drive. "
    "It is also advisable not to delete any duplicate system files.\r\n\r\n"
    "If you are not sure, do not delete duplicate files, as this may cause your system to stop working. "
    "For precaution, we recommend that you use the Move button to move the duplicate files for backup on a "
    "different drive or folder instead of deleting them.\r\n\r\n"
    "Repeat, incorrect deletion of duplicate files can cause your system to stop working. For more "
    "information as to which duplicate files are safe to delete, read the Quillon Help file.\r\n\r\n"
    "Click on OK to continue deletion, click on Cancel to abort deletion.";

constexpr const char* DllWarning =
    "It is not advisable to delete DLL files as some of your applications may stop working.\r\n"
    "It is recommended that you move the files to a different folder instead of deleting them.\r\n\r\n"
    "Click on OK to move the selected files to a different folder.";

std::vector<std::string> pathsOf(const ScanResults& results, const std::vector<std::size_t>& selected) {
    std::vector<std::string> paths;
    for (const std::size_t i : selected)
        if (i < results.size()) paths.push_back(results.rows()[i].fullPath());
    return paths;
}

bool nothingSelected(Prompter& prompter, const std::vector<std::size_t>& selected, const char* text,
                     const char* title) {
    if (!selected.empty()) return false;
    prompter.message({text, title, MsgIcon::Exclamation, MsgButtons::Ok});
    return true;
}

// Only the rows handed over can have gone, and only what the door says went leaves: a row it
// refused (a name it could not trust) stays, whatever a look at its path would say.
void dropGone(const shell::RemovalAnswer& answer, ScanResults& results, const std::vector<std::size_t>& selected) {
    std::vector<std::size_t> gone;
    for (const std::size_t i : selected)
        if (i < results.size() && answer.gone(results.rows()[i].fullPath())) gone.push_back(i);
    results.remove(std::move(gone));
}

}  // namespace

void deleteSelected(shell::RemovalPorts& ports, ResultKind kind, ScanResults& results,
                    const std::vector<std::size_t>& selected) {
    if (nothingSelected(ports.prompter, selected, "No files selected to delete. Select a file and then click on Delete",
                        "Error deleting files"))
        return;
    shell::RemovalRequest request;
    request.paths = pathsOf(results, selected);
    if (kind == ResultKind::UnusedDlls) {
        if (ports.prompter.message({DllWarning, "Deleting DLL files not recommended", MsgIcon::Exclamation,
                                    MsgButtons::OkCancel, 1}) != MsgAnswer::Ok)
            return;
        request.moveTo = ports.prompter.browseForFolder("Choose the folder in which you want to move the DLL files to:");
        if (request.moveTo.empty()) return;
    } else if (kind == ResultKind::Duplicates &&
               ports.prompter.message({DuplicateWarning, "Confirm delete", MsgIcon::Exclamation, MsgButtons::OkCancel,
                                       2}) != MsgAnswer::Ok) {
        return;
    }
    undo::UndoRecorder record(ports, {std::string(RecordTitle), {}});
    const shell::RemovalAnswer answer = shell::removeThroughDoor(ports, request, record);
    if (answer.recorded) dropGone(answer, results, selected);
}

void moveSelected(shell::RemovalPorts& ports, ScanResults& results, const std::vector<std::size_t>& selected) {
    if (nothingSelected(ports.prompter, selected, "No files selected to move. Select a file and then click on Move",
                        "Error moving files"))
        return;
    shell::RemovalRequest request;
    request.moveTo = ports.prompter.browseForFolder("Choose the folder in which you want to move the files to:");
    if (request.moveTo.empty()) return;
    request.paths = pathsOf(results, selected);
    request.errorTitle = "Error moving files";
    shell::NoJournal unrecorded;  // moved files stay within the user's reach
    dropGone(shell::removeThroughDoor(ports, request, unrecorded), results, selected);
}

}  // namespace quillon::cleanup
