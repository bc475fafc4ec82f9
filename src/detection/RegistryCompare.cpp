#include "detection/RegistryCompare.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "detection/RegistryFileNames.h"
#include "detection/RegistryKeyIndex.h"
#include "detection/ValueCompare.h"
#include "shell/RemovalGuard.h"
#include "snapshot/RegistryWalk.h"

namespace quillon::detection {

namespace {

// The first failure of one compare: which file, and why.
struct Failure {
    FileFault fault;
    RegistryOutcome fail(FileFault::Action action, std::string_view path, Status s) {
        fault = {action, std::string(path), s};
        return action == FileFault::Action::Read ? RegistryOutcome::ReadFailed : RegistryOutcome::WriteFailed;
    }
};

RegistryOutcome writeNewKeys(FileSystem& files, RunContext& run, const RegistryKeyIndex& snapshot,
                             std::string_view freshPath, TextWriter& out, std::string_view outputPath,
                             Failure& failure, const RegistryCompareRules& rules) {
    const PassedOver passedOver(rules, snapshot);
    using Action = FileFault::Action;
    std::unique_ptr<TextReader> in;
    if (const Status s = files.openRead(freshPath, in); !succeeded(s)) return failure.fail(Action::Read, freshPath, s);
    ReportedKeys reported;
    std::string key;
    while (in->readLine(key)) {
        run.yield();
        if (run.stopRequested()) return RegistryOutcome::Stopped;
        if (snapshot.contains(key) || reported.liesBelowOne(key) || passedOver(key)) continue;
        // A key programs share (Run, SharedDLLs) is not the installation's even when it made it:
        // what it put inside is reported instead.
        if (shell::isSharedKey(key)) continue;
        if (const Status s = out.writeLine(key); !succeeded(s)) return failure.fail(Action::Write, outputPath, s);
        reported.add(key);
    }
    if (!succeeded(in->status())) return failure.fail(Action::Read, freshPath, in->status());
    return RegistryOutcome::Completed;
}

RegistryOutcome compareInto(FileSystem& files, RunContext& run, std::string_view snapshotPath,
                            std::string_view freshPath, TextWriter& out, std::string_view outputPath,
                            Failure& failure, const RegistryCompareRules& rules) {
    RegistryKeyIndex snapshot;
    const RegistryOutcome indexed = indexKeyList(files, run, snapshotPath, snapshot, failure.fault);
    if (indexed != RegistryOutcome::Completed) return indexed;
    return writeNewKeys(files, run, snapshot, freshPath, out, outputPath, failure, rules);
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

PassedOver::PassedOver(const RegistryCompareRules& rules, const RegistryKeyIndex& snapshot)
    : rules_(rules),
      branchUnrecorded_(!rules.recordedOnlyWhenListed.empty() && !snapshot.contains(rules.recordedOnlyWhenListed)) {}

bool PassedOver::operator()(std::string_view key) const {
    return (branchUnrecorded_ && shell::keyAtOrBelow(key, rules_.recordedOnlyWhenListed)) ||
           (rules_.ignore && rules_.ignore->ignores(rules_.hive, key));
}

RegistryOutcome indexKeyList(FileSystem& files, RunContext& run, std::string_view path, RegistryKeyIndex& index,
                             FileFault& fault) {
    std::unique_ptr<TextReader> in;
    if (const Status s = files.openRead(path, in); !succeeded(s)) {
        fault = {FileFault::Action::Read, std::string(path), s};
        return RegistryOutcome::ReadFailed;
    }
    std::string line;
    while (in->readLine(line)) {
        index.add(line);
        run.yield();
        if (run.stopRequested()) return RegistryOutcome::Stopped;
    }
    if (!succeeded(in->status())) {
        fault = {FileFault::Action::Read, std::string(path), in->status()};
        return RegistryOutcome::ReadFailed;
    }
    index.seal();
    return RegistryOutcome::Completed;
}

RegistryOutcome compareRegistryScan(FileSystem& files, RunContext& run, std::string_view snapshotPath,
                                    std::string_view freshPath, std::string_view outputPath, FileFault* fault,
                                    const RegistryCompareRules& rules) {
    Failure failure;
    std::unique_ptr<TextWriter> out;
    RegistryOutcome outcome = RegistryOutcome::Completed;
    if (const Status s = files.openWrite(outputPath, WriteMode::Create, out); !succeeded(s)) {
        outcome = failure.fail(FileFault::Action::Write, outputPath, s);
    } else {
        outcome = compareInto(files, run, snapshotPath, freshPath, *out, outputPath, failure, rules);
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
                                    const RegistryScanFolders& folders, FindProgress& progress, FileFault* fault,
                                    const RegistryScanChoices& choices) {
    namespace names = registry_files;
    const std::string_view start = fullScan ? std::string_view{} : names::SoftwareKey;
    FileFault stepFault;
    struct Step {
        std::function<RegistryOutcome()> run;
        std::vector<std::string> outputs;
        int progress;
    };
    struct HiveFiles {
        Hive hive;
        std::string snapshot, values, fresh, freshValues, changes, valueChanges;
        RegistryCompareRules rules;
    };
    const auto hiveFiles = [&](Hive hive, std::string_view snap, std::string_view vals, std::string_view fresh,
                               std::string_view freshVals, std::string_view changes, std::string_view valChanges,
                               std::string_view unrecorded) {
        return HiveFiles{hive, in(folders.data, snap), in(folders.data, vals), in(folders.work, fresh),
                         in(folders.work, freshVals), in(folders.work, changes), in(folders.work, valChanges),
                         {hive, choices.ignore, unrecorded}};
    };
    const HiveFiles user = hiveFiles(Hive::CurrentUser, names::HkcuSnapshot, names::HkcuValueSnapshot, names::HkcuFresh,
                                     names::HkcuFreshValues, names::HkcuChanges, names::HkcuValueChanges, {});
    const HiveFiles machine =
        hiveFiles(Hive::LocalMachine, names::HklmSnapshot, names::HklmValueSnapshot, names::HklmFresh,
                  names::HklmFreshValues, names::HklmChanges, names::HklmValueChanges, names::LeftOutOfHklm);
    const auto walk = [&](const HiveFiles& h, std::string_view leftOut) {
        return fromWalk(snapshot::walkRegistry(registry, files, run, h.hive, start, h.fresh, leftOut, &stepFault,
                                               h.freshValues));
    };
    const auto keys = [&](const HiveFiles& h) {
        return compareRegistryScan(files, run, h.snapshot, h.fresh, h.changes, &stepFault, h.rules);
    };
    const auto values = [&](const HiveFiles& h) {
        return compareValueScan(files, run, {h.snapshot, h.values, h.fresh, h.freshValues, h.valueChanges}, h.rules,
                                &stepFault);
    };
    const Step steps[] = {
        {[&] { return walk(user, ""); }, {user.fresh, user.freshValues}, 10},
        {[&] { return walk(machine, choices.classes ? "" : names::LeftOutOfHklm); },
         {machine.fresh, machine.freshValues}, 10},
        {[&] { return keys(user); }, {user.changes}, 3},
        {[&] { return keys(machine); }, {machine.changes}, 3},
        {[&] { return values(user); }, {user.valueChanges}, 2},
        {[&] { return values(machine); }, {machine.valueChanges}, 2},
    };

    std::vector<std::string_view> written;
    for (const Step& step : steps) {
        const RegistryOutcome outcome = step.run();
        written.insert(written.end(), step.outputs.begin(), step.outputs.end());
        if (outcome == RegistryOutcome::Stopped || run.stopRequested()) {
            for (const std::string_view path : written) removeLeftover(files, path);
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
