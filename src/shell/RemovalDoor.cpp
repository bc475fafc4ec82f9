#include "shell/RemovalDoor.h"

#include <algorithm>
#include <memory>

#include "platform/Utf16.h"
#include "shell/Folders.h"
#include "shell/FolderEntries.h"
#include "shell/UserFiles.h"
#include "shell/modRegistry.h"

namespace quillon::shell {
namespace {

constexpr std::size_t NamesShown = 10;

// "C:\Apps\a.txt" kept in the data folder as "<data>\Removed\C\Apps\a.txt"; a path already
// taken there gets " (2)", " (3)"... before its extension.
std::string keptPath(FileSystem& files, std::string_view dataFolder, std::string_view path) {
    std::string rest(path.substr(3));
    while (rest.ends_with('\\')) rest.pop_back();
    const std::string base = withBackslash(dataFolder) + std::string(RemovedFolderName) + "\\" +
                             std::string(1, path[0]) + "\\" + rest;
    std::string target = base;
    const std::size_t slash = base.rfind('\\');
    const std::size_t dot = base.rfind('.');
    const std::size_t cut = dot != std::string::npos && dot > slash ? dot : base.size();
    for (int n = 2; itemExists(files, target); ++n)
        target = base.substr(0, cut) + " (" + std::to_string(n) + ")" + base.substr(cut);
    return target;
}

// The shell's file operation takes no path of MAX_PATH or more UTF-16 units.
bool shellCanTake(std::string_view path) { return utf16leBytes(path).size() / 2 < 260; }

// A message box cannot wrap a path without spaces: a deep one keeps its first folder and its
// last parts, cut at a "\" so no character is split.
std::string shownPath(const std::string& path) {
    constexpr std::size_t Wide = 90;
    if (path.size() <= Wide) return path;
    const std::size_t head = path.find('\\', 3);
    std::size_t tail = path.rfind('\\');
    while (tail != std::string::npos && tail > head) {
        const std::size_t before = path.rfind('\\', tail - 1);
        if (before == std::string::npos || before <= head || path.size() - before > Wide - head) break;
        tail = before;
    }
    if (head == std::string::npos || tail == std::string::npos || tail <= head) return path;
    return path.substr(0, head + 1) + "..." + path.substr(tail);
}

std::string namesList(const std::vector<std::string>& items) {
    std::string text;
    for (std::size_t i = 0; i < items.size() && i < NamesShown; ++i) text += "\r\n    " + shownPath(items[i]);
    if (items.size() > NamesShown) text += "\r\n    ... and " + std::to_string(items.size() - NamesShown) + " more";
    return text;
}

class Door {
public:
    Door(RemovalPorts& ports, const RemovalRequest& request, RemovalJournal& journal, const RemovalGuard& guard)
        : ports_(ports), request_(request), journal_(journal), guard_(guard) {}

    RemovalAnswer run();

private:
    void answer(std::vector<ItemAnswer>& to, const std::string& item, Outcome outcome) { to.push_back({item, outcome}); }
    void checkPaths();
    void checkKeys();
    void setUserFilesApart();
    void setTooLongApart();
    void removeForGood();
    void move();
    void keepInDataFolder(const std::vector<FileFate>& fates);
    void deleteWithShell(std::uint32_t flags);
    Outcome deleteAlone(const std::string& path, std::uint32_t flags);
    bool contentAtRestart(const std::string& folder, std::uint32_t flags);
    void removeKeys();
    void checkValues();
    void putValuesBack();
    void tellRefused();
    bool exists(const std::string& path) { return itemExists(ports_.files, path); }

