#include "detection/RegistryRefresh.h"

#include <memory>
#include <string>

#include "shell/KeyIgnoreList.h"
#include "snapshot/SnapshotFiles.h"

namespace quillon::detection {

namespace {

// A value line begins with its key and a tab; a key line is the key.
std::string_view keyOf(std::string_view line) { return line.substr(0, line.find('\t')); }

// The snapshot's keys outside the branch, then the fresh list, into `merged`.
bool mergeBranch(FileSystem& files, std::string_view snapshotPath, std::string_view fresh, std::string_view branch,
                 const std::string& merged) {
    std::unique_ptr<TextReader> old;
    std::unique_ptr<TextReader> replacement;
    std::unique_ptr<TextWriter> out;
    if (!succeeded(files.openRead(snapshotPath, old)) || !succeeded(files.openRead(fresh, replacement)) ||
        !succeeded(files.openWrite(merged, WriteMode::Create, out)))
        return false;
    bool written = true;
    std::string line;
    while (written && old->readLine(line))
        if (!shell::keyAtOrBelow(keyOf(line), branch)) written = succeeded(out->writeLine(line));
    while (written && replacement->readLine(line)) written = succeeded(out->writeLine(line));
    const bool read = succeeded(old->status()) && succeeded(replacement->status());
    return succeeded(out->close()) && written && read;
}

}  // namespace

bool refreshRegistrySnapshot(Shell& shell, FileSystem& files, std::string_view snapshotPath, std::string_view fresh,
                             std::string_view startKey) {
    if (startKey.empty()) {
        const bool placed = snapshot::placeSnapshot(shell, files, fresh, snapshotPath);
        removeLeftover(files, fresh);
        return placed;
    }
    const std::string merged = std::string(fresh) + ".new";
    const bool placed = mergeBranch(files, snapshotPath, fresh, startKey, merged) &&
                        snapshot::placeSnapshot(shell, files, merged, snapshotPath);
    removeLeftover(files, merged);
    removeLeftover(files, fresh);
    return placed;
}

}  // namespace quillon::detection
