#include "review/UninstallFromDataFile.h"

#include <algorithm>
#include <array>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include "platform/TextCompare.h"
#include "review/DllChoice.h"
#include "review/RemovalListFormat.h"
#include "review/RemovalListRead.h"
#include "review/SavedForDeletion.h"
#include "review/UninstallPreview.h"
#include "review/ValueRows.h"
#include "shell/RemovalDoor.h"
#include "undo/UndoRecorder.h"

namespace quillon::review {
namespace {

constexpr std::string_view CompleteTitle = "Quillon Uninstall complete";

bool isLeft(shell::Outcome o, bool countRestart) {
    return o != shell::Outcome::Removed && o != shell::Outcome::NotThere && (countRestart || o != shell::Outcome::AtRestart);
}

constexpr std::uint32_t FileFlags = FileOpFlag::MultiDestFiles | FileOpFlag::NoConfirmation | FileOpFlag::AllowUndo;

class Uninstall {
public:
    Uninstall(RemovalContext& context, PreviewPrompt& prompt, std::string_view removalList, bool fromCommandLine)
        : c_(context), ports_(context.ports), prompt_(prompt), listPath_(removalList), fromCommandLine_(fromCommandLine) {}

    void run();

private:
    bool gather();
    template <typename Entry>
    std::vector<Entry> ticked(const std::vector<Entry>& all, PreviewKind kind) const;
    using LineAt = std::pair<ConfigList, const RemovalListContents::Line*>;
    std::vector<undo::RemovedLine> plannedLines() const;
    void removeLines();
    bool writeFailedList();
    void report(bool failedListWritten);
    void tell(std::string text, MsgIcon icon);
    // Something asked for is still there; a file left for the restart counts only when asked.
    bool anythingLeft(bool countRestart) const;
    bool anyRefused() const;
    // Entries the preview kept (not ticked, or not to be ticked) that are still there.
    bool isKept(const PreviewEntry& e) const;
    std::vector<const PreviewEntry*> kept(std::optional<PreviewKind> kind = std::nullopt) const;
    std::string spelling(const PreviewEntry& e) const;  // as the list spells the entry

