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
#include "detection/StepEnd.h"
#include "platform/FileFault.h"
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
    bool classes = false;
    shell::KeyIgnoreList keysToIgnore;
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
    s.classes = shell::queryValue(key.get(), settings::scanning::ClassesScan) == "1";
    s.keysToIgnore = shell::KeyIgnoreList(shell::keysToIgnore(key.get()));
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
        StepEnd end = scan(plan);
        if (end.completed()) end = compare(plan);
        // The drive scans replace their snapshots only once nothing can stop the run any more.
        if (end.completed() && settings_.regScan) end = registryPhase();
        if (!end.completed()) return abandon(plan, end);
        settleDriveScans(plan);
        progress_.setValue(maximum_);
        return FindOutcome::Completed;
    }

private:
    using Action = FileFault::Action;

    // Nothing of a run that did not finish may be taken for its result: not a changes file the
    // viewer would show, not a scan that AutoUpdateDb would install.
    FindOutcome abandon(const ScanPlan& plan, const StepEnd& end) {
        deleteDriveScans(plan);
        for (const std::string& path : {currentScanPath(folders_.work), mergedSnapshotPath(folders_.work),
                                        changesPath(folders_.work), configChangesPath(folders_.work)})
            removeLeftover(ports_.files, path);
        namespace names = registry_files;
        for (const std::string_view name : {names::HkcuFresh, names::HklmFresh, names::HkcuChanges, names::HklmChanges,
                                            names::HkcuFreshValues, names::HklmFreshValues, names::HkcuValueChanges,
                                            names::HklmValueChanges})
            removeLeftover(ports_.files, in(folders_.work, name));
        if (!end.fault) return FindOutcome::Stopped;
        const char* kept = drives_.size() > 1 ? " No changes were listed and the snapshots were kept."
                                              : " No changes were listed and the snapshot was kept.";
        ports_.prompter.message(
            {faultSentence(*end.fault) + kept, "Error finding changes", MsgIcon::Critical, MsgButtons::Ok});
        return FindOutcome::Failed;
    }

    // The scan files 0current.qdb, 1current.qdb, ... of the plan, each walked in full.
    StepEnd scan(const ScanPlan& plan) {
        const IgnoreList ignore =
            runIgnoreList(folders_.windows, drives_.front() + "\\", settings_.foldersToIgnore);
        for (std::size_t n = 0; n < plan.scanFiles.size(); ++n) {
            StepEnd end = walkInto(driveScanPath(folders_.work, n), plan.scanFiles[n], n == 0, ignore);
            if (!end.completed()) return end;
        }
        return {};
    }

    StepEnd walkInto(const std::string& scanFile, const std::vector<std::string>& starts, bool first,
                     const IgnoreList& ignore) {
        std::unique_ptr<TextWriter> out;
        if (const Status s = ports_.files.openWrite(scanFile, WriteMode::Create, out); !succeeded(s))
            return StepEnd::failed({Action::Write, scanFile, s});
        shell::WalkResult walked;
        for (std::size_t i = 0; walked.completed() && i < starts.size(); ++i) {
            std::uint64_t folders = 0;
            // A write the walk could not make ends it early; the writer keeps the failure for close().
            walked = scanFolderTree(ports_.files, ports_.run, progress_, starts[i], ignore, *out, folders);
            const int count = static_cast<int>(std::min<std::uint64_t>(folders, 1u << 30));
            if (first && i == 0) {
                maximum_ = count + RoomForComparisons;
            } else {
                // A second start folder in the same scan gives back some of the room.
                maximum_ += count - (first ? 4 : 0);
            }
            progress_.setMaximum(maximum_);
        }
        const Status closed = out->close();
        if (ports_.run.stopRequested()) return StepEnd::stop();
        if (!succeeded(closed)) return StepEnd::failed({Action::Write, scanFile, closed});
        // A folder listed only in part would make everything after the break look new.
        if (walked.end == shell::WalkEnd::Failed) return StepEnd::failed({Action::Read, walked.failedFolder, walked.failure});
        return walked.completed() ? StepEnd{} : StepEnd::stop();
    }

    StepEnd compare(const ScanPlan& plan) {
        if (auto fault = mergeDriveScans(ports_.files, folders_.work, plan.scanFiles.size())) return StepEnd::failed(*fault);
        StepEnd end = compareDriveScan(ports_.files, ports_.run, progress_, folders_.work, folders_.data, drives_);
        if (end.completed() && ports_.run.stopRequested()) end = StepEnd::stop();
        if (!end.completed()) return end;
        const ConfigFolders config{folders_.work, folders_.windowsRoot, folders_.windows, folders_.data};
        if (const Status s = writeConfigChanges(ports_.registry, ports_.files, config, progress_); !succeeded(s))
            return StepEnd::failed({Action::Write, configChangesPath(folders_.work), s});
        return {};
    }

    // Only a walk of whole drives may stand in for their snapshots. A snapshot that cannot be
    // replaced stays as it was.
    void settleDriveScans(const ScanPlan& plan) {
        if (!(settings_.autoUpdate && plan.coversWholeDrives)) {
            deleteDriveScans(plan);
            return;
        }
        for (std::size_t n = 0; n < plan.scanFiles.size() && n < drives_.size(); ++n) {
            const std::string scanFile = driveScanPath(folders_.work, n);
            if (!snapshot::placeSnapshot(ports_.shell, ports_.files, scanFile,
                                         shell::snapshotPath(folders_.data, drives_[n])))
                removeLeftover(ports_.files, scanFile);
        }
    }

    void deleteDriveScans(const ScanPlan& plan) {
        for (std::size_t n = 0; n < plan.scanFiles.size(); ++n)
            removeLeftover(ports_.files, driveScanPath(folders_.work, n));
    }

    StepEnd registryPhase() {
        namespace names = registry_files;
        if (!registrySnapshotsExist(ports_.files, folders_.data)) {
            ports_.prompter.message({"Unable to find the Registry Information database. You may have to update "
                                     "the Scan Database again to find changes in the Registry.",
                                     "Error scanning Registry", MsgIcon::Critical, MsgButtons::Ok});
            return {};
        }
        const RegistryScanFolders where{folders_.work, folders_.data};
        FileFault fault;
        const RegistryOutcome outcome =
            findRegistryChanges(ports_.registry, ports_.files, ports_.run, settings_.regFullScan, where, progress_,
                                &fault, {settings_.classes, &settings_.keysToIgnore});
        if (outcome == RegistryOutcome::Stopped) return StepEnd::stop();
        if (outcome != RegistryOutcome::Completed) return StepEnd::failed(fault);
        if (settings_.autoUpdate) refreshSystemSnapshots();
        for (const std::string_view name :
             {names::HkcuFresh, names::HklmFresh, names::HkcuFreshValues, names::HklmFreshValues})
            removeLeftover(ports_.files, in(folders_.work, name));
        return {};
    }

    // The changes are complete by now: what cannot be refreshed keeps its old snapshot, except a
    // configuration copy, which a failed copy removes, and the user hears of it.
    void refreshSystemSnapshots() {
        namespace names = registry_files;
        const std::string_view start = settings_.regFullScan ? std::string_view{} : names::SoftwareKey;
        const std::pair<std::string_view, std::string_view> lists[] = {
            {names::HkcuSnapshot, names::HkcuFresh},
            {names::HklmSnapshot, names::HklmFresh},
            {names::HkcuValueSnapshot, names::HkcuFreshValues},
            {names::HklmValueSnapshot, names::HklmFreshValues}};
        for (const auto& [snapshotName, freshName] : lists)
            refreshRegistrySnapshot(ports_.shell, ports_.files, in(folders_.data, snapshotName),
                                    in(folders_.work, freshName), start);
        for (const snapshot::ConfigFile& file : snapshot::ConfigFiles) {
            const std::string source = snapshot::configFilePath(file, folders_.windows, folders_.windowsRoot);
            if (!existsWith(ports_.files, source, AnyFile)) continue;
            if (const auto fault = snapshot::copyHidden(ports_.shell, ports_.files, source, in(folders_.data, file.snapshot))) {
                ports_.prompter.message({faultSentence(*fault) + " Its copy in the database was removed; run Update "
                                                                 "database to compare it again.",
                                         "Error finding changes", MsgIcon::Exclamation, MsgButtons::Ok});
                return;
            }
        }
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
