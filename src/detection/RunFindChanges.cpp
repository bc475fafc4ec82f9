#include "detection/RunFindChanges.h"

#include <algorithm>
#include <cstdint>
#include <memory>
#include <vector>

#include "detection/CompareDriveScan.h"
#include "detection/ConfigCompare.h"
#include "detection/IgnoreList.h"
#include "detection/RegistryCompare.h"
#include "detection/RegistryFileNames.h"
#include "detection/RegistryRefresh.h"
#include "detection/ScanFiles.h"
#include "detection/ScanFolderTree.h"
#include "detection/ScanPlan.h"
#include "shell/DriveList.h"
#include "shell/Settings.h"
#include "shell/modRegistry.h"
#include "snapshot/ConfigFiles.h"
#include "snapshot/SnapshotFiles.h"

namespace quillon::detection {

namespace {

// The bar keeps this much room beyond the folder count for the comparisons.
constexpr int RoomForComparisons = 93;
constexpr std::uint32_t AnyFile = FileAttr::Hidden | FileAttr::System | FileAttr::ReadOnly;

struct RunSettings {
    bool autoUpdate = false;
    std::string scanMode;  // empty when the Scanning key does not open
    std::string foldersToIgnore;
    bool regScan = false;
    bool regFullScan = false;
};

RunSettings readSettings(Registry& registry) {
    RunSettings s;
    const shell::KeyPtr key = shell::openKey(registry, Hive::CurrentUser, settings::ScanningKey);
    if (!key) return s;
    s.autoUpdate = shell::queryValue(key.get(), settings::scanning::AutoUpdateDb) == "1";
    s.scanMode = shell::queryValue(key.get(), settings::scanning::ScanMode);
    s.foldersToIgnore = shell::queryValue(key.get(), settings::scanning::FoldersToIgnore);
    s.regScan = shell::queryValue(key.get(), settings::scanning::RegScan) == "1";
    s.regFullScan = shell::queryValue(key.get(), settings::scanning::RegFullScan) == "1";
    return s;
}

// The first selected drive without its snapshot, if any.
const std::string* driveWithoutSnapshot(FileSystem& files, std::string_view dataFolder,
                                        const std::vector<std::string>& drives) {
    for (const std::string& drive : drives)
        if (!existsWith(files, shell::snapshotPath(dataFolder, drive), AnyFile)) return &drive;
    return nullptr;
}

void reportMissingSnapshot(Prompter& prompter, const std::string& drive) {
    prompter.message({"No scan database found for drive " + drive.substr(0, 1) +
                          ":\\ To find changes in this drive, first create a scan database by clicking on the "
                          "Update Database button in the main window.",
                      "Error finding changes", MsgIcon::Exclamation, MsgButtons::Ok});
}

std::string in(std::string_view folder, std::string_view name) { return std::string(folder) + std::string(name); }

class Run {
public:
    Run(FindPorts& ports, FindProgress& progress, const FindFolders& folders, std::vector<std::string> drives)
        : ports_(ports), progress_(progress), folders_(folders), drives_(std::move(drives)),
          settings_(readSettings(ports.registry)) {}

    FindOutcome execute() {
        const ScanPlan plan = planScan(settings_.scanMode, drives_, folders_.windows, folders_.programFiles);
        if (!scan(plan)) return FindOutcome::Stopped;
        if (!compare(plan)) return FindOutcome::Stopped;
        // The drive scans replace their snapshots only once nothing can stop the run any more.
        if (settings_.regScan && !registryPhase()) {
            deleteDriveScans(plan);
            return FindOutcome::Stopped;
        }
        settleDriveScans(plan);
        progress_.setValue(maximum_);
        return FindOutcome::Completed;
    }

private:
    // The scan files 0current.qdb, 1current.qdb, ... of the plan, each walked in full.
    bool scan(const ScanPlan& plan) {
        const IgnoreList ignore =
            runIgnoreList(folders_.windows, drives_.front() + "\\", settings_.foldersToIgnore);
        for (std::size_t n = 0; n < plan.scanFiles.size(); ++n) {
            if (!walkInto(driveScanPath(folders_.work, n), plan.scanFiles[n], n == 0, ignore)) {
                for (std::size_t written = 0; written <= n; ++written)
                    ports_.files.deleteFile(driveScanPath(folders_.work, written));
                return false;
            }
        }
        return true;
    }

    bool walkInto(const std::string& scanFile, const std::vector<std::string>& starts, bool first,
                  const IgnoreList& ignore) {
        std::unique_ptr<TextWriter> out;
        if (!succeeded(ports_.files.openWrite(scanFile, WriteMode::Create, out))) return !ports_.run.stopRequested();
        for (std::size_t i = 0; i < starts.size(); ++i) {
            std::uint64_t folders = 0;
            if (!scanFolderTree(ports_.files, ports_.run, progress_, starts[i], ignore, *out, folders)) {
                out->close();
                return false;
            }
            const int count = static_cast<int>(std::min<std::uint64_t>(folders, 1u << 30));
            if (first && i == 0) {
                maximum_ = count + RoomForComparisons;
            } else {
                // A second start folder in the same scan gives back some of the room.
                maximum_ += count - (first ? 4 : 0);
            }
            progress_.setMaximum(maximum_);
        }
        out->close();
        return true;
    }

