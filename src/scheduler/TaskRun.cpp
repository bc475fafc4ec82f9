#include "scheduler/TaskRun.h"

#include <vector>

#include "cleanup/JunkScans.h"
#include "cleanup/JunkTypes.h"
#include "scheduler/SchedulerStartUp.h"
#include "shell/DriveList.h"
#include "shell/RemovalDoor.h"
#include "shell/Folders.h"
#include "shell/RecentRemovalLists.h"
#include "shell/Settings.h"
#include "shell/modRegistry.h"

namespace quillon::scheduler {

namespace {

constexpr std::uint32_t QuietRecycle = FileOpFlag::NoConfirmation | FileOpFlag::AllowUndo;

class TaskRun {
public:
    TaskRun(TaskPorts& ports, const TaskSettings& settings)
        : ports_(ports),
          settings_(settings),
          walk_{ports.system.files, ports.system.shell, ports.run, ports.progress},
          removal_{ports.system.registry, ports.system.files, ports.system.shell, ports.system.desktop, ports.prompter,
                   ports.run, ports.system.clock, ports.dataFolder, ports.owner},
          guard_(ports.system.shell, ports.dataFolder),
          ignore_(settings.foldersToIgnore) {}

    TaskTotals run() {
        std::vector<std::string> drives = shell::tokenDrives(settings_.drive);
        if (drives.empty() || !shell::folderExists(ports_.system.files, drives.front() + "\\"))
            drives = {shell::windowsRoot(ports_.system.shell).substr(0, 2)};
        if (settings_.tempFiles) {
            ports_.progress.showStatus("Scanning for temporary files...");
            const std::string types = cleanup::patternList(settings_.sysClean);
            for (const std::string& drive : drives)
                if (!pass(drive + "\\", types)) return totals_;
        }
        if (settings_.tempFolders && !emptyFolders(drives.front())) return totals_;
        startTools(drives.front());
        return totals_;
    }

private:
    // False when stopped.
    bool pass(const std::string& start, std::string_view types) {
        const DateTime now = ports_.system.clock.now();
        const cleanup::WalkRules rules{types, ignore_, {now, settings_.keepYoungerThanDays}};
        return cleanup::walkJunk(walk_, start, rules, [&](const std::string& folder, const FileInfo& file, const std::string&) {
            shell::RemovalRequest request;
            request.paths = {folder + file.name};
            request.flags = QuietRecycle;
            request.mode = shell::RemoveMode::Quiet;
            request.tellRefused = false;  // unattended: a name it cannot trust simply stays
            request.mayAsk = false;
            shell::NoJournal unrecorded;
            // Only what really went counts as freed.
            if (!shell::removeThroughDoor(removal_, request, unrecorded, guard_).gone(request.paths.front())) return;
            ++totals_.files;
            totals_.freedBytes += static_cast<double>(file.size);
            ports_.progress.showTotals(totals_.files, totals_.freedBytes);
        });
    }

    bool emptyFolders(const std::string& drive) {
        ports_.progress.showStatus("Scanning for temporary folders...");
        const cleanup::CleanUpSettings& boxes = settings_.sysClean;
        std::vector<std::string> folders;
        const cleanup::TemporaryFolders found = cleanup::findTemporaryFolders(ports_.system.shell, ports_.system.files);
        if (boxes.tempFolder) folders.push_back(found.temporary);
        if (boxes.cacheFolder) {
            folders.push_back(found.internetCache);
            folders.insert(folders.end(), found.browserCaches.begin(), found.browserCaches.end());
        }
        for (const std::string& folder : boxes.alsoFolders) folders.push_back(folder + "\\");
        for (const std::string& folder : folders) {
            if (cleanup::isFolderPath(folder) && !pass(folder, cleanup::AllFiles)) return false;
        }
        // Unattended: the shell must not stop the run with its question.
        if (boxes.recycleBin)
            static_cast<void>(ports_.system.shell.emptyRecycleBin(ports_.owner, drive + "\\", RecycleBinFlag::NoConfirmation));
        return !ports_.run.stopRequested();
    }

    // Started, not waited for; only those that are there.
    void startTools(const std::string& drive) {
        const std::string windows = shell::specialFolder(ports_.system.shell, Csidl::Windows);
        const auto start = [&](const std::string& program, const std::string& arguments) {
            if (existsWith(ports_.system.files, windows + program, 0))
                static_cast<void>(ports_.system.desktop.startProgram(windows + program + arguments, false));
        };
        if (settings_.scanDisk) start("scandskw.exe", " " + drive + " /n");
        if (settings_.defragmentor) start("defrag.exe", "");
    }

    TaskPorts& ports_;
    const TaskSettings& settings_;
    cleanup::WalkPorts walk_;
    shell::RemovalPorts removal_;
    shell::RemovalGuard guard_;
    shell::IgnoreList ignore_;
    TaskTotals totals_;
};

}  // namespace

TaskSettings readTaskSettings(Registry& registry) {
    TaskSettings read;
    const shell::KeyPtr key = shell::openKey(registry, Hive::CurrentUser, settings::SchedulerKey);
    namespace names = settings::scheduler;
    const auto on = [&](std::string_view name) { return shell::queryValue(key.get(), name) == "1"; };
    read.drive = shell::queryValue(key.get(), names::Drive);
    read.tempFiles = on(names::TempFiles);
    read.tempFolders = on(names::TempFolders);
    read.scanDisk = on(names::ScanDisk);
    read.defragmentor = on(names::Defragmentor);
    if (on(names::OldDel)) read.keepYoungerThanDays = wholeNumber(shell::queryValue(key.get(), names::OldDelDays));
    read.sysClean = cleanup::readCleanUpSettings(registry);
    const shell::KeyPtr scanning = shell::openKey(registry, Hive::CurrentUser, settings::ScanningKey);
    read.foldersToIgnore = shell::queryValue(scanning.get(), settings::scanning::FoldersToIgnore);
    return read;
}

TaskTotals runTasks(TaskPorts& ports, const TaskSettings& settings) {
    TaskRun run(ports, settings);
    return run.run();
}

}  // namespace quillon::scheduler