    RemovalPorts& ports_;
    const RemovalRequest& request_;
    RemovalJournal& journal_;
    const RemovalGuard& guard_;
    RemovalAnswer answer_;
    std::vector<std::string> paths_;  // checked, chosen, still there
    std::vector<std::string> ownParts_;  // what stands for a folder that keeps the user's files
    std::vector<std::string> userFolders_;
    std::vector<std::string> tooLong_;  // to delete for good through the file system, as the user agreed
    std::vector<std::pair<std::string, KeyPath>> keys_;  // as requested, and where
    std::vector<const ValueTakeBack*> values_;  // checked, to be put back
    std::vector<ValueState> valuesNow_;          // the same values as they are now
    std::vector<std::string> refused_;
};

void Door::checkPaths() {
    std::vector<std::string> allowed;
    for (const std::string& path : request_.paths) {
        ports_.run.yield();
        if (!guard_.allowsPath(path)) {
            answer(answer_.files, path, Outcome::Refused);
            refused_.push_back(path);
        } else if (!exists(path)) {
            answer(answer_.files, path, Outcome::NotThere);
        } else {
            allowed.push_back(path);
        }
    }
    paths_ = request_.choose ? request_.choose(allowed) : allowed;
    for (const std::string& path : allowed)
        if (std::find(paths_.begin(), paths_.end(), path) == paths_.end()) answer(answer_.files, path, Outcome::Refused);
}

void Door::checkKeys() {
    for (const std::string& entry : request_.keys) {
        const KeyEntry key = parseKeyEntry(entry);
        if (!allowsKeyEntry(key)) {
            answer(answer_.keys, entry, Outcome::Refused);
            refused_.push_back(entry);
        } else {
            keys_.push_back({entry, {key.hive, key.path}});
        }
    }
}

// A folder that holds files written after the installation holds the user's work: it goes
// whole only when the user says so; otherwise only the installation's own parts go.
void Door::setUserFilesApart() {
    if (!request_.installedBy || !request_.moveTo.empty()) return;
    std::vector<std::string> kept;
    for (const std::string& path : paths_) {
        FileInfo info;
        if (!succeeded(ports_.files.info(path, info)) || !(info.attributes & FileAttr::Directory)) {
            kept.push_back(path);
            continue;
        }
        UserFiles later = findUserFiles(ports_.files, ports_.run, path, *request_.installedBy);
        if (later.files.empty() && later.complete) {
            kept.push_back(path);
            continue;
        }
        if (later.complete && ports_.prompter.message({userFilesQuestion(path, later), "Quillon", MsgIcon::Question,
                                                       MsgButtons::YesNo, 2}) == MsgAnswer::Yes) {
            kept.push_back(path);
            continue;
        }
        userFolders_.push_back(path);
        for (std::string& part : later.installationParts)
            if (guard_.allowsPath(part)) ownParts_.push_back(std::move(part));
    }
    paths_ = std::move(kept);
}

// Paths too deep for the shell can still go, for good and through the file system, when the
// user agrees; never skipped without a word.
void Door::setTooLongApart() {
    if (!request_.moveTo.empty()) return;
    std::vector<std::string> deep;
    for (auto* list : {&paths_, &ownParts_})
        for (const std::string& path : *list)
            if (!shellCanTake(path)) deep.push_back(path);
    if (deep.empty()) return;
    const bool agreed =
        request_.mayAsk &&
        ports_.prompter.message({"These items lie too deep for the Recycle Bin and the shell's removal:" +
                                     namesList(deep) + "\r\n\r\nDelete them for good instead?",
                                 "Quillon", MsgIcon::Question, MsgButtons::YesNo, 2}) == MsgAnswer::Yes;
    for (auto* list : {&paths_, &ownParts_}) std::erase_if(*list, [](const std::string& p) { return !shellCanTake(p); });
    for (const std::string& path : deep) {
        if (agreed) {
            tooLong_.push_back(path);
        } else {
            answer(answer_.files, path, Outcome::Refused);
        }
    }
}

// Files first, then the folders from the deepest up; a link goes as a link.
void Door::removeForGood() {
    for (const std::string& path : tooLong_) {
        ports_.run.yield();
        FileInfo info;
        if (!succeeded(ports_.files.info(path, info))) {
            answer(answer_.files, path, Outcome::NotThere);
            continue;
        }
        std::vector<std::string> files, folders{path};
        if ((info.attributes & FileAttr::Directory) && !(info.attributes & FileAttr::ReparsePoint)) {
            struct Collect : WalkRules {
                std::vector<std::string>& files;
                std::vector<std::string>& folders;
                Collect(std::vector<std::string>& f, std::vector<std::string>& d) : files(f), folders(d) {}
                WalkStep handOn(const std::string& folder, const FileInfo& entry) {
                    ((entry.attributes & FileAttr::Directory) ? folders : files).push_back(folder + entry.name);
                    return WalkStep::Go;
                }
            } collect(files, folders);
            const WalkOptions options{WalkOrder::ListingOrder, YieldAt::EachEntry, false,
                                      HandOn::Files | HandOn::Folders | HandOn::LinkedFolders};
            static_cast<void>(walkTree(ports_.files, ports_.run, path, options, collect));  // what stays shows below
        } else if (!(info.attributes & FileAttr::Directory)) {
            folders.clear();
            files.push_back(path);
        }
        for (const std::string& file : files) {
            static_cast<void>(ports_.files.setAttributes(file, FileAttr::Normal));  // the delete tells
            static_cast<void>(ports_.files.deleteFile(file));  // what stays is answered below
        }
        std::sort(folders.begin(), folders.end(), [](const std::string& a, const std::string& b) { return a.size() > b.size(); });
        for (const std::string& folder : folders) static_cast<void>(ports_.files.removeFolder(folder));
        answer(answer_.files, path, exists(path) ? Outcome::Failed : Outcome::Removed);
    }
}

// One operation per file: several sources with one destination folder is no list of
// destinations, and each file is answered for on its own.
void Door::move() {
    const std::uint32_t flags = request_.flags ? request_.flags : FileOpFlag::MultiDestFiles;
    for (const std::string& path : paths_) {
        ports_.run.yield();
        if (fileInUse(ports_.files, path)) {
            answer(answer_.files, path, Outcome::Failed);
            continue;
        }
        const FileOpResult r = ports_.shell.fileOperation({FileOpKind::Move, {path}, request_.moveTo, flags, ports_.owner});
        answer(answer_.files, path, !exists(path) ? Outcome::Removed : r.aborted ? Outcome::Cancelled : Outcome::Failed);
        if (r.aborted) {
            // The user said stop: the rest stays where it is.
            for (const std::string& rest : paths_)
                if (std::none_of(answer_.files.begin(), answer_.files.end(), [&](const ItemAnswer& a) { return a.item == rest; }))
                    answer(answer_.files, rest, Outcome::Cancelled);
            return;
        }
    }
}

void Door::keepInDataFolder(const std::vector<FileFate>& fates) {
    std::uint32_t flags = FileOpFlag::NoConfirmation | FileOpFlag::NoConfirmMkdir;
    if (ports_.desktop.isNtFamily()) flags |= FileOpFlag::NoErrorUi;
    for (const FileFate& fate : fates) {
        if (fate.place != RemovalPlace::DataFolder) continue;  // too deep for the shell: deleted apart
        ports_.run.yield();
        if (fileInUse(ports_.files, fate.path)) {
            answer(answer_.files, fate.path, Outcome::Failed);
            continue;
        }
        const FileOpResult r =
            ports_.shell.fileOperation({FileOpKind::Move, {fate.path}, fate.movedTo, flags, ports_.owner});
        answer(answer_.files, fate.path,
               !exists(fate.path) ? Outcome::Removed : r.aborted ? Outcome::Cancelled : Outcome::Failed);
    }
}

Outcome Door::deleteAlone(const std::string& path, std::uint32_t flags) {
    FileInfo info;
    if (!succeeded(ports_.files.info(path, info))) return Outcome::Removed;
    const FileOpResult alone = ports_.shell.fileOperation({FileOpKind::Delete, {path}, {}, flags, ports_.owner});
    if (!exists(path)) return Outcome::Removed;
    if (alone.aborted) return Outcome::Cancelled;
    if (info.attributes & FileAttr::Directory) return contentAtRestart(withBackslash(path), flags) ? Outcome::AtRestart : Outcome::Failed;
    return succeeded(ports_.shell.deleteAtRestart(path)) ? Outcome::AtRestart : Outcome::Failed;
}

// Empties the folder now where it can and leaves the rest for the restart; never through a
// junction or symbolic link, and never a name the system could not spell. True when nothing
// failed.
bool Door::contentAtRestart(const std::string& folder, std::uint32_t flags) {
    bool allHandled = true;
    std::vector<std::string> stubborn;
    const WalkResult end = listFolder(ports_.files, ports_.run, folder, [&](const FileInfo& entry) {
        const std::string path = folder + entry.name;
        if (!guard_.allowsPath(path) || (entry.attributes & FileAttr::ReparsePoint)) {
            allHandled = false;
            return;
        }
        const FileOpResult r = ports_.shell.fileOperation({FileOpKind::Delete, {path}, {}, flags, ports_.owner});
        if (!exists(path)) return;
        if (r.aborted) {
            allHandled = false;
        } else if (entry.attributes & FileAttr::Directory) {
            stubborn.push_back(path + "\\");
        } else if (!succeeded(ports_.shell.deleteAtRestart(path))) {
            allHandled = false;
        }
    });
    if (!end.whole()) allHandled = false;
    for (const std::string& sub : stubborn) allHandled = contentAtRestart(sub, flags) && allHandled;
    return allHandled;
}

void Door::deleteWithShell(std::uint32_t flags) {
    const bool nt = ports_.desktop.isNtFamily();
    if (nt) flags |= FileOpFlag::NoErrorUi;
    // What the Recycle Bin cannot take is asked about, never destroyed without a word.
    if (flags & FileOpFlag::AllowUndo) flags |= FileOpFlag::WantNukeWarning;
    const FileOpResult all = ports_.shell.fileOperation({FileOpKind::Delete, paths_, {}, flags, ports_.owner});
    bool scheduled = false;
    for (const std::string& path : paths_) {
        ports_.run.yield();
        Outcome outcome = Outcome::Removed;
        if (!exists(path)) {
            outcome = Outcome::Removed;
        } else if (all.aborted) {
            outcome = Outcome::Cancelled;
        } else if (!nt) {
            outcome = Outcome::Failed;
        } else {
            outcome = deleteAlone(path, flags | FileOpFlag::NoConfirmation);
        }
        scheduled = scheduled || outcome == Outcome::AtRestart;
        answer(answer_.files, path, outcome);
    }
    if (scheduled && request_.mode != RemoveMode::Quiet) {
        ports_.prompter.message({"Some files could not be removed because they may be in use. These files "
                                 "will be deleted when you restart your computer.",
                                 "Quillon", MsgIcon::Exclamation, MsgButtons::Ok});
    }
}

void Door::removeKeys() {
    // The user stopped the removal: the keys stay too.
    const bool stopped = answer_.cancelled();
    for (const auto& [entry, key] : keys_) {
        ports_.run.yield();
        if (stopped) {
            answer(answer_.keys, entry, Outcome::Cancelled);
            continue;
        }
        std::unique_ptr<RegistryKey> open;
        if (ports_.registry.open(key.hive, key.path, RegAccess::Read, open) == Status::FileNotFound) {
            answer(answer_.keys, entry, Outcome::NotThere);
            continue;
        }
        open.reset();
        const bool failed = deleteKey(ports_.registry, ports_.prompter, key.hive, key.path);
        answer(answer_.keys, entry, failed ? Outcome::Failed : Outcome::Removed);
    }
}

void Door::checkValues() {
    for (const ValueTakeBack& value : request_.values) {
        const std::string item = valueItem(value.key, value.name);
        ValueState now;
        switch (checkValue(ports_.registry, value, now)) {
            case ValueCheck::AlreadyBack: answer(answer_.values, item, Outcome::NotThere); continue;
            case ValueCheck::NotRestorable:
                answer(answer_.values, item, Outcome::Refused);
                refused_.push_back(item);
                continue;
            case ValueCheck::ChangedSince:
                if (!request_.mayAsk ||
                    ports_.prompter.message({"The value \"" + value.name + "\" of " + value.key +
                                                 " was changed again after the changes were found. Put back what "
                                                 "it held before the installation anyway?",
                                             "Quillon", MsgIcon::Question, MsgButtons::YesNo, 2}) != MsgAnswer::Yes) {
                    answer(answer_.values, item, Outcome::Refused);
                    continue;
                }
                break;
            case ValueCheck::AsFound: break;
        }
        values_.push_back(&value);
        valuesNow_.push_back(std::move(now));
    }
}

void Door::putValuesBack() {
    const bool stopped = answer_.cancelled();
    for (const ValueTakeBack* value : values_) {
        const std::string item = valueItem(value->key, value->name);
        if (stopped) {
            answer(answer_.values, item, Outcome::Cancelled);
            continue;
        }
        answer(answer_.values, item,
               succeeded(applyTakeBack(ports_.registry, *value)) ? Outcome::Removed : Outcome::Failed);
    }
}

void Door::tellRefused() {
    if (refused_.empty() || !request_.tellRefused) return;
    ports_.prompter.message({"These items were not removed, because removing them is not safe:" + namesList(refused_),
                             request_.errorTitle, MsgIcon::Exclamation, MsgButtons::Ok});
}

RemovalAnswer Door::run() {
    checkPaths();
    checkKeys();
    checkValues();
    setUserFilesApart();
    setTooLongApart();
    std::vector<std::string> all = paths_;
    all.insert(all.end(), ownParts_.begin(), ownParts_.end());
    std::vector<FileFate> fates;
    if (!request_.moveTo.empty()) {
        for (const std::string& path : all)
            fates.push_back({path, RemovalPlace::DataFolder, withBackslash(request_.moveTo) + nameOf(path)});
    } else {
        fates = fatesOf(ports_, all, request_.flags, request_.mode);
    }
    for (const std::string& path : tooLong_) fates.push_back({path, RemovalPlace::Deleted, {}});
    std::vector<KeyPath> keys;
    for (const auto& item : keys_) keys.push_back(item.second);
    if (!journal_.write(keys, fates, valuesNow_)) {
        answer_.recorded = false;
        return answer_;
    }
    const std::vector<std::string> folders = std::move(paths_);
    paths_ = all;
    if (!paths_.empty()) {
        if (!request_.moveTo.empty()) {
            move();
        } else if (fates.front().place == RemovalPlace::DataFolder) {
            keepInDataFolder(fates);
        } else {
            deleteWithShell(planRemoval(ports_.registry, request_.flags, request_.mode).flags);
        }
    }
    removeForGood();
    // A folder kept for the user's files answers for itself; its parts are not the user's rows.
    std::erase_if(answer_.files, [&](const ItemAnswer& a) {
        return std::find(ownParts_.begin(), ownParts_.end(), a.item) != ownParts_.end() &&
               std::find(folders.begin(), folders.end(), a.item) == folders.end();
    });
    for (const std::string& folder : userFolders_) answer(answer_.files, folder, Outcome::UserFilesKept);
    removeKeys();
    putValuesBack();
    tellRefused();
    return answer_;
}

}  // namespace

bool RemovalAnswer::gone(const std::string& item) const {
    for (const auto* list : {&files, &keys, &values})
        for (const ItemAnswer& a : *list)
            if (a.item == item) return a.outcome == Outcome::Removed || a.outcome == Outcome::NotThere;
    return false;
}

bool RemovalAnswer::anyLeft() const {
    for (const auto* list : {&files, &keys, &values})
        for (const ItemAnswer& a : *list)
            if (a.outcome != Outcome::Removed && a.outcome != Outcome::NotThere) return true;
    return !recorded;
}

bool RemovalAnswer::cancelled() const {
    return std::any_of(files.begin(), files.end(), [](const ItemAnswer& a) { return a.outcome == Outcome::Cancelled; });
}

std::vector<FileFate> fatesOf(RemovalPorts& ports, const std::vector<std::string>& paths, std::uint32_t flags,
                              RemoveMode mode) {
    const RemovalPlace place = planRemoval(ports.registry, flags, mode).place;
    std::vector<FileFate> fates;
    for (const std::string& path : paths) {
        FileFate fate{path, place, {}};
        if (place == RemovalPlace::DataFolder) {
            fate.movedTo = keptPath(ports.files, ports.dataFolder, path);
            // Two paths of one batch may not aim at one place either.
            for (int n = 2; std::any_of(fates.begin(), fates.end(), [&](const FileFate& f) { return f.movedTo == fate.movedTo; }); ++n)
                fate.movedTo = keptPath(ports.files, ports.dataFolder, path) + " (" + std::to_string(n) + ")";
        }
        fates.push_back(std::move(fate));
    }
    return fates;
}

RemovalAnswer removeThroughDoor(RemovalPorts& ports, const RemovalRequest& request, RemovalJournal& journal) {
    const RemovalGuard guard(ports.shell, ports.dataFolder);
    return Door(ports, request, journal, guard).run();
}

RemovalAnswer removeThroughDoor(RemovalPorts& ports, const RemovalRequest& request, RemovalJournal& journal,
                                const RemovalGuard& guard) {
    return Door(ports, request, journal, guard).run();
}

}  // namespace quillon::shell
