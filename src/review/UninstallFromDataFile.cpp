#include "review/UninstallFromDataFile.h"

#include <array>
#include <memory>
#include <utility>
#include <vector>

#include "platform/TextCompare.h"
#include "review/DllChoice.h"
#include "review/RemovalListFormat.h"
#include "review/RemovalSafety.h"
#include "review/SavedForDeletion.h"
#include "shell/modRegistry.h"
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

struct Outcome {
    bool filesFailed = false;   // the shell's removal reported failure
    bool keysFailed = false;    // a key deletion failed
    bool refused = false;       // an entry was not safe to remove
};

struct KeyItem {
    std::string entry;  // as the list spells it
    KeyEntry key;
};

// Everything the list asks for, read before anything goes, so the undo record can hold it.
struct Gathered {
    std::vector<std::string> refusedFiles;
    std::vector<std::string> paths;  // after the in-use questions
    std::string registryHeader = std::string(removal_list::RegistryHeader);
    std::vector<std::string> refusedKeys;
    std::vector<KeyItem> keys;
    std::array<std::vector<std::pair<std::string, std::string>>, ConfigListCount> lines;  // added, replaced
};

constexpr std::uint32_t FileFlags = FileOpFlag::MultiDestFiles | FileOpFlag::NoConfirmation | FileOpFlag::AllowUndo;

class Uninstall {
public:
    Uninstall(RemovalContext& context, std::string_view removalList)
        : c_(context), ports_(context.ports), listPath_(removalList), guard_(ports_.shell) {}

    void run();

private:
    bool confirmed();
    void gatherFiles(TextReader& list);
    void gatherKeys(TextReader& list);
    void gatherLines(TextReader& list);
    undo::PlannedRemoval plannedRemoval() const;
    void removeFiles(TextWriter& failed);
    void removeKeys(TextWriter& failed);
    void removeLines();
    void report(bool failedListWritten);

    RemovalContext& c_;
    shell::RemovalPorts& ports_;
    std::string listPath_;
    RemovalGuard guard_;
    Gathered list_;
    std::string failedPath_;
    Outcome outcome_;
    bool nt_ = false;
};

bool Uninstall::confirmed() {
    return ports_.prompter.message({"Are you sure you want to remove " + programNameOf(listPath_) +
                                        " and and all of its components?",
                                    "Confirm Quillon Uninstall", MsgIcon::Information, MsgButtons::YesNo}) ==
           MsgAnswer::Yes;
}

void Uninstall::gatherFiles(TextReader& list) {
    std::vector<std::string> candidates;
    forEachEntry(list, [&](const std::string& path) {
        ports_.run.yield();
        if (!guard_.allowsPath(path)) {
            list_.refusedFiles.push_back(path);
        } else if (itemExists(ports_.files, path)) {
            candidates.push_back(path);
        }
    });
    list_.paths = chooseDeletions(ports_.registry, c_.inUse, candidates);
}

void Uninstall::gatherKeys(TextReader& list) {
    std::string header;
    if (list.readLine(header)) list_.registryHeader = header;
    forEachEntry(list, [&](const std::string& entry) {
        ports_.run.yield();
        KeyEntry key = parseKeyEntry(entry);
        if (!key.knownHive || !allowsKeyRemoval(key.path)) {
            list_.refusedKeys.push_back(entry);
        } else {
            list_.keys.push_back({entry, std::move(key)});
        }
    });
}

void Uninstall::gatherLines(TextReader& list) {
    for (auto& lines : list_.lines) {
        std::string header;
        if (!list.readLine(header)) return;
        forEachEntry(list, [&](const std::string& entry) {
            ports_.run.yield();
            const std::size_t first = entry.find(removal_list::Separator);
            const std::string_view rest =
                first == std::string::npos ? std::string_view() : std::string_view(entry).substr(first + 1);
            lines.emplace_back(entry.substr(0, first), std::string(rest.substr(0, rest.find(removal_list::Separator))));
        });
    }
}

undo::PlannedRemoval Uninstall::plannedRemoval() const {
    undo::PlannedRemoval plan{programNameOf(listPath_), {}, {},
                              undo::filesRemoved(ports_, list_.paths, FileFlags, shell::RemoveMode::Quiet), listPath_};
    for (const auto& item : list_.keys) plan.keys.push_back({item.key.hive, item.key.path});
    for (std::size_t section = 0; section < ConfigListCount; ++section)
        for (const auto& [added, replaced] : list_.lines[section])
            plan.lines.push_back({configFilePath(static_cast<ConfigList>(section), c_.folders), added});
    return plan;
}

