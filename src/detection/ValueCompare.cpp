#include "detection/ValueCompare.h"

#include <algorithm>
#include <memory>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "platform/Digest.h"
#include "platform/TextCompare.h"
#include "platform/ValueLine.h"
#include "shell/RemovalGuard.h"

namespace quillon::detection {

namespace {

constexpr std::string_view Words[] = {"added", "changed", "removed"};

// Key and name without regard to case, as the registry tells values apart.
Digest128 slotOf(const ValueLine& v) {
    DigestBuilder builder;
    forEachFoldedByte(v.key, [&](unsigned char byte) { builder.add(byte); });
    builder.add('\t');
    forEachFoldedByte(v.name, [&](unsigned char byte) { builder.add(byte); });
    return builder.finish();
}

struct OldValue {
    Digest128 slot;
    Digest128 data;
    std::size_t line = 0;  // in the value snapshot, from 0
    bool seen = false;
};

struct Found {
    ValueChangeLine line;
    std::size_t oldLine = 0;  // for a changed value: where its old data is
};

class Comparison {
public:
    Comparison(FileSystem& files, RunContext& run, const ValueScanFiles& paths, const RegistryCompareRules& rules)
        : files_(files), run_(run), paths_(paths), rules_(rules) {}

    RegistryOutcome run(TextWriter& out) {
        RegistryOutcome o = indexKeyList(files_, run_, paths_.snapshotKeys, oldKeys_, fault_);
        if (o == RegistryOutcome::Completed) o = indexKeyList(files_, run_, paths_.freshKeys, freshKeys_, fault_);
        if (o == RegistryOutcome::Completed) o = readOld();
        if (o == RegistryOutcome::Completed) o = readFresh();
        if (o == RegistryOutcome::Completed) o = findRemovedAndOldData();
        if (o != RegistryOutcome::Completed) return o;
        for (Found& f : found_) {
            if (f.line.change == ValueChange::Changed) f.line.oldData = oldData_[f.oldLine];
            if (const Status s = out.writeLine(formatValueChange(f.line)); !succeeded(s)) return writeFailed(s);
        }
        return RegistryOutcome::Completed;
    }

    const FileFault& fault() const { return fault_; }
    RegistryOutcome writeFailed(Status s) {
        fault_ = {FileFault::Action::Write, std::string(paths_.output), s};
        return RegistryOutcome::WriteFailed;
    }

private:
    // Every line of a value list, parsed; Completed, Stopped or ReadFailed.
    template <typename Each>
    RegistryOutcome eachValue(std::string_view path, Each&& each) {
        std::unique_ptr<TextReader> in;
        if (const Status s = files_.openRead(path, in); !succeeded(s)) return readFailed(path, s);
        std::string text;
        ValueLine value;
        for (std::size_t line = 0; in->readLine(text); ++line) {
            if (parseValueLine(text, value)) each(value, line);
            run_.yield();
            if (run_.stopRequested()) return RegistryOutcome::Stopped;
        }
        return succeeded(in->status()) ? RegistryOutcome::Completed : readFailed(path, in->status());
    }

    RegistryOutcome readFailed(std::string_view path, Status s) {
        fault_ = {FileFault::Action::Read, std::string(path), s};
        return RegistryOutcome::ReadFailed;
    }

    RegistryOutcome readOld() {
        // One sorted table rather than a node per value: Wine's heap slows down with hundreds of
        // thousands of small blocks, and the table is searched far less often than it is filled.
        const RegistryOutcome read = eachValue(paths_.snapshotValues, [this](const ValueLine& v, std::size_t line) {
            old_.push_back({slotOf(v), digestOf(v.data), line, false});
        });
        std::sort(old_.begin(), old_.end(), [](const OldValue& a, const OldValue& b) { return a.slot < b.slot; });
        return read;
    }