    bool compare(const ScanPlan& plan) {
        mergeDriveScans(ports_.files, folders_.work, plan.scanFiles.size());
        const bool compared =
            compareDriveScan(ports_.files, ports_.run, progress_, folders_.work, folders_.data, drives_);
        if (!compared || ports_.run.stopRequested()) {
            for (const std::string& path : {currentScanPath(folders_.work), changesPath(folders_.work),
                                            mergedSnapshotPath(folders_.work)})
                ports_.files.deleteFile(path);
            deleteDriveScans(plan);
            return false;
        }
        const ConfigFolders config{folders_.work, folders_.windowsRoot, folders_.windows, folders_.data};
        writeConfigChanges(ports_.registry, ports_.files, config, progress_);
        return true;
    }

    // Only a walk of whole drives may stand in for their snapshots.
    void settleDriveScans(const ScanPlan& plan) {
        if (!(settings_.autoUpdate && plan.coversWholeDrives)) {
            deleteDriveScans(plan);
            return;
        }
        for (std::size_t n = 0; n < plan.scanFiles.size() && n < drives_.size(); ++n) {
            const std::string scanFile = driveScanPath(folders_.work, n);
            if (!snapshot::placeSnapshot(ports_.shell, ports_.files, scanFile,
                                         shell::snapshotPath(folders_.data, drives_[n])))
                ports_.files.deleteFile(scanFile);
        }
    }

    void deleteDriveScans(const ScanPlan& plan) {
        for (std::size_t n = 0; n < plan.scanFiles.size(); ++n)
            ports_.files.deleteFile(driveScanPath(folders_.work, n));
    }

    // False when the user stopped it.
    bool registryPhase() {
        namespace names = registry_files;
        if (!registrySnapshotsExist(ports_.files, folders_.data)) {
            ports_.prompter.message({"Unable to find the Registry Information database. You may have to update "
                                     "the Scan Database again to find changes in the Registry.",
                                     "Error scanning Registry", MsgIcon::Critical, MsgButtons::Ok});
            return true;
        }
        const RegistryScanFolders where{folders_.work, folders_.data};
        const RegistryOutcome outcome = findRegistryChanges(ports_.registry, ports_.files, ports_.run,
                                                            settings_.regFullScan, where, progress_);
        const std::string hkcuFresh = in(folders_.work, names::HkcuFresh);
        const std::string hklmFresh = in(folders_.work, names::HklmFresh);
        if (outcome == RegistryOutcome::Stopped) {
            ports_.files.deleteFile(changesPath(folders_.work));
            ports_.files.deleteFile(configChangesPath(folders_.work));
            return false;
        }
        // A key list that could not be read or written in full must not become a snapshot.
        if (settings_.autoUpdate && outcome == RegistryOutcome::Completed) {
            const std::string_view start = settings_.regFullScan ? std::string_view{} : names::SoftwareKey;
            refreshRegistrySnapshot(ports_.shell, ports_.files, in(folders_.data, names::HkcuSnapshot), hkcuFresh, start);
            refreshRegistrySnapshot(ports_.shell, ports_.files, in(folders_.data, names::HklmSnapshot), hklmFresh, start);
            for (const snapshot::ConfigFile& file : snapshot::ConfigFiles)
                snapshot::copyHidden(ports_.shell, ports_.files,
                                     snapshot::configFilePath(file, folders_.windows, folders_.windowsRoot),
                                     in(folders_.data, file.snapshot));
        }
        ports_.files.deleteFile(hkcuFresh);
        ports_.files.deleteFile(hklmFresh);
        return true;
    }

    FindPorts& ports_;
    FindProgress& progress_;
    const FindFolders& folders_;
    std::vector<std::string> drives_;
    RunSettings settings_;
    int maximum_ = 100;
};

}  // namespace

FindOutcome findChanges(FindPorts& ports, FindProgress& progress, std::string_view driveToken,
                        const FindFolders& folders) {
    std::vector<std::string> drives = shell::tokenDrives(driveToken);
    if (drives.empty()) return FindOutcome::MissingSnapshot;
    if (const std::string* missing = driveWithoutSnapshot(ports.files, folders.data, drives)) {
        reportMissingSnapshot(ports.prompter, *missing);
        return FindOutcome::MissingSnapshot;
    }
    return Run(ports, progress, folders, std::move(drives)).execute();
}

}  // namespace quillon::detection