void Uninstall::removeFiles(TextWriter& failed) {
    for (const auto& path : list_.refusedFiles) failed.writeLine(path);
    outcome_.refused = outcome_.refused || !list_.refusedFiles.empty();
    if (list_.paths.empty() || shell::removeFiles(ports_, list_.paths, FileFlags, shell::RemoveMode::Quiet)) return;
    outcome_.filesFailed = true;
    for (const auto& path : list_.paths)
        if (itemExists(ports_.files, path)) failed.writeLine(path);
}

void Uninstall::removeKeys(TextWriter& failed) {
    for (const auto& entry : list_.refusedKeys) failed.writeLine(entry);
    outcome_.refused = outcome_.refused || !list_.refusedKeys.empty();
    for (const auto& [entry, key] : list_.keys) {
        ports_.run.yield();
        if (!shell::openKey(ports_.registry, key.hive, key.path)) continue;  // already gone
        if (shell::deleteKey(ports_.registry, ports_.prompter, key.hive, key.path)) {
            failed.writeLine(entry);
            outcome_.keysFailed = true;
        }
    }
}

void Uninstall::removeLines() {
    for (std::size_t section = 0; section < ConfigListCount; ++section) {
        const std::string file = configFilePath(static_cast<ConfigList>(section), c_.folders);
        for (const auto& [added, replaced] : list_.lines[section]) {
            ports_.run.yield();
            removeAddedLine(ports_.files, c_.folders.work, file, added, replaced);
        }
    }
}

void Uninstall::run() {
    nt_ = ports_.desktop.isNtFamily();
    if (!confirmed()) return;

    std::unique_ptr<TextReader> list;
    std::string first;
    if (!succeeded(ports_.files.openRead(listPath_, list)) || !list->readLine(first) ||
        findNoCase(first, removal_list::FilesHeader) == std::string::npos) {
        list.reset();
        ports_.prompter.message({"This is not a valid Quillon data file. The file may be corrupted.",
                                 "Error opening file", MsgIcon::Exclamation, MsgButtons::Ok});
        return;
    }
    gatherFiles(*list);
    gatherKeys(*list);
    gatherLines(*list);
    list.reset();

    undo::UndoRecorder record(ports_, plannedRemoval());
    if (!record.write("Error deleting files")) return;

    failedPath_ = c_.folders.work + std::string(FailedItemsFileName);
    std::unique_ptr<TextWriter> failed;
    Status written = ports_.files.openWrite(failedPath_, WriteMode::Create, failed);
    // Without a failed-items list the removal still runs; the list is then kept (see report).
    struct NullWriter final : TextWriter {
        Status write(std::string_view) override { return Status::WriteFault; }
        Status close() override { return Status::WriteFault; }
    } nowhere;
    TextWriter& out = failed ? *failed : nowhere;

    out.writeLine(removal_list::FilesHeader);
    removeFiles(out);
    out.writeLine(removal_list::SectionEnd);
    out.writeLine(list_.registryHeader);
    removeKeys(out);
    out.writeLine(removal_list::SectionEnd);
    for (const auto header : removal_list::LineHeaders) {
        out.writeLine(header);
        out.writeLine(removal_list::SectionEnd);
    }
    const Status closed = out.close();
    if (succeeded(written)) written = closed;
    failed.reset();

    removeLines();
    record.finish();

    removeSavedForDeletion(ports_.registry, listPath_);
    report(succeeded(written));
}

void Uninstall::report(bool failedListWritten) {
    FileSystem& files = ports_.files;
    const auto tell = [&](std::string text, MsgIcon icon) {
        ports_.prompter.message({std::move(text), std::string(CompleteTitle), icon, MsgButtons::Ok});
    };
    if (!outcome_.filesFailed && !outcome_.keysFailed && !outcome_.refused) {
        files.deleteFile(failedPath_);
        files.deleteFile(listPath_);
        tell(programNameOf(listPath_) + " has been uninstalled.", MsgIcon::None);
        return;
    }
    if (nt_ && !outcome_.keysFailed && !outcome_.refused) {
        // Only files failed, and the removal left them for the next restart.
        files.deleteFile(failedPath_);
        files.deleteFile(listPath_);
        tell("Uninstall completed. Some files could not be removed because they may be in use. These files will "
             "be deleted when you restart your computer.",
             MsgIcon::Exclamation);
        return;
    }
    // The failed items take the list's place in one step; when they could not be written or
    // moved, the old list stays, since it still names them.
    if (!failedListWritten || !succeeded(files.moveFile(failedPath_, listPath_, true))) files.deleteFile(failedPath_);
    tell(nt_ ? "Uninstall completed. Some items could not be removed because they may be in use. You should "
               "manually remove items related to the application. See the *.qdf file for items that could not be "
               "removed."
             : "Uninstall completed. Some files could not be removed because they may be in use. You should "
               "manually remove items related to the application. See the *.qdf file for items that could not be "
               "removed.",
         MsgIcon::Exclamation);
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
