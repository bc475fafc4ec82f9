#include "detection/ScanFiles.h"

#include <memory>

#include "shell/DriveList.h"

namespace quillon::detection {

std::string currentScanPath(std::string_view workFolder) { return std::string(workFolder) + "current.qdb"; }

std::string driveScanPath(std::string_view workFolder, std::size_t drive) {
    return std::string(workFolder) + std::to_string(drive) + "current.qdb";
}

std::string mergedSnapshotPath(std::string_view workFolder) { return std::string(workFolder) + "dbase.qdb"; }

std::string changesPath(std::string_view workFolder) { return std::string(workFolder) + "changes.qdb"; }

std::string configChangesPath(std::string_view workFolder) { return std::string(workFolder) + "sysChanges.qdb"; }

namespace {

using Action = FileFault::Action;

// A drive of a million entries has a scan of a million lines: copied whole, not line by line.
std::optional<FileFault> copyWhole(FileSystem& files, const std::string& source, std::string_view target) {
    // The copy takes the source's attributes: a hidden copy left by a run that broke off would refuse this one.
    removeLeftover(files, target);
    const Status copied = files.copyFile(source, target, true);
    if (succeeded(copied)) return std::nullopt;
    // A source that does not read to its end is what failed; otherwise the target could not be written.
    std::unique_ptr<TextReader> in;
    Status read = files.openRead(source, in);
    for (std::string line; succeeded(read) && in->readLine(line);) {}
    if (succeeded(read)) read = in->status();
    if (!succeeded(read)) return FileFault{Action::Read, source, read};
    return FileFault{Action::Write, std::string(target), copied};
}

}  // namespace

std::optional<FileFault> mergeFiles(FileSystem& files, const std::vector<std::string>& sources,
                                   std::string_view target) {
    if (sources.size() == 1) return copyWhole(files, sources.front(), target);
    std::unique_ptr<TextWriter> out;
    if (const Status s = files.openWrite(target, WriteMode::Create, out); !succeeded(s))
        return FileFault{Action::Write, std::string(target), s};
    std::string line;
    for (const auto& source : sources) {
        std::unique_ptr<TextReader> in;
        Status read = files.openRead(source, in);
        // A refused line sticks in the writer and shows at its close.
        while (succeeded(read) && in->readLine(line)) out->putLine(line);
        if (succeeded(read)) read = in->status();
        if (!succeeded(read)) {
            (void)out->close();  // the target is deleted by the caller; the read is what failed
            return FileFault{Action::Read, source, read};
        }
    }
    if (const Status s = out->close(); !succeeded(s)) return FileFault{Action::Write, std::string(target), s};
    return std::nullopt;
}

std::optional<FileFault> mergeDriveScans(FileSystem& files, std::string_view workFolder, std::size_t count) {
    std::vector<std::string> sources;
    for (std::size_t n = 0; n < count; ++n) sources.push_back(driveScanPath(workFolder, n));
    return mergeFiles(files, sources, currentScanPath(workFolder));
}

std::optional<FileFault> mergeDriveSnapshots(FileSystem& files, std::string_view dataFolder,
                                             std::string_view workFolder, const std::vector<std::string>& drives) {
    std::vector<std::string> sources;
    for (const auto& drive : drives) sources.push_back(shell::snapshotPath(dataFolder, drive));
    return mergeFiles(files, sources, mergedSnapshotPath(workFolder));
}

}  // namespace quillon::detection
