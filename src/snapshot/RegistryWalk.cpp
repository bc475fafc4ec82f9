#include "snapshot/RegistryWalk.h"

#include <memory>
#include <string>
#include <vector>

#include "shell/modRegistry.h"
#include "platform/ValueLine.h"

namespace quillon::snapshot {

namespace {

std::string withoutLeadingBackslash(std::string path) {
    if (path.starts_with('\\')) path.erase(0, 1);
    return path;
}

struct Outputs {
    TextWriter& keys;
    TextWriter* values;  // none when only keys are asked for
    Status refused = Status::Ok;
    std::string refusedPath;
};

Status writeValues(RegistryKey& key, const std::string& path, TextWriter& out) {
    std::string name;
    RegValue value;
    for (std::uint32_t index = 0; succeeded(key.enumValue(index, name, value)); ++index)
        if (const Status s = out.writeLine(valueLine({path, name, encodeValueData(value)})); !succeeded(s)) return s;
    return Status::Ok;
}

// Writes every key; Completed, Cancelled, or WriteFailed at the first refused line.
UpdateOutcome writeKeys(Registry& registry, RunContext& run, Hive hive, std::string_view startPath,
                        std::string_view leftOut, Outputs& out, std::string_view valuesPath) {
    // The back is the front of the queue: sub-keys go on in enumeration order, so the last
    // enumerated is taken next.
    std::vector<std::string> pending{withoutLeadingBackslash(std::string(startPath))};
    while (!pending.empty()) {
        const std::string path = std::move(pending.back());
        pending.pop_back();
        if (out.refused = out.keys.writeLine(path); !succeeded(out.refused)) return UpdateOutcome::WriteFailed;
        const shell::KeyPtr key = shell::openKey(registry, hive, path);
        if (key && out.values) {
            if (out.refused = writeValues(*key, path, *out.values); !succeeded(out.refused)) {
                out.refusedPath = valuesPath;
                return UpdateOutcome::WriteFailed;
            }
        }
        for (auto& sub : shell::subKeyPaths(key.get(), path, leftOut))
            pending.push_back(withoutLeadingBackslash(std::move(sub)));
        run.yield();
        if (run.stopRequested()) return UpdateOutcome::Cancelled;
    }
    return UpdateOutcome::Completed;
}

// Closes the file, turning a Completed outcome into WriteFailed when the close fails.
void closeInto(std::unique_ptr<TextWriter>& file, std::string_view path, UpdateOutcome& outcome, Outputs& out) {
    if (!file) return;
    const Status closed = file->close();
    if (!succeeded(closed) && outcome == UpdateOutcome::Completed) {
        outcome = UpdateOutcome::WriteFailed;
        out.refused = closed;
        out.refusedPath = path;
    }
    file.reset();
}

}  // namespace

UpdateOutcome walkRegistry(Registry& registry, FileSystem& files, RunContext& run, Hive hive,
                           std::string_view startPath, std::string_view outputPath, std::string_view leftOut,
                           FileFault* fault, std::string_view valuesPath) {
    std::unique_ptr<TextWriter> keys;
    std::unique_ptr<TextWriter> values;
    Status failure = files.openWrite(outputPath, WriteMode::Create, keys);
    std::string failedPath(outputPath);
    if (succeeded(failure) && !valuesPath.empty()) {
        failure = files.openWrite(valuesPath, WriteMode::Create, values);
        failedPath = valuesPath;
    }
    UpdateOutcome outcome = UpdateOutcome::WriteFailed;
    if (succeeded(failure)) {
        Outputs out{*keys, values.get(), Status::Ok, std::string(outputPath)};
        outcome = writeKeys(registry, run, hive, startPath, leftOut, out, valuesPath);
        closeInto(keys, outputPath, outcome, out);
        closeInto(values, valuesPath, outcome, out);
        failure = out.refused;
        failedPath = out.refusedPath;
    }
    keys.reset();
    values.reset();
    if (outcome != UpdateOutcome::Completed) {
        removeLeftover(files, outputPath);
        if (!valuesPath.empty()) removeLeftover(files, valuesPath);
    }
    if (outcome == UpdateOutcome::WriteFailed && fault) *fault = {FileFault::Action::Write, failedPath, failure};
    return outcome;
}

}  // namespace quillon::snapshot
