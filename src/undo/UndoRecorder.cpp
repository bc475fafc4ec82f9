#include "undo/UndoRecorder.h"

#include <algorithm>
#include <cstdio>
#include <memory>

#include "shell/Folders.h"
#include "undo/KeyTreeImage.h"

namespace quillon::undo {
namespace {

// "2026-12-07 15.30.12 NewApp": sorts by time, and a title cannot make it a path.
std::string folderName(const DateTime& when, std::string_view title) {
    char stamp[32];
    std::snprintf(stamp, sizeof stamp, "%04d-%02d-%02d %02d.%02d.%02d", when.year, when.month, when.day, when.hour,
                  when.minute, when.second);
    std::string name = std::string(stamp) + " ";
    // Short, so the record's paths stay well inside MAX_PATH; no trailing dot or space, which
    // Windows would drop from the folder's name.
    constexpr std::string_view NotInNames = "\\/:*?\"<>|";
    for (const char c : title.substr(0, 60)) name += NotInNames.find(c) == std::string_view::npos ? c : '_';
    while (name.ends_with('.') || name.ends_with(' ')) name.pop_back();
    return name;
}

template <typename Write>
bool writeFile(FileSystem& files, const std::string& path, Write write) {
    std::unique_ptr<TextWriter> out;
    return succeeded(files.openWrite(path, WriteMode::Create, out)) && succeeded(write(*out));
}

template <typename Read>
bool readFile(FileSystem& files, const std::string& path, Read read) {
    std::unique_ptr<TextReader> in;
    return succeeded(files.openRead(path, in)) && read(*in);
}

}  // namespace

bool UndoRecorder::record(const std::vector<KeyPath>& keys, const std::vector<shell::FileFate>& files,
                         const std::vector<shell::ValueState>& values) {
    plan_.keys = keys;
    values_ = values;
    plan_.files.clear();
    for (const shell::FileFate& f : files) {
        const FileFate fate = f.place == shell::RemovalPlace::DataFolder ? FileFate::Moved
                              : f.place == shell::RemovalPlace::Deleted  ? FileFate::Deleted
                                                                         : FileFate::RecycleBin;
        plan_.files.push_back({fate, f.path, fate == FileFate::Moved ? f.movedTo : std::string()});
    }
    if (plan_.keys.empty() && plan_.lines.empty() && plan_.files.empty() && values_.empty()) return true;
    if (writeAll()) {
        prune();
        return true;
    }
    // Best effort: the user is told of the failure either way.
    if (!folder_.empty()) static_cast<void>(removeRecordFolder(ports_.files, ports_.run, folder_));
    folder_.clear();
    ports_.prompter.message({std::string(RecordFailedText), errorTitle_, MsgIcon::Exclamation, MsgButtons::Ok});
    return false;
}

bool UndoRecorder::writeAll() {
    FileSystem& files = ports_.files;
    const std::string undoFolder = ports_.dataFolder + std::string(UndoFolderName);
    // Usually both are there already.
    static_cast<void>(files.createFolder(ports_.dataFolder.substr(0, ports_.dataFolder.size() - 1)));  // usually there already; a real failure shows in the writes after
    static_cast<void>(files.createFolder(undoFolder));  // usually there already; a real failure shows in the writes after

    const DateTime now = ports_.clock.now();
    std::string folder = undoFolder + "\\" + folderName(now, plan_.title);
    FileInfo taken;
    for (int n = 2; succeeded(files.info(folder, taken)); ++n)
        folder = undoFolder + "\\" + folderName(now, plan_.title) + " (" + std::to_string(n) + ")";
    if (!succeeded(files.createFolder(folder))) return false;
    folder_ = folder + "\\";

    UndoRecord record{plan_.title, ports_.clock.shortDate(now) + " " + ports_.clock.timeText(now), {}, plan_.lines, {},
                      plan_.files};
    record.values = values_;
    std::vector<RegKeyImage> images;
    for (const auto& key : plan_.keys) {
        const std::size_t before = images.size();
        const Status s = captureKeyTree(ports_.registry, key.hive, key.path, images);
        if (s == Status::FileNotFound) continue;  // nothing there to delete
        if (!succeeded(s) || images.size() == before) return false;
        record.keys.push_back(images[before].name);
    }
    if (!images.empty() && !writeFile(files, folder_ + std::string(KeysFileName),
                                      [&](TextWriter& out) { return writeRegFile(out, images); }))
        return false;
    if (!copyConfigFiles(record)) return false;
    if (!plan_.removalList.empty()) {
        if (!succeeded(files.copyFile(plan_.removalList, folder_ + std::string(ListCopyName), false))) return false;
        static_cast<void>(files.setAttributes(folder_ + std::string(ListCopyName), FileAttr::Normal));  // best effort: the attributes are not what the data depends on
        record.removalList = plan_.removalList;
    }
    if (!writeFile(files, folder_ + std::string(ManifestName),
                   [&](TextWriter& out) { return writeManifest(out, record); }))
        return false;
    return check(record, images);
}

bool UndoRecorder::copyConfigFiles(UndoRecord& record) {
    for (const auto& line : plan_.lines) {
        const std::string& path = line.file;
        if (std::any_of(record.configFiles.begin(), record.configFiles.end(),
                        [&](const ConfigCopy& c) { return c.path == path; }))
            continue;
        FileInfo info;
        if (!succeeded(ports_.files.info(path, info))) continue;  // no file, no line to take out
        std::string copyName = shell::nameOf(path);
        for (int n = 2; std::any_of(record.configFiles.begin(), record.configFiles.end(),
                                    [&](const ConfigCopy& c) { return c.copyName == copyName; });
             ++n)
            copyName = std::to_string(n) + " " + shell::nameOf(path);
        if (!succeeded(ports_.files.copyFile(path, folder_ + copyName, false))) return false;
        // A hidden or read-only copy would refuse the record's removal later.
        static_cast<void>(ports_.files.setAttributes(folder_ + copyName, FileAttr::Normal));  // best effort: the attributes are not what the data depends on
        record.configFiles.push_back({path, copyName, info.attributes});
    }
    copies_ = record.configFiles;
    return true;
}

bool UndoRecorder::check(const UndoRecord& record, const std::vector<RegKeyImage>& images) {
    FileSystem& files = ports_.files;
    UndoRecord read;
    if (!readFile(files, folder_ + std::string(ManifestName), [&](TextReader& in) { return readManifest(in, read); }) ||
        read != record)
        return false;
    std::vector<RegKeyImage> keys;
    if (!images.empty() &&
        (!readFile(files, folder_ + std::string(KeysFileName), [&](TextReader& in) { return readRegFile(in, keys); }) ||
         keys != images))
        return false;
    std::vector<std::pair<std::string, std::string>> copies;  // kept, original
    for (const auto& copy : record.configFiles) copies.emplace_back(copy.copyName, copy.path);
    if (!record.removalList.empty()) copies.emplace_back(ListCopyName, record.removalList);
    for (const auto& [kept, original] : copies) {
        const auto copied = fingerprint(files, folder_ + kept);
        if (!copied || copied != fingerprint(files, original)) return false;
    }
    return true;
}

void UndoRecorder::prune() {
    const std::vector<std::string> folders =
        recordFolders(ports_.files, ports_.dataFolder + std::string(UndoFolderName) + "\\");
    // What cannot go now is tried again at the next record.
    for (std::size_t i = RecordsKept; i < folders.size(); ++i)
        static_cast<void>(removeRecordFolder(ports_.files, ports_.run, folders[i]));
}

void UndoRecorder::finish() {
    if (folder_.empty() || copies_.empty()) return;
    // Without this file a restore asks before it puts any configuration file back.
    writeFile(ports_.files, folder_ + std::string(AfterName), [&](TextWriter& out) {
        for (const auto& copy : copies_)
            if (const auto now = fingerprint(ports_.files, copy.path)) out.putLine(std::to_string(*now) + "|" + copy.path);
        return out.close();
    });
}

}  // namespace quillon::undo
