#include "shell/DataFolder.h"

#include "shell/FirstRunDefaults.h"
#include "shell/Folders.h"
#include "shell/Settings.h"

namespace quillon::shell {

namespace {

std::string withoutBackslash(std::string folder) {
    if (folder.size() > 3 && folder.back() == '\\') folder.pop_back();
    return folder;
}

}  // namespace

std::string decideDataFolder(const DataFolderPorts& ports, std::string_view programFolder,
                             std::string_view windowsRoot, KeyPtr& general) {
    general = openKey(ports.registry, Hive::CurrentUser, settings::GeneralKey);
    if (general) {
        std::string path = queryValue(general.get(), settings::general::DefaultPath);
        if (path.empty() || !folderExists(ports.files, path)) {
            path = withoutBackslash(std::string(programFolder));
            storeSetting(general.get(), settings::general::DefaultPath, path);
        }
        return path;
    }
    general = createKey(ports.registry, Hive::CurrentUser, settings::GeneralKey);
    storeSetting(general.get(), settings::general::DefaultPath, withoutBackslash(std::string(programFolder)));
    writeFirstRunDefaults(ports.registry,
                          {std::string(programFolder), std::string(windowsRoot),
                           defaultFoldersToIgnore(ports.shell, ports.desktop, ports.files)});
    return std::string(programFolder);
}

}  // namespace quillon::shell
