#include "review/UninstallPreview.h"

#include <algorithm>
#include <map>
#include <memory>
#include <set>

#include "platform/TextCompare.h"
#include "review/UninstallFromDataFile.h"
#include "review/ValueRows.h"
#include "shell/RemovalGuard.h"
#include "shell/modRegistry.h"

namespace quillon::review {
namespace {

std::string_view refusalReason(shell::Refusal refusal) {
    switch (refusal) {
        case shell::Refusal::NotFullPath: return "not a full path";
        case shell::Refusal::DriveRoot: return "the root of a drive";
        case shell::Refusal::Protected: return "a folder of the system's or of yours";
        default: return "a name the system would read as another (wildcard, control character, trailing dot or space)";
    }
}

// The files that running programs hold: their program files and loaded libraries, each with
// the program that holds it.
class FilesInUse {
public:
    explicit FilesInUse(Desktop& desktop) {
        for (const ProcessEntry& process : desktop.processes())
            for (const std::string& module : desktop.modules(process.processId))
                held_.emplace(toLowerAnsi(module), process.exeFile);
    }
    // The program holding the file, or a file inside the folder; empty when none.
    std::string holder(std::string_view path) const {
        const std::string key = toLowerAnsi(path);
        if (const auto at = held_.find(key); at != held_.end()) return at->second;
        const std::string inside = key.ends_with('\\') ? key : key + '\\';
        const auto below = held_.lower_bound(inside);
        return below != held_.end() && below->first.starts_with(inside) ? below->second : std::string();
    }

private:
    std::map<std::string, std::string> held_;
};

class Classifier {
public:
    Classifier(shell::RemovalPorts& ports, const PreviewInput& input)
        : ports_(ports), in_(input), guard_(ports.shell, ports.dataFolder), inUse_(ports.desktop) {}

    void file(PreviewEntry& e) {
        const shell::Refusal refusal = guard_.checkPath(e.item);
        FileInfo info;
        if (refusal != shell::Refusal::None) return set(e, PreviewClass::Refused, std::string(refusalReason(refusal)));
        if (!succeeded(ports_.files.info(e.item, info))) return set(e, PreviewClass::Gone);
        if (std::string holder = inUse_.holder(e.item); !holder.empty()) return set(e, PreviewClass::InUse, "in use by " + holder);
        if (std::string claim = in_.others.ofPath(e.index); !claim.empty()) return shared(e, claim);
        // A folder that also holds later files goes only in part: the door keeps those files or asks.
        if (!(info.attributes & FileAttr::Directory) && info.lastWrite > in_.saved)
            return set(e, PreviewClass::Changed, "written after the list was saved");
        set(e, PreviewClass::Present);
    }

    void key(PreviewEntry& e) {
        const shell::KeyEntry key = shell::parseKeyEntry(e.item);
        if (!shell::allowsKeyEntry(key)) return set(e, PreviewClass::Refused, "a key of the system's or one programs share");
        if (!shell::openKey(ports_.registry, key.hive, key.path)) return set(e, PreviewClass::Gone);
        if (std::string claim = in_.others.ofKey(e.index); !claim.empty()) return shared(e, claim);
        set(e, PreviewClass::Present);
    }

    void value(PreviewEntry& e, const ValueRow& row) {
        shell::ValueState now;
        const shell::ValueCheck check = shell::checkValue(ports_.registry, takeBackOf(row), now);
        if (check == shell::ValueCheck::NotRestorable)
            return set(e, PreviewClass::Refused, "its earlier data was too large to keep");
        if (check == shell::ValueCheck::AlreadyBack) return set(e, PreviewClass::Gone);
        if (std::string claim = in_.others.ofValue(e.index); !claim.empty()) return shared(e, claim);
        if (check == shell::ValueCheck::ChangedSince)
            return set(e, PreviewClass::Changed, "holds other data than the list recorded");
        set(e, PreviewClass::Present);
    }

    // A line whose file no longer holds it has nothing left to take out.
    void line(PreviewEntry& e, ConfigList list, const std::string& added) {
        auto& lines = fileLines_[static_cast<std::size_t>(list)];
        if (!lines) {
            lines = std::make_unique<std::set<std::string>>();
            std::unique_ptr<TextReader> reader;
            if (succeeded(ports_.files.openRead(configFilePath(list, in_.folders), reader)))
                for (std::string text; reader->readLine(text);) lines->insert(text);
        }
        set(e, lines->contains(added) ? PreviewClass::Present : PreviewClass::Gone);
    }

private:
    void set(PreviewEntry& e, PreviewClass what, std::string reason = {}) {
        e.what = what;
        e.reason = std::move(reason);
        e.ticked = what == PreviewClass::Present;
    }
    void shared(PreviewEntry& e, const std::string& list) {
        set(e, PreviewClass::Shared, "also in " + programNameOf(list) + " (" + list + ")");
    }

