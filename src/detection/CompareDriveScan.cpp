#include "detection/CompareDriveScan.h"

#include <memory>

#include "detection/BlockCompare.h"
#include "detection/ScanFiles.h"

namespace quillon::detection {

namespace {

using Action = FileFault::Action;

StepEnd compareFiles(FileSystem& files, RunContext& run, FindProgress& progress, const std::string& scanPath,
                     const std::string& snapshotPath, TextWriter& changes) {
    std::unique_ptr<TextReader> scan;
    std::unique_ptr<TextReader> snapshot;
    if (const Status s = files.openRead(scanPath, scan); !succeeded(s))
        return StepEnd::failed({Action::Read, scanPath, s});
    if (const Status s = files.openRead(snapshotPath, snapshot); !succeeded(s))
        return StepEnd::failed({Action::Read, snapshotPath, s});
    const bool completed = compareScanBlocks(*scan, *snapshot, changes, run, progress);
    // A reader that ended early looks like the end of its file: every folder after it new, or none.
    if (!succeeded(scan->status())) return StepEnd::failed({Action::Read, scanPath, scan->status()});
    if (!succeeded(snapshot->status())) return StepEnd::failed({Action::Read, snapshotPath, snapshot->status()});
    return completed ? StepEnd{} : StepEnd::stop();
}

}  // namespace

StepEnd compareDriveScan(FileSystem& files, RunContext& run, FindProgress& progress, std::string_view workFolder,
                         std::string_view dataFolder, const std::vector<std::string>& drives) {
    const std::string scanPath = currentScanPath(workFolder);
    const std::string snapshotPath = mergedSnapshotPath(workFolder);
    const std::string output = changesPath(workFolder);
    std::unique_ptr<TextWriter> changes;
    if (const Status s = files.openWrite(output, WriteMode::Create, changes); !succeeded(s))
        return StepEnd::failed({Action::Write, output, s});
    StepEnd end;
    if (auto fault = mergeDriveSnapshots(files, dataFolder, workFolder, drives)) {
        end = StepEnd::failed(std::move(*fault));
    } else {
        end = compareFiles(files, run, progress, scanPath, snapshotPath, *changes);
    }
    const Status closed = changes->close();
    if (end.completed() && !succeeded(closed)) end = StepEnd::failed({Action::Write, output, closed});
    if (end.completed()) {
        files.deleteFile(snapshotPath);
        files.deleteFile(scanPath);
    }
    return end;
}

}  // namespace quillon::detection
