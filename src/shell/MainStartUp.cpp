#include "shell/MainStartUp.h"

#include "shell/CommandLine.h"
#include "shell/DataFolder.h"
#include "shell/DriveList.h"
#include "shell/Folders.h"
#include "shell/Settings.h"
#include "shell/modRegistry.h"

namespace quillon::shell {

namespace {

void runUnattended(const StartRequest& request, MainOperations& operations) {
    switch (request.action) {
        case CommandLineAction::UpdateDatabase: operations.updateDatabase(); break;
        case CommandLineAction::FindChanges: operations.findChanges(); break;
        case CommandLineAction::Uninstall: operations.uninstallFromDataFile(request.removalList, true); break;
        case CommandLineAction::None: break;
    }
}

}  // namespace

void startMainProgram(StartUpPorts& ports, std::string_view commandLine, MainOperations& operations,
                      MainState& state) {
    state.instance = ports.desktop.claimInstance(MainInstanceName);
    state.programFolder = programFolder(ports.desktop);
    state.windowsRoot = windowsRoot(ports.shell);
    state.workFolder = chooseWorkFolder(ports.files, state.windowsRoot, temporaryFolder(ports.shell));
    state.driveEntries = driveEntries(ports.files);

    KeyPtr general;
    state.dataFolder = withBackslash(decideDataFolder({ports.registry, ports.files, ports.shell, ports.desktop},
                                                      state.programFolder, state.windowsRoot, general));

    state.selectedDrive = entryIndex(state.driveEntries, queryValue(general.get(), settings::general::DriveName));
    state.lastScanned = lastScannedSentence(ports.files, ports.clock, state.dataFolder,
                                            driveToken(state.driveEntries[state.selectedDrive]));

    const StartRequest request = parseCommandLine(ports.files, commandLine);
    if (request.action != CommandLineAction::None) {
        general.reset();
        runUnattended(request, operations);
        state.endProgram = true;
        return;
    }
    if (state.instance && state.instance->anotherWasRunning()) {
        state.endProgram = true;
        return;
    }
    state.recentLists =
        recentRemovalLists(ports.files, queryValue(general.get(), settings::general::SavedForDeletion));
}

void saveSelectedDrive(Registry& registry, std::string_view entryText) {
    const KeyPtr general = openKey(registry, Hive::CurrentUser, settings::GeneralKey);
    storeSetting(general.get(), settings::general::DriveName, entryText);
}

}  // namespace quillon::shell
