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
RegistryOutcome indexSnapshot(FileSystem& files, RunContext& run, std::string_view path, RegistryKeyIndex& index) {
    std::unique_ptr<TextReader> in;
    if (!succeeded(files.openRead(path, in))) return RegistryOutcome::ReadFailed;
    std::string line;
    while (in->readLine(line)) {
        index.add(line);
        run.yield();
        if (run.stopRequested()) return RegistryOutcome::Stopped;
    }
    if (!succeeded(in->status())) return RegistryOutcome::ReadFailed;
    index.seal();
    return RegistryOutcome::Completed;
}

RegistryOutcome writeNewKeys(FileSystem& files, RunContext& run, const RegistryKeyIndex& snapshot,
                             std::string_view freshPath, TextWriter& out) {
    std::unique_ptr<TextReader> in;
    if (!succeeded(files.openRead(freshPath, in))) return RegistryOutcome::ReadFailed;
    ReportedKeys reported;
    std::string key;
    while (in->readLine(key)) {
        run.yield();
        if (run.stopRequested()) return RegistryOutcome::Stopped;
        if (snapshot.contains(key) || reported.liesBelowOne(key)) continue;
        if (!succeeded(out.writeLine(key))) return RegistryOutcome::WriteFailed;
        reported.add(key);
    }
    return succeeded(in->status()) ? RegistryOutcome::Completed : RegistryOutcome::ReadFailed;
}

RegistryOutcome compareInto(FileSystem& files, RunContext& run, std::string_view snapshotPath,
                            std::string_view freshPath, TextWriter& out) {
    RegistryKeyIndex snapshot;
    const RegistryOutcome indexed = indexSnapshot(files, run, snapshotPath, snapshot);
    if (indexed != RegistryOutcome::Completed) return indexed;
    return writeNewKeys(files, run, snapshot, freshPath, out);
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
                                    std::string_view freshPath, std::string_view outputPath) {
    std::unique_ptr<TextWriter> out;
    if (!succeeded(files.openWrite(outputPath, WriteMode::Create, out))) return RegistryOutcome::WriteFailed;
    const RegistryOutcome outcome = compareInto(files, run, snapshotPath, freshPath, *out);
    if (!succeeded(out->close()) && outcome == RegistryOutcome::Completed) return RegistryOutcome::WriteFailed;
    return outcome;
}

bool registrySnapshotsExist(FileSystem& files, std::string_view dataFolder) {
    constexpr std::uint32_t anyFile = FileAttr::Hidden | FileAttr::System | FileAttr::ReadOnly;
    return existsWith(files, in(dataFolder, registry_files::HkcuSnapshot), anyFile) &&
           existsWith(files, in(dataFolder, registry_files::HklmSnapshot), anyFile);
}

RegistryOutcome findRegistryChanges(Registry& registry, FileSystem& files, RunContext& run, bool fullScan,
                                    const RegistryScanFolders& folders, FindProgress& progress) {
    namespace names = registry_files;
    const std::string_view start = fullScan ? std::string_view{} : names::SoftwareKey;
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
        {[&] { return fromWalk(snapshot::walkRegistry(registry, files, run, Hive::CurrentUser, start, hkcuFresh, "")); },
         hkcuFresh, 10},
        {[&] {
             return fromWalk(snapshot::walkRegistry(registry, files, run, Hive::LocalMachine, start, hklmFresh,
                                                    names::LeftOutOfHklm));
         },
         hklmFresh, 10},
        {[&] { return compareRegistryScan(files, run, in(folders.data, names::HkcuSnapshot), hkcuFresh, hkcuChanges); },
         hkcuChanges, 5},
        {[&] { return compareRegistryScan(files, run, in(folders.data, names::HklmSnapshot), hklmFresh, hklmChanges); },
         hklmChanges, 5},
    };

    RegistryOutcome result = RegistryOutcome::Completed;
    std::vector<std::string_view> written;
    for (const Step& step : steps) {
        const RegistryOutcome outcome = step.run();
        written.push_back(step.output);
        if (outcome == RegistryOutcome::Stopped || run.stopRequested()) {
            for (const std::string_view path : written) files.deleteFile(path);
            return RegistryOutcome::Stopped;
        }
        if (outcome != RegistryOutcome::Completed) result = outcome;
        progress.advance(step.progress);
    }
    return result;
}

}  // namespace quillon::detection
