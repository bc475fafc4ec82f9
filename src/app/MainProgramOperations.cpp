#include "app/MainProgramOperations.h"

#include "shell/DriveList.h"
#include "detection/frmFindingChanges.h"
#include "review/frmFoundChanges.h"
#include "shell/Folders.h"
#include "snapshot/frmUpdateDBase.h"

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

void MainProgramOperations::handOverToViewer(HWND owner) { review::showFoundChanges(ports_, owner, state_.workFolder); }

// Not built yet: each of these opens its window once its subsystem exists.
void MainProgramOperations::reviewRemovalList() {}
void MainProgramOperations::uninstallFromDataFile(const std::string&) {}
void MainProgramOperations::systemCleanUp() {}
void MainProgramOperations::options() {}

}  // namespace quillon::app
