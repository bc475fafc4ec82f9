#include "snapshot/RegistryWalk.h"

#include <memory>
#include <string>
#include <vector>

#include "shell/modRegistry.h"

namespace quillon::snapshot {

namespace {

std::string withoutLeadingBackslash(std::string path) {
    if (path.starts_with('\\')) path.erase(0, 1);
    return path;
}

// Writes every key; Completed, Cancelled, or WriteFailed at the first refused line.
UpdateOutcome writeKeys(Registry& registry, RunContext& run, Hive hive, std::string_view startPath,
                        std::string_view leftOut, TextWriter& out, Status& refused) {
    // The back is the front of the queue: sub-keys go on in enumeration order, so the last
    // enumerated is taken next.
    std::vector<std::string> pending{withoutLeadingBackslash(std::string(startPath))};
    while (!pending.empty()) {
        const std::string path = std::move(pending.back());
        pending.pop_back();
        if (refused = out.writeLine(path); !succeeded(refused)) return UpdateOutcome::WriteFailed;
        for (auto& sub : shell::subKeyPaths(registry, hive, path, leftOut))
            pending.push_back(withoutLeadingBackslash(std::move(sub)));
        run.yield();
        if (run.stopRequested()) return UpdateOutcome::Cancelled;
    }
    return UpdateOutcome::Completed;
}

}  // namespace

UpdateOutcome walkRegistry(Registry& registry, FileSystem& files, RunContext& run, Hive hive,
                           std::string_view startPath, std::string_view outputPath, std::string_view leftOut,
                           FileFault* fault) {
    std::unique_ptr<TextWriter> out;
    Status failure = files.openWrite(outputPath, WriteMode::Create, out);
    UpdateOutcome outcome = UpdateOutcome::WriteFailed;
    if (succeeded(failure)) {
        outcome = writeKeys(registry, run, hive, startPath, leftOut, *out, failure);
        const Status closed = out->close();
        if (!succeeded(closed) && outcome == UpdateOutcome::Completed) {
            outcome = UpdateOutcome::WriteFailed;
            failure = closed;
        }
        out.reset();
    }
    if (outcome != UpdateOutcome::Completed) files.deleteFile(outputPath);
    if (outcome == UpdateOutcome::WriteFailed && fault)
        *fault = {FileFault::Action::Write, std::string(outputPath), failure};
    return outcome;
}

}  // namespace quillon::snapshot
