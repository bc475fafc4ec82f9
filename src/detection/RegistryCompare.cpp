#include "detection/RegistryCompare.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "detection/RegistryFileNames.h"
#include "detection/RegistryKeyIndex.h"
#include "snapshot/RegistryWalk.h"

namespace quillon::detection {

namespace {

// Reads the whole snapshot into the index; Completed, Stopped or ReadFailed.
// The first failure of one compare: which file, and why.
struct Failure {
    FileFault fault;
    RegistryOutcome fail(FileFault::Action action, std::string_view path, Status s) {
        fault = {action, std::string(path), s};
        return action == FileFault::Action::Read ? RegistryOutcome::ReadFailed : RegistryOutcome::WriteFailed;
    }
};

RegistryOutcome indexSnapshot(FileSystem& files, RunContext& run, std::string_view path, RegistryKeyIndex& index,
                              Failure& failure) {
    std::unique_ptr<TextReader> in;
    if (const Status s = files.openRead(path, in); !succeeded(s)) return failure.fail(FileFault::Action::Read, path, s);
    std::string line;
    while (in->readLine(line)) {
        index.add(line);
        run.yield();
        if (run.stopRequested()) return RegistryOutcome::Stopped;
    }
    if (!succeeded(in->status())) return failure.fail(FileFault::Action::Read, path, in->status());
    index.seal();
    return RegistryOutcome::Completed;
}

RegistryOutcome writeNewKeys(FileSystem& files, RunContext& run, const RegistryKeyIndex& snapshot,
                             std::string_view freshPath, TextWriter& out, std::string_view outputPath,
                             Failure& failure) {
    using Action = FileFault::Action;
    std::unique_ptr<TextReader> in;
    if (const Status s = files.openRead(freshPath, in); !succeeded(s)) return failure.fail(Action::Read, freshPath, s);
    ReportedKeys reported;
    std::string key;
    while (in->readLine(key)) {
        run.yield();
        if (run.stopRequested()) return RegistryOutcome::Stopped;
        if (snapshot.contains(key) || reported.liesBelowOne(key)) continue;
        if (const Status s = out.writeLine(key); !succeeded(s)) return failure.fail(Action::Write, outputPath, s);
        reported.add(key);
    }
    if (!succeeded(in->status())) return failure.fail(Action::Read, freshPath, in->status());
    return RegistryOutcome::Completed;
}

RegistryOutcome compareInto(FileSystem& files, RunContext& run, std::string_view snapshotPath,
                            std::string_view freshPath, TextWriter& out, std::string_view outputPath,
                            Failure& failure) {
    RegistryKeyIndex snapshot;
    const RegistryOutcome indexed = indexSnapshot(files, run, snapshotPath, snapshot, failure);
    if (indexed != RegistryOutcome::Completed) return indexed;
    return writeNewKeys(files, run, snapshot, freshPath, out, outputPath, failure);
}

std::string in(std::string_view folder, std::string_view name) { return std::string(folder) + std::string(name); }

RegistryOutcome fromWalk(snapshot::UpdateOutcome outcome) {
    switch (outcome) {
    case snapshot::UpdateOutcome::Completed: return RegistryOutcome::Completed;
    case snapshot::UpdateOutcome::Cancelled: return RegistryOutcome::Stopped;
    case snapshot::UpdateOutcome::WriteFailed: break;
    }
    return RegistryOutcome::WriteFailed;
}

}  // namespace

RegistryOutcome compareRegistryScan(FileSystem& files, RunContext& run, std::string_view snapshotPath,
                                    std::string_view freshPath, std::string_view outputPath, FileFault* fault) {
    Failure failure;
    std::unique_ptr<TextWriter> out;
    RegistryOutcome outcome = RegistryOutcome::Completed;
    if (const Status s = files.openWrite(outputPath, WriteMode::Create, out); !succeeded(s)) {
        outcome = failure.fail(FileFault::Action::Write, outputPath, s);
    } else {
        outcome = compareInto(files, run, snapshotPath, freshPath, *out, outputPath, failure);
        if (const Status closed = out->close(); !succeeded(closed) && outcome == RegistryOutcome::Completed)
            outcome = failure.fail(FileFault::Action::Write, outputPath, closed);
    }
    if (fault && (outcome == RegistryOutcome::ReadFailed || outcome == RegistryOutcome::WriteFailed))
        *fault = failure.fault;
    return outcome;
}

bool registrySnapshotsExist(FileSystem& files, std::string_view dataFolder) {
    constexpr std::uint32_t anyFile = FileAttr::Hidden | FileAttr::System | FileAttr::ReadOnly;
    return existsWith(files, in(dataFolder, registry_files::HkcuSnapshot), anyFile) &&
           existsWith(files, in(dataFolder, registry_files::HklmSnapshot), anyFile);
}

RegistryOutcome findRegistryChanges(Registry& registry, FileSystem& files, RunContext& run, bool fullScan,
                                    const RegistryScanFolders& folders, FindProgress& progress, FileFault* fault) {
    namespace names = registry_files;
    const std::string_view start = fullScan ? std::string_view{} : names::SoftwareKey;
    FileFault stepFault;
    struct Step {
        std::function<RegistryOutcome()> run;
        std::string output;
        int progress;
    };
    const std::string hkcuFresh = in(folders.work, names::HkcuFresh);
    const std::string hklmFresh = in(folders.work, names::HklmFresh);
    const std::string hkcuChanges = in(folders.work, names::HkcuChanges);
    const std::string hklmChanges = in(folders.work, names::HklmChanges);
    const Step steps[] = {
        {[&] { return fromWalk(snapshot::walkRegistry(registry, files, run, Hive::CurrentUser, start, hkcuFresh, "", &stepFault)); },
         hkcuFresh, 10},
        {[&] {
             return fromWalk(snapshot::walkRegistry(registry, files, run, Hive::LocalMachine, start, hklmFresh,
                                                    names::LeftOutOfHklm, &stepFault));
         },
         hklmFresh, 10},
        {[&] { return compareRegistryScan(files, run, in(folders.data, names::HkcuSnapshot), hkcuFresh, hkcuChanges, &stepFault); },
         hkcuChanges, 5},
        {[&] { return compareRegistryScan(files, run, in(folders.data, names::HklmSnapshot), hklmFresh, hklmChanges, &stepFault); },
         hklmChanges, 5},
    };

    std::vector<std::string_view> written;
    for (const Step& step : steps) {
        const RegistryOutcome outcome = step.run();
        written.push_back(step.output);
        if (outcome == RegistryOutcome::Stopped || run.stopRequested()) {
            for (const std::string_view path : written) files.deleteFile(path);
            return RegistryOutcome::Stopped;
        }
        if (outcome != RegistryOutcome::Completed) {
            if (fault) *fault = stepFault;
            return outcome;
        }
        progress.advance(step.progress);
    }
    return RegistryOutcome::Completed;
}

}  // namespace quillon::detection
