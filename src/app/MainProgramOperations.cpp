#include "app/MainProgramOperations.h"

namespace quillon::app {

// Not built yet: each of these opens its window once its subsystem exists.
void MainProgramOperations::updateDatabase() {}
void MainProgramOperations::findChanges() {}
void MainProgramOperations::reviewRemovalList() {}
void MainProgramOperations::uninstallFromDataFile(const std::string&) {}
void MainProgramOperations::systemCleanUp() {}
void MainProgramOperations::options() {}

}  // namespace quillon::app
