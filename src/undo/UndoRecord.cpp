#include "undo/UndoRecord.h"

#include <algorithm>
#include <charconv>
#include <memory>

#include "platform/ValueLine.h"
#include "shell/FolderEntries.h"
#include "undo/RegFile.h"

namespace quillon::undo {
namespace {

constexpr std::string_view Header = "Quillon undo record";
constexpr std::string_view EndLine = "End";
constexpr char Sep = '|';

// "Tag|rest" -> rest, when the line begins with the tag.
bool field(std::string_view line, std::string_view tag, std::string_view& rest) {
    if (line.size() <= tag.size() || !line.starts_with(tag) || line[tag.size()] != Sep) return false;
    rest = line.substr(tag.size() + 1);
    return true;
}

// Splits off the text up to the next separator.
std::string_view cut(std::string_view& rest) {
    const std::size_t at = rest.find(Sep);
    const std::string_view head = rest.substr(0, at);
    rest = at == std::string_view::npos ? std::string_view() : rest.substr(at + 1);
    return head;
}

bool readFile(std::string_view rest, RemovedFile& file) {
    const std::string_view fate = cut(rest);
    if (fate.size() != 1) return false;
    file.fate = static_cast<FileFate>(fate[0]);
    file.path = std::string(cut(rest));
    file.movedTo = std::string(rest);
    switch (file.fate) {
        case FileFate::Moved: return !file.path.empty() && !file.movedTo.empty();
        case FileFate::RecycleBin:
        case FileFate::Deleted: return !file.path.empty() && file.movedTo.empty();
    }
    return false;
}

bool readConfig(std::string_view rest, ConfigCopy& copy) {
    const std::string_view attributes = cut(rest);
    const auto [end, error] =
        std::from_chars(attributes.data(), attributes.data() + attributes.size(), copy.attributes);
    if (error != std::errc() || end != attributes.data() + attributes.size()) return false;
    copy.copyName = std::string(cut(rest));
    copy.path = std::string(rest);
    return !copy.copyName.empty() && !copy.path.empty();
}

// "Value|key\tname\t=data", or "\t-" for a value that was not there.
std::string valueEntry(const shell::ValueState& v) {
    return "Value|" + escapeField(std::string(hiveName(v.key.hive)) + "\\" + v.key.path) + '\t' + escapeField(v.name) +
           '\t' + (v.data ? "=" + *v.data : std::string("-"));
}

bool readValue(std::string_view rest, shell::ValueState& v) {
    const std::size_t first = rest.find('\t');
    const std::size_t second = first == std::string_view::npos ? first : rest.find('\t', first + 1);
    if (second == std::string_view::npos) return false;
    if (!splitKeyName(unescapeField(rest.substr(0, first)), v.key.hive, v.key.path)) return false;
    v.name = unescapeField(rest.substr(first + 1, second - first - 1));
    const std::string_view data = rest.substr(second + 1);
    if (data == "-") return true;
    if (!data.starts_with('=')) return false;
    v.data = std::string(data.substr(1));
    return true;
}

}  // namespace

Status writeManifest(TextWriter& out, const UndoRecord& record) {
    out.putLine(Header);
    out.putLine("Title|" + record.title);
    out.putLine("Date|" + record.when);
    for (const auto& key : record.keys) out.putLine("Key|" + key);
    for (const auto& line : record.lines) out.putLine("Line|" + line.file + Sep + line.text);
    for (const auto& copy : record.configFiles)
        out.putLine("Config|" + std::to_string(copy.attributes) + Sep + copy.copyName + Sep + copy.path);
    for (const auto& file : record.files) {
        std::string line = std::string("File|") + static_cast<char>(file.fate) + Sep + file.path;
        if (file.fate == FileFate::Moved) line += Sep + file.movedTo;
        out.putLine(line);
    }
    for (const auto& value : record.values) out.putLine(valueEntry(value));
    if (!record.removalList.empty()) out.putLine("List|" + record.removalList);
    out.putLine(EndLine);
    return out.close();
}

bool readManifest(TextReader& in, UndoRecord& record) {
    record = {};
    std::string line;
    if (!in.readLine(line) || line != Header) return false;
    while (in.readLine(line)) {
        if (line == EndLine) return !in.readLine(line) && succeeded(in.status());
        std::string_view rest;
        if (field(line, "List", rest)) {
            record.removalList = std::string(rest);
        } else if (field(line, "Title", rest)) {
            record.title = std::string(rest);
        } else if (field(line, "Date", rest)) {
            record.when = std::string(rest);
        } else if (field(line, "Key", rest)) {
            record.keys.emplace_back(rest);
        } else if (field(line, "Line", rest)) {
            RemovedLine& removed = record.lines.emplace_back();
            removed.file = std::string(cut(rest));
            removed.text = std::string(rest);
            if (removed.file.empty()) return false;
        } else if (field(line, "Config", rest)) {
            if (!readConfig(rest, record.configFiles.emplace_back())) return false;
        } else if (field(line, "File", rest)) {
            if (!readFile(rest, record.files.emplace_back())) return false;
        } else if (field(line, "Value", rest)) {
            if (!readValue(rest, record.values.emplace_back())) return false;
        } else {
            return false;
        }
    }
    return false;
}

std::optional<std::uint64_t> fingerprint(FileSystem& files, std::string_view path) {
    std::unique_ptr<TextReader> reader;
    if (!succeeded(files.openRead(path, reader))) return std::nullopt;
    std::uint64_t hash = 0xCBF29CE484222325ULL;
    std::string line;
    while (reader->readLine(line)) {
        line += '\n';
        for (const unsigned char byte : line) hash = (hash ^ byte) * 0x100000001B3ULL;
    }
    if (!succeeded(reader->status())) return std::nullopt;
    return hash;
}

std::vector<std::string> recordFolders(FileSystem& files, std::string_view undoFolder) {
    std::vector<std::string> names;
    std::unique_ptr<DirectoryListing> listing;
    if (succeeded(files.list(std::string(undoFolder) + "*.*", listing))) {
        FileInfo entry;
        while (listing->next(entry))
            if ((entry.attributes & FileAttr::Directory) && !entry.name.starts_with('.')) names.push_back(entry.name);
    }
    std::sort(names.begin(), names.end(), std::greater<>());
    for (auto& name : names) name = std::string(undoFolder) + name + "\\";
    return names;
}

Status removeRecordFolder(FileSystem& files, RunContext& run, std::string_view folder) {
    // Only the record's own files: a link or folder someone put inside is never followed,
    // and then the folder stays.
    std::vector<std::string> inside;
    const shell::WalkResult listed = shell::listFolder(files, run, folder, [&](const FileInfo& entry) {
        if (!(entry.attributes & FileAttr::Directory)) inside.push_back(std::string(folder) + entry.name);
    });
    Status first = listed.whole() ? Status::Ok : listed.failure;
    for (const auto& path : inside) {
        static_cast<void>(files.setAttributes(path, FileAttr::Normal));  // a failure shows in the delete
        if (const Status s = files.deleteFile(path); !succeeded(s) && succeeded(first)) first = s;
    }
    const Status removed = files.removeFolder(std::string(folder.substr(0, folder.size() - 1)));
    return succeeded(first) ? removed : first;
}

}  // namespace quillon::undo
