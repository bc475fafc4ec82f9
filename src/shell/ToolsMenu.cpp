#include "shell/ToolsMenu.h"

#include "shell/Folders.h"

namespace quillon::shell {

ToolProgram toolProgram(Tool tool, Shell& shell, Desktop& desktop) {
    const std::string windows = specialFolder(shell, Csidl::Windows);
    auto quoted = [](const std::string& file, const char* arguments = "") {
        return "\"" + file + "\"" + arguments;
    };
    switch (tool) {
        case Tool::DiskCleanup: return {windows + "cleanmgr.exe", quoted(windows + "cleanmgr.exe")};
        case Tool::SystemFileChecker: {
            const std::string sfc = specialFolder(shell, Csidl::System) + "sfc.exe";
            return {sfc, quoted(sfc, desktop.isNtFamily() ? " /scannow" : "")};
        }
        case Tool::Defragmenter: return {windows + "defrag.exe", quoted(windows + "defrag.exe")};
        case Tool::ScanDisk: return {windows + "scandskw.exe", quoted(windows + "scandskw.exe")};
        case Tool::DriveSpace: return {windows + "drvspace.exe", quoted(windows + "drvspace.exe")};
        case Tool::MaintenanceWizard: return {windows + "tuneup.exe", quoted(windows + "tuneup.exe")};
    }
    return {};
}

}  // namespace quillon::shell
