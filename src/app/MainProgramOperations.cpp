#include "app/MainProgramOperations.h"

#include "shell/DriveList.h"
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

// Not built yet: each of these opens its window once its subsystem exists.
void MainProgramOperations::findChanges() {}
void MainProgramOperations::reviewRemovalList() {}
void MainProgramOperations::uninstallFromDataFile(const std::string&) {}
void MainProgramOperations::systemCleanUp() {}
void MainProgramOperations::options() {}

}  // namespace quillon::app
