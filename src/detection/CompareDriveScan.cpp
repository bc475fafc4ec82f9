#include "detection/CompareDriveScan.h"

#include <memory>

#include "detection/BlockCompare.h"
#include "detection/ScanFiles.h"

namespace quillon::detection {

namespace {

// Stands in for a file that could not be opened: no lines.
class NoLines final : public TextReader {
public:
    bool readLine(std::string&) override { return false; }
    Status status() const override { return Status::Ok; }
    std::uint64_t position() const override { return 0; }
    Status seek(std::uint64_t) override { return Status::Ok; }
};

std::unique_ptr<TextReader> openOrEmpty(FileSystem& files, const std::string& path) {
    std::unique_ptr<TextReader> in;
    if (!succeeded(files.openRead(path, in))) in = std::make_unique<NoLines>();
    return in;
}

}  // namespace

bool compareDriveScan(FileSystem& files, RunContext& run, FindProgress& progress, std::string_view workFolder,
                      std::string_view dataFolder, const std::vector<std::string>& drives) {
    const std::string scanPath = currentScanPath(workFolder);
    const std::string snapshotPath = mergedSnapshotPath(workFolder);
    std::unique_ptr<TextWriter> changes;
    if (!succeeded(files.openWrite(changesPath(workFolder), WriteMode::Create, changes))) return true;
    mergeDriveSnapshots(files, dataFolder, workFolder, drives);
    bool completed = false;
    {
        const std::unique_ptr<TextReader> scan = openOrEmpty(files, scanPath);
        const std::unique_ptr<TextReader> snapshot = openOrEmpty(files, snapshotPath);
        completed = compareScanBlocks(*scan, *snapshot, *changes, run, progress);
    }
    if (completed) {
        files.deleteFile(snapshotPath);
        files.deleteFile(scanPath);
    }
    changes->close();
    return completed;
}

}  // namespace quillon::detection
