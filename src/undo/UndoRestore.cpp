#include "undo/UndoRestore.h"

#include <map>
#include <memory>
#include <optional>
#include <vector>

#include "platform/TextCompare.h"
#include "undo/KeyTreeImage.h"
#include "undo/UndoRecord.h"

namespace quillon::undo {
namespace {

constexpr std::size_t ListedPerSection = 10;
constexpr std::string_view RewriteName = "tempUndo.qdb";

bool exists(FileSystem& files, std::string_view path) {
    FileInfo info;
    return succeeded(files.info(path, info));
}

struct Latest {
    std::string folder;
    UndoRecord record;
    bool restored = false;
};

// The newest record that reads whole; older ones never stand in for a newer one undone.
std::optional<Latest> latestRecord(FileSystem& files, std::string_view dataFolder) {
    for (const auto& folder : recordFolders(files, std::string(dataFolder) + std::string(UndoFolderName) + "\\")) {
        std::unique_ptr<TextReader> in;
        Latest latest{folder, {}, exists(files, folder + std::string(RestoredName))};
        if (succeeded(files.openRead(folder + std::string(ManifestName), in)) && readManifest(*in, latest.record))
            return latest;
    }
    return std::nullopt;
}

void appendList(std::string& text, std::string_view heading, const std::vector<std::string>& items) {
    if (items.empty()) return;
    text += "\r\n" + std::string(heading) + "\r\n";
    for (std::size_t i = 0; i < items.size() && i < ListedPerSection; ++i) text += "    " + items[i] + "\r\n";
    if (items.size() > ListedPerSection)
        text += "    ... and " + std::to_string(items.size() - ListedPerSection) + " more\r\n";
}

// The files of the record that are no longer at their place, by what became of them.
struct GoneFiles {
    std::vector<const RemovedFile*> moved;
    std::vector<std::string> recycled, lost;
};

GoneFiles goneFiles(FileSystem& files, const UndoRecord& record) {
    GoneFiles gone;
    for (const auto& file : record.files) {
        if (exists(files, file.path)) continue;  // it never went, or is back
        switch (file.fate) {
            case FileFate::Moved: gone.moved.push_back(&file); break;
            case FileFate::RecycleBin: gone.recycled.push_back(file.path); break;
            case FileFate::Deleted: gone.lost.push_back(file.path); break;
        }
    }
    return gone;
}

std::string question(const UndoRecord& record, const GoneFiles& gone) {
    std::string text = "Quillon removed these items (" + record.title + ", " + record.when + "):\r\n";
    std::vector<std::string> lines, moved;
    for (const auto& line : record.lines) lines.push_back(line.file + ": " + line.text);
    for (const auto* file : gone.moved) moved.push_back(file->path + "  (now in " + file->movedTo + ")");
    appendList(text, "Registry keys:", record.keys);
    std::vector<std::string> values;
    for (const auto& v : record.values)
        values.push_back(std::string(hiveName(v.key.hive)) + "\\" + v.key.path + "  \"" + v.name + "\"");
    appendList(text, "Registry values put back:", values);
    appendList(text, "Lines taken out of configuration files:", lines);
    appendList(text, "Files and folders moved:", moved);
    appendList(text, "Files and folders in the Recycle Bin:", gone.recycled);
    appendList(text, "Files and folders deleted for good:", gone.lost);
    if (!record.removalList.empty()) appendList(text, "Removal list:", {record.removalList});
    return text + "\r\nDo you want to restore them?";
}

class Restore {
public:
    Restore(RestorePorts& ports, Latest latest) : ports_(ports), latest_(std::move(latest)) {}

    void run();

private:
    void restoreKeys();
    void restoreValues();
    void restoreConfigFiles();
    void restoreRemovalList();
    bool putBack(std::string_view copyName, const std::string& path, std::uint32_t attributes);
    void moveBack(const RemovedFile& file);
    void report(const GoneFiles& gone);