    RemovalContext& c_;
    shell::RemovalPorts& ports_;
    PreviewPrompt& prompt_;
    std::string listPath_;
    bool fromCommandLine_;
    ListPreview read_;
    std::vector<LineAt> lines_;  // every line of the list, numbered as the preview numbers them
    shell::RemovalAnswer answer_;
    std::array<std::vector<const RemovalListContents::Line*>, ConfigListCount> failedLines_;
    std::string failedPath_;
    bool nt_ = false;
};

bool Uninstall::anythingLeft(bool countRestart) const {
    for (const auto* answers : {&answer_.files, &answer_.keys, &answer_.values})
        for (const auto& a : *answers)
            if (isLeft(a.outcome, countRestart)) return true;
    return std::any_of(failedLines_.begin(), failedLines_.end(), [](const auto& l) { return !l.empty(); }) ||
           std::ranges::any_of(read_.preview.entries, [&](const PreviewEntry& e) { return isKept(e); });
}

bool Uninstall::anyRefused() const {
    for (const auto* answers : {&answer_.files, &answer_.keys, &answer_.values})
        for (const auto& a : *answers)
            if (a.outcome == shell::Outcome::Refused) return true;
    return read_.preview.counts()[static_cast<std::size_t>(PreviewClass::Refused)] > 0;
}

// The lines of the four sections are numbered in order, with the file each is in, as the preview counts them.
bool Uninstall::gather() {
    if (!previewList(ports_, c_.folders, listPath_, fromCommandLine_, read_)) return false;
    for (std::size_t section = 0; section < ConfigListCount; ++section)
        for (const auto& line : read_.list.lines[section]) lines_.emplace_back(static_cast<ConfigList>(section), &line);
    return true;
}

template <typename Entry>
std::vector<Entry> Uninstall::ticked(const std::vector<Entry>& all, PreviewKind kind) const {
    std::vector<Entry> chosen;
    for (const std::size_t index : read_.preview.ticked(kind)) chosen.push_back(all[index]);
    return chosen;
}

bool Uninstall::isKept(const PreviewEntry& e) const {
    return e.what != PreviewClass::Gone && !(e.ticked && read_.preview.mayTick(e));
}

std::vector<const PreviewEntry*> Uninstall::kept(std::optional<PreviewKind> kind) const {
    std::vector<const PreviewEntry*> entries;
    for (const PreviewEntry& e : read_.preview.entries)
        if ((!kind || e.kind == *kind) && isKept(e)) entries.push_back(&e);
    if (kind) std::ranges::sort(entries, {}, &PreviewEntry::index);
    return entries;
}

std::string Uninstall::spelling(const PreviewEntry& e) const {
    switch (e.kind) {
        case PreviewKind::Line: return lines_[e.index].second->entry;
        case PreviewKind::Value: return read_.list.values[e.index].first;
        default: return e.item;
    }
}

std::vector<undo::RemovedLine> Uninstall::plannedLines() const {
    std::vector<undo::RemovedLine> lines;
    for (const auto& [list, line] : ticked(lines_, PreviewKind::Line)) lines.push_back({configFilePath(list, c_.folders), line->added});
    return lines;
}

void Uninstall::removeLines() {
    for (const auto& [list, line] : ticked(lines_, PreviewKind::Line)) {
        ports_.run.yield();
        if (!succeeded(removeAddedLine(ports_.files, c_.folders.work, configFilePath(list, c_.folders), line->added,
                                       line->replaced)))
            failedLines_[static_cast<std::size_t>(list)].push_back(line);
    }
}

// What is left, in the list's own format, so the user can try it again; what the preview kept
// goes in too, and why each was kept.
bool Uninstall::writeFailedList() {
    failedPath_ = c_.folders.work + std::string(FailedItemsFileName);
    std::unique_ptr<TextWriter> out;
    if (!succeeded(ports_.files.openWrite(failedPath_, WriteMode::Create, out))) return false;
    // Each line's failure sticks in the writer; close() answers for them all.
    const auto left = [&](PreviewKind kind, const std::vector<shell::ItemAnswer>& answers) {
        for (const PreviewEntry* e : kept(kind)) out->putLine(spelling(*e));
        for (const auto& a : answers)
            if (isLeft(a.outcome, false)) out->putLine(a.item);
    };
    out->putLine(removal_list::FilesHeader);
    left(PreviewKind::File, answer_.files);
    out->putLine(removal_list::SectionEnd);
    out->putLine(read_.list.registryHeader);
    left(PreviewKind::Key, answer_.keys);
    out->putLine(removal_list::SectionEnd);
    auto keptLines = failedLines_;
    for (const PreviewEntry* e : kept(PreviewKind::Line)) {
        const auto [list, line] = lines_[e->index];
        keptLines[static_cast<std::size_t>(list)].push_back(line);
    }
    for (std::size_t section = 0; section < ConfigListCount; ++section) {
        out->putLine(removal_list::LineHeaders[section]);
        for (const auto* line : keptLines[section]) out->putLine(line->entry);
        out->putLine(removal_list::SectionEnd);
    }
    std::vector<std::string> values, reasons;
    for (const PreviewEntry* e : kept(PreviewKind::Value)) values.push_back(read_.list.values[e->index].first);
    for (const auto& [entry, row] : read_.list.values)
        for (const auto& a : answer_.values)
            if (a.item == shell::valueItem(row.key, row.name) && isLeft(a.outcome, false)) values.push_back(entry);
    for (const PreviewEntry* e : kept())
        reasons.push_back((e->reason.empty() ? std::string("left unticked") : e->reason) + removal_list::Separator +
                          spelling(*e));
    for (const auto& [header, lines] : {std::pair{removal_list::ValuesHeader, &values}, {removal_list::KeptHeader, &reasons}}) {
        if (lines->empty()) continue;
        out->putLine(header);
        for (const std::string& line : *lines) out->putLine(line);
        out->putLine(removal_list::SectionEnd);
    }
    return succeeded(out->close());
}

void Uninstall::tell(std::string text, MsgIcon icon) {
    ports_.prompter.message({std::move(text), std::string(CompleteTitle), icon, MsgButtons::Ok});
}

void Uninstall::run() {
    nt_ = ports_.desktop.isNtFamily();
    if (!gather()) {
        ports_.prompter.message({"This is not a valid Quillon data file. The file may be corrupted.",
                                 "Error opening file", MsgIcon::Exclamation, MsgButtons::Ok});
        return;
    }
    if (!prompt_.confirm(read_.preview)) return;
    shell::RemovalRequest request;
    request.paths = ticked(read_.list.paths, PreviewKind::File);
    request.keys = ticked(read_.list.keys, PreviewKind::Key);
    for (const auto& value : ticked(read_.list.values, PreviewKind::Value)) request.values.push_back(takeBackOf(value.second));
    request.flags = FileFlags;
    request.mode = shell::RemoveMode::Quiet;
    request.installedBy = read_.saved;
    request.tellRefused = false;  // they stay in the list the user is pointed to
    request.choose = [&](const std::vector<std::string>& paths) {
        return chooseDeletions(ports_.registry, c_.inUse, paths);
    };
    undo::UndoRecorder record(ports_, {programNameOf(listPath_), plannedLines(), listPath_});
    answer_ = shell::removeThroughDoor(ports_, request, record);
    if (!answer_.recorded) return;
    if (answer_.cancelled()) {
        // Nothing more goes; the list still names everything, so it stays as it was.
        record.finish();
        tell("The uninstall of " + programNameOf(listPath_) +
                 " was cancelled. The removal list was kept; what was not removed is still named in it.",
             MsgIcon::Exclamation);
        return;
    }
    removeLines();
    record.finish();
    const bool failedListWritten = writeFailedList();
    removeSavedForDeletion(ports_.registry, listPath_);
    report(failedListWritten);
}

void Uninstall::report(bool failedListWritten) {
    FileSystem& files = ports_.files;
    if (!anythingLeft(true)) {
        removeLeftover(files, failedPath_);
        removeLeftover(files, listPath_);  // an uninstalled program's list left behind harms nothing
        tell(programNameOf(listPath_) + " has been uninstalled.", MsgIcon::None);
        return;
    }
    if (!anythingLeft(false)) {
        // Only files in use are left, and the restart takes them.
        removeLeftover(files, failedPath_);
        removeLeftover(files, listPath_);  // an uninstalled program's list left behind harms nothing
        tell("Uninstall completed. Some files could not be removed because they may be in use. These files will "
             "be deleted when you restart your computer.",
             MsgIcon::Exclamation);
        return;
    }
    // The failed items take the list's place in one step; when they could not be written or
    // moved, the old list stays, since it still names them.
    if (!failedListWritten || !succeeded(files.moveFile(failedPath_, listPath_, true)))
        removeLeftover(files, failedPath_);
    std::string text = nt_ ? "Uninstall completed. Some items could not be removed because they may be in use. You should "
                             "manually remove items related to the application. See the *.qdf file for items that "
                             "could not be removed."
                           : "Uninstall completed. Some files could not be removed because they may be in use. You "
                             "should manually remove items related to the application. See the *.qdf file for items "
                             "that could not be removed.";
    // Not in use: kept on purpose, and the user should know which reason holds.
    if (anyRefused())
        text += " Some were kept because removing them is not safe: a key other programs share, or a folder of "
                "the system's or of yours.";
    if (std::ranges::any_of(kept(), [](const PreviewEntry* e) { return e->what != PreviewClass::Refused; }))
        text += " Others were kept as the preview showed: another saved list names them, they changed since the list "
                "was saved, they are in use, or they were left unticked. The *.qdf file says why for each.";
    tell(std::move(text), MsgIcon::Exclamation);
}

}  // namespace

std::string programNameOf(std::string_view removalList) {
    const std::size_t slash = removalList.rfind('\\');
    std::string_view name = slash == std::string_view::npos ? removalList : removalList.substr(slash + 1);
    name.remove_suffix(std::min<std::size_t>(4, name.size()));
    return std::string(name);
}

void uninstallFromDataFile(RemovalContext& context, PreviewPrompt& prompt, std::string_view removalList,
                           bool fromCommandLine) {
    Uninstall(context, prompt, removalList, fromCommandLine).run();
}

}  // namespace quillon::review
