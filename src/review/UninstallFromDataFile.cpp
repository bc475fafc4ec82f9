#include "review/UninstallFromDataFile.h"

#include <memory>
#include <vector>

#include "platform/TextCompare.h"
#include "review/DllChoice.h"
#include "review/RemovalListFormat.h"
#include "review/RemovalSafety.h"
#include "review/SavedForDeletion.h"
#include "shell/modRegistry.h"

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

class Uninstall {
public:
    Uninstall(RemovalContext& context, std::string_view removalList)
        : c_(context), ports_(context.ports), listPath_(removalList), guard_(ports_.shell) {}

    void run();

private:
    bool confirmed();
    void removeFiles(TextReader& list, TextWriter& failed);
    void removeKeys(TextReader& list, TextWriter& failed);
    void removeLines(TextReader& list);
    void report(bool failedListWritten);

    RemovalContext& c_;
    shell::RemovalPorts& ports_;
    std::string listPath_;
    RemovalGuard guard_;
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

void Uninstall::removeFiles(TextReader& list, TextWriter& failed) {
    std::vector<std::string> candidates;
    forEachEntry(list, [&](const std::string& path) {
        ports_.run.yield();
        if (!guard_.allowsPath(path)) {
            failed.writeLine(path);
            outcome_.refused = true;
        } else if (itemExists(ports_.files, path)) {
            candidates.push_back(path);
        }
    });
    const std::vector<std::string> paths = chooseDeletions(ports_.registry, c_.inUse, candidates);
    if (paths.empty()) return;
    constexpr std::uint32_t flags = FileOpFlag::MultiDestFiles | FileOpFlag::NoConfirmation | FileOpFlag::AllowUndo;
    if (shell::removeFiles(ports_, paths, flags, shell::RemoveMode::Quiet)) return;
    outcome_.filesFailed = true;
    for (const auto& path : paths)
        if (itemExists(ports_.files, path)) failed.writeLine(path);
}

void Uninstall::removeKeys(TextReader& list, TextWriter& failed) {
    forEachEntry(list, [&](const std::string& entry) {
        ports_.run.yield();
        const KeyEntry key = parseKeyEntry(entry);
        if (!key.knownHive || !allowsKeyRemoval(key.path)) {
            failed.writeLine(entry);
            outcome_.refused = true;
            return;
        }
        if (!shell::openKey(ports_.registry, key.hive, key.path)) return;  // already gone
        if (shell::deleteKey(ports_.registry, ports_.prompter, key.hive, key.path)) {
            failed.writeLine(entry);
            outcome_.keysFailed = true;
        }
    });
}

void Uninstall::removeLines(TextReader& list) {
    for (std::size_t section = 0; section < ConfigListCount; ++section) {
        const std::string file = configFilePath(static_cast<ConfigList>(section), c_.folders);
        std::string header;
        if (!list.readLine(header)) return;
        forEachEntry(list, [&](const std::string& entry) {
            ports_.run.yield();
            const std::size_t first = entry.find(removal_list::Separator);
            const std::string_view rest =
                first == std::string::npos ? std::string_view() : std::string_view(entry).substr(first + 1);
            const std::string_view replaced = rest.substr(0, rest.find(removal_list::Separator));
            removeAddedLine(ports_.files, c_.folders.work, file, std::string_view(entry).substr(0, first), replaced);
        });
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
    removeFiles(*list, out);
    out.writeLine(removal_list::SectionEnd);
    std::string registryHeader;
    out.writeLine(list->readLine(registryHeader) ? registryHeader : std::string(removal_list::RegistryHeader));
    removeKeys(*list, out);
    out.writeLine(removal_list::SectionEnd);
    for (const auto header : removal_list::LineHeaders) {
        out.writeLine(header);
        out.writeLine(removal_list::SectionEnd);
    }
    const Status closed = out.close();
    if (succeeded(written)) written = closed;
    failed.reset();

    removeLines(*list);
    list.reset();

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
