#include "shell/MainStartUp.h"

#include "shell/CommandLine.h"
#include "shell/DriveList.h"
#include "shell/FirstRunDefaults.h"
#include "shell/Folders.h"
#include "shell/Settings.h"
#include "shell/modRegistry.h"

namespace quillon::shell {

namespace {

std::string withoutBackslash(std::string folder) {
    if (folder.size() > 3 && folder.back() == '\\') folder.pop_back();
    return folder;
}

// The data folder from the settings; a first start writes every default.
std::string decideDataFolder(StartUpPorts& ports, const MainState& state, KeyPtr& general) {
    general = openKey(ports.registry, Hive::CurrentUser, settings::GeneralKey);
    if (general) {
        std::string path = queryValue(general.get(), settings::general::DefaultPath);
        if (path.empty() || !folderExists(ports.files, path)) {
            path = withoutBackslash(state.programFolder);
            setValue(general.get(), settings::general::DefaultPath, path);
        }
        return path;
    }
    general = createKey(ports.registry, Hive::CurrentUser, settings::GeneralKey);
    setValue(general.get(), settings::general::DefaultPath, withoutBackslash(state.programFolder));
    writeFirstRunDefaults(ports.registry,
                          {state.programFolder, state.windowsRoot,
                           defaultFoldersToIgnore(ports.shell, ports.desktop, ports.files)});
    return state.programFolder;
}

void runUnattended(const StartRequest& request, MainOperations& operations) {
    switch (request.action) {
        case CommandLineAction::UpdateDatabase: operations.updateDatabase(); break;
        case CommandLineAction::FindChanges: operations.findChanges(); break;
        case CommandLineAction::Uninstall: operations.uninstallFromDataFile(request.removalList); break;
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
    state.dataFolder = withBackslash(decideDataFolder(ports, state, general));

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
    setValue(general.get(), settings::general::DriveName, entryText);
}

}  // namespace quillon::shell