    RestorePorts& ports_;
    Latest latest_;
    std::vector<std::string> failed_;
    std::size_t keys_ = 0, values_ = 0, configs_ = 0, moved_ = 0;
    bool listBack_ = false;
};

void Restore::run() {
    const GoneFiles gone = goneFiles(ports_.files, latest_.record);
    if (ports_.prompter.message({question(latest_.record, gone), std::string(UndoTitle), MsgIcon::Question,
                                 MsgButtons::YesNo, 2}) != MsgAnswer::Yes)
        return;
    restoreKeys();
    restoreValues();
    restoreConfigFiles();
    for (const auto* file : gone.moved) moveBack(*file);
    restoreRemovalList();

    std::unique_ptr<TextWriter> marker;
    Status marked = ports_.files.openWrite(latest_.folder + std::string(RestoredName), WriteMode::Create, marker);
    if (succeeded(marked)) marked = marker->close();
    if (!succeeded(marked)) failed_.push_back("the mark that this removal was undone");
    report(gone);
}

// Key by key, so that one key the system refuses (a volatile parent, say) is the only one
// reported.
void Restore::restoreKeys() {
    const auto& keys = latest_.record.keys;
    if (keys.empty()) return;
    std::vector<RegKeyImage> images;
    std::unique_ptr<TextReader> in;
    if (!succeeded(ports_.files.openRead(latest_.folder + std::string(KeysFileName), in)) || !readRegFile(*in, images)) {
        failed_.insert(failed_.end(), keys.begin(), keys.end());
        return;
    }
    for (const auto& key : keys) {
        std::vector<RegKeyImage> tree;
        for (const auto& image : images)
            if (equalsNoCase(image.name, key) || startsWithNoCase(image.name, key + "\\")) tree.push_back(image);
        if (!tree.empty() && succeeded(undo::restoreKeys(ports_.registry, tree))) {
            ++keys_;
        } else {
            failed_.push_back(key);
        }
    }
}

void Restore::restoreValues() {
    for (const shell::ValueState& value : latest_.record.values) {
        if (succeeded(shell::putValueState(ports_.registry, value)))
            ++values_;
        else
            failed_.push_back(std::string(hiveName(value.key.hive)) + "\\" + value.key.path + "  \"" + value.name + "\"");
    }
}

void Restore::restoreConfigFiles() {
    // "hash|path" per file, as the removal left it.
    std::map<std::string, std::string> after;
    std::unique_ptr<TextReader> in;
    if (succeeded(ports_.files.openRead(latest_.folder + std::string(AfterName), in))) {
        std::string line;
        while (in->readLine(line))
            if (const std::size_t bar = line.find('|'); bar != std::string::npos)
                after[line.substr(bar + 1)] = line.substr(0, bar);
    }
    for (const auto& copy : latest_.record.configFiles) {
        const auto now = fingerprint(ports_.files, copy.path);
        const auto known = after.find(copy.path);
        const bool unchanged = now && known != after.end() && known->second == std::to_string(*now);
        if (!unchanged &&
            ports_.prompter.message({copy.path +
                                         " was changed after the removal. Put back the copy from before the removal? "
                                         "The changes made since then will be lost.",
                                     std::string(UndoTitle), MsgIcon::Question, MsgButtons::YesNo, 2}) != MsgAnswer::Yes)
            continue;
        if (putBack(copy.copyName, copy.path, copy.attributes)) {
            ++configs_;
        } else {
            failed_.push_back(copy.path);
        }
    }
}

// The whole list again, also over the failed-items list an uninstall may have left in its place.
void Restore::restoreRemovalList() {
    const std::string& list = latest_.record.removalList;
    if (list.empty()) return;
    if (!putBack(ListCopyName, list, FileAttr::Normal)) {
        failed_.push_back(list);
        return;
    }
    listBack_ = true;
    if (ports_.removalListBack) ports_.removalListBack(list);
}

// Through a work copy, so the file is replaced in one step or not at all.
bool Restore::putBack(std::string_view copyName, const std::string& path, std::uint32_t attributes) {
    FileSystem& files = ports_.files;
    const std::string temp = ports_.workFolder + std::string(RewriteName);
    static_cast<void>(files.setAttributes(temp, FileAttr::Normal));  // best effort: the attributes are not what the data depends on
    return succeeded(files.copyFile(latest_.folder + std::string(copyName), temp, true)) &&
           succeeded(replaceWithWorkCopy(files, temp, path, attributes));
}

void Restore::moveBack(const RemovedFile& file) {
    if (exists(ports_.files, file.movedTo)) {
        const FileOpResult r = ports_.shell.fileOperation(
            {FileOpKind::Move, {file.movedTo}, file.path,
             FileOpFlag::NoConfirmation | FileOpFlag::NoConfirmMkdir | FileOpFlag::NoErrorUi, ports_.owner});
        if (succeeded(r.status) && !r.aborted && exists(ports_.files, file.path)) {
            ++moved_;
            return;
        }
    }
    failed_.push_back(file.path);
}

void Restore::report(const GoneFiles& gone) {
    std::string text = "Registry keys restored: " + std::to_string(keys_) +
                       (latest_.record.values.empty() ? "" : "\r\nRegistry values restored: " + std::to_string(values_)) +
                       "\r\nConfiguration files put back: " + std::to_string(configs_) +
                       "\r\nFiles and folders moved back: " + std::to_string(moved_) + "\r\n";
    if (listBack_) text += "The removal list " + latest_.record.removalList + " is back.\r\n";
    appendList(text, "These are in the Recycle Bin; open the Recycle Bin to restore them:", gone.recycled);
    appendList(text, "These were deleted for good and are lost:", gone.lost);
    appendList(text, "These could not be restored:", failed_);
    ports_.prompter.message({text, std::string(UndoTitle), failed_.empty() ? MsgIcon::Information : MsgIcon::Exclamation,
                             MsgButtons::Ok});
}

}  // namespace

bool canUndo(FileSystem& files, std::string_view dataFolder) {
    const auto latest = latestRecord(files, dataFolder);
    return latest && !latest->restored;
}

void undoLastRemoval(RestorePorts& ports) {
    auto latest = latestRecord(ports.files, ports.dataFolder);
    if (!latest || latest->restored) {
        ports.prompter.message({"There is no removal to undo.", std::string(UndoTitle), MsgIcon::Information,
                                MsgButtons::Ok});
        return;
    }
    Restore(ports, std::move(*latest)).run();
}

}  // namespace quillon::undo
