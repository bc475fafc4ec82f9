#include "review/UninstallFromDataFile.h"

#include <algorithm>
#include <array>
#include <memory>
#include <utility>
#include <vector>

#include "platform/TextCompare.h"
#include "review/DllChoice.h"
#include "review/RemovalListFormat.h"
#include "review/SavedForDeletion.h"
#include "review/ValueRows.h"
#include "shell/RemovalDoor.h"
#include "undo/UndoRecorder.h"

namespace quillon::review {
namespace {

constexpr std::string_view CompleteTitle = "Quillon Uninstall complete";

// Reads the entry lines of one section up to its "}"; a section cut off by the end of the
// file ends there.
template <typename Visit>
void forEachEntry(TextReader& list, Visit visit) {
    std::string line;
    while (list.readLine(line) && line != removal_list::SectionEnd) visit(line);
}

// Everything the list asks for, read before anything goes, so the undo record can hold it.
struct Gathered {
    std::vector<std::string> paths;
    std::string registryHeader = std::string(removal_list::RegistryHeader);
    std::vector<std::string> keys;
    struct Line {
        std::string entry;  // as the list spells it
        std::string added;
        std::string replaced;
    };
    std::array<std::vector<Line>, ConfigListCount> lines;
    std::vector<std::pair<std::string, ValueRow>> values;  // as the list spells each, and read
};

bool isLeft(shell::Outcome o, bool countRestart) {
    return o != shell::Outcome::Removed && o != shell::Outcome::NotThere && (countRestart || o != shell::Outcome::AtRestart);
}

constexpr std::uint32_t FileFlags = FileOpFlag::MultiDestFiles | FileOpFlag::NoConfirmation | FileOpFlag::AllowUndo;

class Uninstall {
public:
    Uninstall(RemovalContext& context, std::string_view removalList)
        : c_(context), ports_(context.ports), listPath_(removalList) {}

    void run();

private:
    bool confirmed();
    bool gather();
    std::vector<undo::RemovedLine> plannedLines() const;
    void removeLines();
    bool writeFailedList();
    void report(bool failedListWritten);
    void tell(std::string text, MsgIcon icon);
    // Something asked for is still there; a file left for the restart counts only when asked.
    bool anythingLeft(bool countRestart) const;
    bool anyRefused() const;

