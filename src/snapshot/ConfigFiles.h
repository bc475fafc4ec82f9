#pragma once
// The four classic configuration files: where each lives, the snapshot copy kept of it in the
// data folder, the setting that switches its comparison on and its section in "sysChanges.qdb".
#include <string>
#include <string_view>

#include "shell/Settings.h"

namespace quillon::snapshot {

struct ConfigFile {
    std::string_view header;   // section header of the changes file
    std::string_view setting;  // under the Scanning key
    bool inWindowsFolder;      // else in the root of the Windows drive
    std::string_view name;
    std::string_view snapshot; // copy in the data folder
};

// In the order of the sections of "sysChanges.qdb".
inline constexpr ConfigFile ConfigFiles[] = {
    {"Autoexec.bat{", settings::scanning::AutoexecScan, false, "autoexec.bat", "Autoexec.qdb"},
    {"Win.ini{", settings::scanning::WinIniScan, true, "win.ini", "winIni.qdb"},
    {"System.ini{", settings::scanning::SystemIniScan, true, "system.ini", "systemIni.qdb"},
    {"Config.sys{", settings::scanning::ConfigSysScan, false, "config.sys", "configSys.qdb"},
};

// Both folders end in "\".
inline std::string configFilePath(const ConfigFile& file, std::string_view windowsFolder, std::string_view windowsRoot) {
    return std::string(file.inWindowsFolder ? windowsFolder : windowsRoot) + std::string(file.name);
}

}  // namespace quillon::snapshot
