#include "app/MainProgramOperations.h"

#include <optional>
#include <utility>

#include "cleanup/frmSysCleanUp.h"
#include "shell/DriveList.h"
#include "detection/frmFindingChanges.h"
#include "options/frmOptions.h"
#include "review/ReviewRemovalList.h"
#include "review/SavedForDeletion.h"
#include "review/UninstallFromDataFile.h"
#include "review/WriteBackRemovalList.h"
#include "review/frmFoundChanges.h"
#include "review/frmInUseDLL.h"
#include "review/frmUninstallPreview.h"
#include "shell/Folders.h"
#include "snapshot/frmUpdateDBase.h"
#include "ui/MessagePump.h"
#include "ui/WaitCursor.h"
#include "undo/UndoRestore.h"

namespace quillon::app {

void MainProgramOperations::updateDatabase() {
    const std::string& entry = state_.driveEntries.at(state_.selectedDrive);
    snapshot::UpdateFolders folders{state_.dataFolder, state_.workFolder,
                                    shell::specialFolder(ports_.shell, Csidl::Windows), state_.windowsRoot};
    snapshot::frmUpdateDBase window(ports_, shell::driveToken(entry), std::move(folders), refreshLastScanned_);
    window.showModal(owner_);
}

void MainProgramOperations::findChanges() {
    const std::string& entry = state_.driveEntries.at(state_.selectedDrive);
    detection::FindFolders folders{state_.dataFolder, state_.workFolder, shell::specialFolder(ports_.shell, Csidl::Windows),
                                   shell::specialFolder(ports_.shell, Csidl::ProgramFiles), state_.windowsRoot};
    detection::frmFindingChanges window(ports_, shell::driveToken(entry), std::move(folders),
                                        [this](HWND owner) { handOverToViewer(owner); });
    window.showModal(owner_);
}

void MainProgramOperations::handOverToViewer(HWND owner) {
    review::showFoundChanges(ports_, owner, state_.workFolder, state_.dataFolder);
}

void MainProgramOperations::reviewRemovalList() {
    std::optional<review::ReviewedList> reviewed;
    {
        const ui::WaitCursor wait;
        ui::StopFlag never;
        ui::MessagePump pump(never, owner_);
        review::ReviewPorts review{ports_.registry, ports_.files, ports_.prompter, ports_.clock, pump};
        reviewed = review::openRemovalListForReview(review, state_.workFolder);
    }
    if (!reviewed) return;
    review::FoundChangesInput input{state_.workFolder, reviewed->fileName, reviewed->fileDate, state_.dataFolder};
    if (FileInfo saved; succeeded(ports_.files.info(reviewed->path, saved))) input.listSaved = saved.lastWrite;
    input.listPath = reviewed->path;
    // The list under review keeps what is left in the viewer when it closes.
    review::showFoundChanges(ports_, owner_, std::move(input),
                             [this, path = reviewed->path, kept = std::move(reviewed->keptAside)](review::frmFoundChanges& viewer) {
        bool written = false;
        {
            const ui::WaitCursor wait;
            written = review::writeBackRemovalList(ports_.files, path, viewer.changes(), kept).written;
        }
        if (!written)
            ports_.prompter.message({"Quillon could not write the removal list " + path +
                                         ". It was left as it was before the review.",
                                     "Error saving removal list", MsgIcon::Exclamation, MsgButtons::Ok});
    });
}

void MainProgramOperations::uninstallFromDataFile(const std::string& removalList, bool fromCommandLine) {
    const ui::WaitCursor wait;
    ui::StopFlag never;
    ui::MessagePump pump(never, owner_);
    shell::RemovalPorts removal{ports_.registry, ports_.files, ports_.shell, ports_.desktop,
                                ports_.prompter, pump,         ports_.clock, state_.dataFolder,
                                reinterpret_cast<WindowRef>(owner_)};
    review::InUseDllPrompt inUse(owner_);
    review::RemovalContext context{removal, inUse,
                                   review::RemovalFolders{shell::specialFolder(ports_.shell, Csidl::Windows),
                                                          state_.windowsRoot, state_.workFolder}};
    review::UninstallPreviewPrompt preview(owner_, ports_.files, ports_.prompter);
    review::uninstallFromDataFile(context, preview, removalList, fromCommandLine);
}

void MainProgramOperations::options() {
    options::frmOptions window(ports_, state_.driveEntries);
    window.showModal(owner_);
}

bool MainProgramOperations::canUndoRemoval() { return undo::canUndo(ports_.files, state_.dataFolder); }

void MainProgramOperations::undoLastRemoval() {
    undo::RestorePorts restore{ports_.registry, ports_.files,     ports_.shell,
                               ports_.prompter, state_.dataFolder, state_.workFolder,
                               reinterpret_cast<WindowRef>(owner_),
                               [this](const std::string& list) { review::addSavedForDeletion(ports_.registry, list); }};
    undo::undoLastRemoval(restore);
}

void MainProgramOperations::systemCleanUp() {
    cleanup::showSysCleanUp(ports_, owner_, state_.driveEntries, {state_.dataFolder, state_.workFolder});
}

}  // namespace quillon::app