    RegistryOutcome readFresh() {
        const PassedOver passedOver(rules_, oldKeys_);
        return eachValue(paths_.freshValues, [&](const ValueLine& v, std::size_t) {
            if ((!oldKeys_.contains(v.key) && !shell::isSharedKey(v.key)) || passedOver(v.key)) return;
            OldValue* old = find(slotOf(v));
            if (!old) {
                found_.push_back({{ValueChange::Added, v.key, v.name, v.data, {}}, 0});
                return;
            }
            old->seen = true;
            if (old->data == digestOf(v.data)) return;
            found_.push_back({{ValueChange::Changed, v.key, v.name, v.data, {}}, old->line});
            wanted_.insert(old->line);
        });
    }

    // A second pass over the snapshot: the old data of changed values, and the values that went.
    RegistryOutcome findRemovedAndOldData() {
        const PassedOver passedOver(rules_, oldKeys_);
        return eachValue(paths_.snapshotValues, [&](const ValueLine& v, std::size_t line) {
            if (wanted_.contains(line)) oldData_[line] = v.data;
            const OldValue* old = find(slotOf(v));
            if (!old || old->seen || old->line != line) return;
            if (freshKeys_.contains(v.key) && !passedOver(v.key))
                found_.push_back({{ValueChange::Removed, v.key, v.name, {}, v.data}, line});
        });
    }

    FileSystem& files_;
    RunContext& run_;
    const ValueScanFiles& paths_;
    const RegistryCompareRules& rules_;
    FileFault fault_;
    RegistryKeyIndex oldKeys_;
    RegistryKeyIndex freshKeys_;
    OldValue* find(const Digest128& slot) {
        const auto it = std::lower_bound(old_.begin(), old_.end(), slot,
                                         [](const OldValue& o, const Digest128& s) { return o.slot < s; });
        return it != old_.end() && it->slot == slot ? &*it : nullptr;
    }

    std::vector<OldValue> old_;
    std::unordered_set<std::size_t> wanted_;
    std::unordered_map<std::size_t, std::string> oldData_;
    std::vector<Found> found_;
};

}  // namespace

std::string_view valueChangeWord(ValueChange change) { return Words[static_cast<std::size_t>(change)]; }

std::optional<ValueChange> valueChangeNamed(std::string_view word) {
    for (std::size_t c = 0; c < std::size(Words); ++c)
        if (word == Words[c]) return static_cast<ValueChange>(c);
    return std::nullopt;
}

std::string formatValueChange(const ValueChangeLine& line) {
    return std::string(valueChangeWord(line.change)) + '\t' + escapeField(line.key) + '\t' +
           escapeField(line.name) + '\t' + line.newData + '\t' + line.oldData;
}

bool parseValueChange(std::string_view text, ValueChangeLine& out) {
    std::string_view parts[5];
    std::size_t start = 0;
    for (std::size_t i = 0; i < 5; ++i) {
        const std::size_t end = i < 4 ? text.find('\t', start) : text.size();
        if (end == std::string_view::npos) return false;
        parts[i] = text.substr(start, end - start);
        start = end + 1;
    }
    if (parts[4].find('\t') != std::string_view::npos) return false;
    const auto change = valueChangeNamed(parts[0]);
    if (!change) return false;
    out = {*change, unescapeField(parts[1]), unescapeField(parts[2]), std::string(parts[3]), std::string(parts[4])};
    return true;
}

RegistryOutcome compareValueScan(FileSystem& files, RunContext& run, const ValueScanFiles& paths,
                                 const RegistryCompareRules& rules, FileFault* fault) {
    std::unique_ptr<TextWriter> out;
    Comparison comparison(files, run, paths, rules);
    RegistryOutcome outcome = RegistryOutcome::Completed;
    if (const Status s = files.openWrite(paths.output, WriteMode::Create, out); !succeeded(s)) {
        outcome = comparison.writeFailed(s);
    } else {
        constexpr std::uint32_t anyFile = FileAttr::Hidden | FileAttr::System | FileAttr::ReadOnly;
        if (existsWith(files, paths.snapshotValues, anyFile)) outcome = comparison.run(*out);
        if (const Status closed = out->close(); !succeeded(closed) && outcome == RegistryOutcome::Completed)
            outcome = comparison.writeFailed(closed);
    }
    if (fault && (outcome == RegistryOutcome::ReadFailed || outcome == RegistryOutcome::WriteFailed))
        *fault = comparison.fault();
    return outcome;
}

}  // namespace quillon::detection
