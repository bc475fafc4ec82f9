#include "scheduler/DetectSetupWindow.h"

#include <algorithm>
#include <vector>

#include "platform/TextCompare.h"
#include "scheduler/SetupWindowTest.h"
#include "shell/Settings.h"
#include "shell/modRegistry.h"

namespace quillon::scheduler {

namespace {

std::string_view baseName(std::string_view path) { return path.substr(path.find_last_of('\\') + 1); }

// The process's file name from the process list and the path of the first of its modules
// whose name contains it.
std::optional<DetectedSetup> programOf(Desktop& desktop, const std::vector<ProcessEntry>& processes,
                                       std::uint32_t processId) {
    const auto process = std::find_if(processes.begin(), processes.end(),
                                      [&](const ProcessEntry& p) { return p.processId == processId; });
    if (process == processes.end() || process->exeFile.empty()) return std::nullopt;
    for (const std::string& module : desktop.modules(processId))
        if (findNoCase(baseName(module), process->exeFile) != std::string_view::npos)
            return DetectedSetup{process->exeFile, module};
    return std::nullopt;
}

std::string ignoreList(Registry& registry) {
    const shell::KeyPtr key = shell::openKey(registry, Hive::CurrentUser, settings::SchedulerKey);
    return shell::queryValue(key.get(), settings::scheduler::WindowsToIgnore);
}

}  // namespace

std::optional<DetectedSetup> detectSetupWindow(const SchedulerPorts& ports) {
    // The lists are costly to take: only a window whose title and class passed asks for them.
    std::optional<std::vector<ProcessEntry>> processes;
    for (const TopLevelWindow& window : ports.desktop.topLevelWindows()) {
        if (!window.visible || !hasSetupTitle(window.title) || isIgnoredWindowClass(window.className)) continue;
        if (!processes) processes = ports.desktop.processes();
        std::optional<DetectedSetup> program = programOf(ports.desktop, *processes, window.processId);
        if (!program) continue;
        if (isIgnoredSetup(ignoreList(ports.registry), program->fileName, programSize(ports.files, program->path)))
            continue;
        return program;
    }
    return std::nullopt;
}

}  // namespace quillon::scheduler