    RemovalContext& c_;
    shell::RemovalPorts& ports_;
    std::string listPath_;
    Gathered list_;
    DateTime saved_;
    shell::RemovalAnswer answer_;
    std::array<std::vector<const Gathered::Line*>, ConfigListCount> failedLines_;
    std::string failedPath_;
    bool nt_ = false;
};

bool Uninstall::anythingLeft(bool countRestart) const {
    for (const auto* answers : {&answer_.files, &answer_.keys, &answer_.values})
        for (const auto& a : *answers)
            if (isLeft(a.outcome, countRestart)) return true;
    return std::any_of(failedLines_.begin(), failedLines_.end(), [](const auto& l) { return !l.empty(); });
}

bool Uninstall::anyRefused() const {
    for (const auto* answers : {&answer_.files, &answer_.keys, &answer_.values})
        for (const auto& a : *answers)
            if (a.outcome == shell::Outcome::Refused) return true;
    return false;
}

bool Uninstall::confirmed() {
    return ports_.prompter.message({"Are you sure you want to remove " + programNameOf(listPath_) +
                                        " and and all of its components?",
                                    "Confirm Quillon Uninstall", MsgIcon::Information, MsgButtons::YesNo}) ==
           MsgAnswer::Yes;
}

bool Uninstall::gather() {
    std::unique_ptr<TextReader> list;
    std::string first;
    FileInfo info;
    if (!succeeded(ports_.files.openRead(listPath_, list)) || !list->readLine(first) ||
        findNoCase(first, removal_list::FilesHeader) == std::string::npos ||
        !succeeded(ports_.files.info(listPath_, info)))
        return false;
    saved_ = info.lastWrite;
    const auto take = [&](std::vector<std::string>& into) {
        forEachEntry(*list, [&](const std::string& entry) {
            ports_.run.yield();
            into.push_back(entry);
        });
    };
    take(list_.paths);
    std::string header;
    if (list->readLine(header)) list_.registryHeader = header;
    take(list_.keys);
    for (auto& lines : list_.lines) {
        if (!list->readLine(header)) break;
        forEachEntry(*list, [&](const std::string& entry) {
            ports_.run.yield();
            const std::size_t cut = entry.find(removal_list::Separator);
            const std::string_view rest =
                cut == std::string::npos ? std::string_view() : std::string_view(entry).substr(cut + 1);
            lines.push_back({entry, entry.substr(0, cut), std::string(rest.substr(0, rest.find(removal_list::Separator)))});
        });
    }
    if (list->readLine(header) && header == removal_list::ValuesHeader) {
        bool readable = true;
        forEachEntry(*list, [&](const std::string& entry) {
            ports_.run.yield();
            ValueRow row;
            readable = readable && parseValueEntry(entry, row);
            list_.values.emplace_back(entry, std::move(row));
        });
        if (!readable) return false;
    }
    // A list that could not be read to its end is not uninstalled in part.
    return succeeded(list->status());
}

std::vector<undo::RemovedLine> Uninstall::plannedLines() const {
    std::vector<undo::RemovedLine> lines;
    for (std::size_t section = 0; section < ConfigListCount; ++section)
        for (const auto& line : list_.lines[section])
            lines.push_back({configFilePath(static_cast<ConfigList>(section), c_.folders), line.added});
    return lines;
}

void Uninstall::removeLines() {
    for (std::size_t section = 0; section < ConfigListCount; ++section) {
        const std::string file = configFilePath(static_cast<ConfigList>(section), c_.folders);
        for (const auto& line : list_.lines[section]) {
            ports_.run.yield();
            if (!succeeded(removeAddedLine(ports_.files, c_.folders.work, file, line.added, line.replaced)))
                failedLines_[section].push_back(&line);
        }
    }
}

// What is left, in the list's own format, so the user can try it again.
bool Uninstall::writeFailedList() {
    failedPath_ = c_.folders.work + std::string(FailedItemsFileName);
    std::unique_ptr<TextWriter> out;
    if (!succeeded(ports_.files.openWrite(failedPath_, WriteMode::Create, out))) return false;
    // Each line's failure sticks in the writer; close() answers for them all.
    const auto left = [&](const std::vector<shell::ItemAnswer>& answers) {
        for (const auto& a : answers)
            if (isLeft(a.outcome, false)) out->putLine(a.item);
    };
    out->putLine(removal_list::FilesHeader);
    left(answer_.files);
    out->putLine(removal_list::SectionEnd);
    out->putLine(list_.registryHeader);
    left(answer_.keys);
    out->putLine(removal_list::SectionEnd);
    for (std::size_t section = 0; section < ConfigListCount; ++section) {
        out->putLine(removal_list::LineHeaders[section]);
        for (const auto* line : failedLines_[section]) out->putLine(line->entry);
        out->putLine(removal_list::SectionEnd);
    }
    std::vector<const std::string*> values;
    for (const auto& [entry, row] : list_.values)
        for (const auto& a : answer_.values)
            if (a.item == shell::valueItem(row.key, row.name) && isLeft(a.outcome, false)) values.push_back(&entry);
    if (!values.empty()) {
        out->putLine(removal_list::ValuesHeader);
        for (const std::string* entry : values) out->putLine(*entry);
        out->putLine(removal_list::SectionEnd);
    }
    return succeeded(out->close());
}

void Uninstall::tell(std::string text, MsgIcon icon) {
    ports_.prompter.message({std::move(text), std::string(CompleteTitle), icon, MsgButtons::Ok});
}

void Uninstall::run() {
    nt_ = ports_.desktop.isNtFamily();
    if (!confirmed()) return;
    if (!gather()) {
        ports_.prompter.message({"This is not a valid Quillon data file. The file may be corrupted.",
                                 "Error opening file", MsgIcon::Exclamation, MsgButtons::Ok});
        return;
    }
    shell::RemovalRequest request;
    request.paths = list_.paths;
    request.keys = list_.keys;
    for (const auto& value : list_.values) request.values.push_back(takeBackOf(value.second));
    request.flags = FileFlags;
    request.mode = shell::RemoveMode::Quiet;
    request.installedBy = saved_;
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
    tell(std::move(text), MsgIcon::Exclamation);
}

}  // namespace

std::string programNameOf(std::string_view removalList) {
    const std::size_t slash = removalList.rfind('\\');
    std::string_view name = slash == std::string_view::npos ? removalList : removalList.substr(slash + 1);
    name.remove_suffix(std::min<std::size_t>(4, name.size()));
    return std::string(name);
}

void uninstallFromDataFile(RemovalContext& context, std::string_view removalList) {
    Uninstall(context, removalList).run();
}

}  // namespace quillon::review