    shell::RemovalPorts& ports_;
    const PreviewInput& in_;
    shell::RemovalGuard guard_;
    FilesInUse inUse_;
    std::array<std::unique_ptr<std::set<std::string>>, ConfigListCount> fileLines_;
};

}  // namespace

std::string_view previewClassName(PreviewClass c) {
    static constexpr std::array<std::string_view, PreviewClassCount> names = {
        "Will be removed", "Also in another saved list", "Changed since the list was saved",
        "In use",          "Not safe to remove",         "Already gone"};
    return names[static_cast<std::size_t>(c)];
}

std::string_view previewKindName(PreviewKind k) {
    static constexpr std::array<std::string_view, 4> names = {"File or folder", "Registry key", "Configuration line",
                                                              "Registry value"};
    return names[static_cast<std::size_t>(k)];
}

std::array<std::size_t, PreviewClassCount> UninstallPreview::counts() const {
    std::array<std::size_t, PreviewClassCount> counts{};
    for (const PreviewEntry& e : entries) ++counts[static_cast<std::size_t>(e.what)];
    return counts;
}

bool UninstallPreview::mayTick(const PreviewEntry& entry) const {
    return entry.what == PreviewClass::Present ||
           (sharedAndChangedMayGo && (entry.what == PreviewClass::Shared || entry.what == PreviewClass::Changed));
}

std::vector<std::size_t> UninstallPreview::ticked(PreviewKind kind) const {
    std::vector<std::size_t> indexes;
    for (const PreviewEntry& e : entries)
        if (e.kind == kind && e.ticked && mayTick(e)) indexes.push_back(e.index);
    return indexes;
}

std::string previewQuestion(const UninstallPreview& preview) {
    std::string text = "Are you sure you want to remove " + preview.program + " and and all of its components?\n";
    const auto counts = preview.counts();
    for (std::size_t c = 0; c < PreviewClassCount; ++c)
        if (counts[c]) text += "\n" + std::string(previewClassName(static_cast<PreviewClass>(c))) + ": " + std::to_string(counts[c]);
    if (counts[static_cast<std::size_t>(PreviewClass::Shared)] + counts[static_cast<std::size_t>(PreviewClass::Changed)])
        text += preview.sharedAndChangedMayGo ? "\n\nShared and changed entries stay unless you tick them under Details."
                                              : "\n\nShared and changed entries stay.";
    return text;
}

ExportTable previewTable(const UninstallPreview& preview) {
    ExportTable table{"Uninstall preview of " + preview.program, {"Entry", "Found", "Why", "Kind", "Goes"}, {}};
    for (const PreviewEntry& e : preview.entries)
        table.rows.push_back({e.item, std::string(previewClassName(e.what)), e.reason, std::string(previewKindName(e.kind)),
                              e.ticked && preview.mayTick(e) ? "yes" : "no"});
    return table;
}

UninstallPreview previewUninstall(shell::RemovalPorts& ports, const PreviewInput& input, std::string program) {
    UninstallPreview preview{std::move(program), {}, !input.fromCommandLine};
    Classifier classify(ports, input);
    const auto add = [&](PreviewKind kind, std::size_t index, std::string item) -> PreviewEntry& {
        ports.run.yield();
        return preview.entries.emplace_back(PreviewEntry{kind, index, std::move(item), PreviewClass::Present, {}, false});
    };
    for (std::size_t i = 0; i < input.list.paths.size(); ++i) classify.file(add(PreviewKind::File, i, input.list.paths[i]));
    for (std::size_t i = 0; i < input.list.keys.size(); ++i) classify.key(add(PreviewKind::Key, i, input.list.keys[i]));
    std::size_t line = 0;
    for (std::size_t section = 0; section < ConfigListCount; ++section)
        for (const auto& l : input.list.lines[section])
            classify.line(add(PreviewKind::Line, line++, l.added), static_cast<ConfigList>(section), l.added);
    for (std::size_t i = 0; i < input.list.values.size(); ++i) {
        const ValueRow& row = input.list.values[i].second;
        classify.value(add(PreviewKind::Value, i, shell::valueItem(row.key, row.name)), row);
    }
    std::ranges::stable_sort(preview.entries, {}, &PreviewEntry::what);
    return preview;
}

bool previewList(shell::RemovalPorts& ports, const RemovalFolders& folders, std::string_view listPath,
                 bool fromCommandLine, ListPreview& out) {
    FileInfo info;
    if (!readRemovalList(ports.files, ports.run, listPath, out.list) || !succeeded(ports.files.info(listPath, info)))
        return false;
    out.saved = info.lastWrite;
    const SavedListClaims others(ports.files, ports.run, ports.registry, listPath, out.list);
    out.preview = previewUninstall(ports, {out.list, out.saved, others, folders, fromCommandLine}, programNameOf(listPath));
    return true;
}

}  // namespace quillon::review
