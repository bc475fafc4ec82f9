#include "detection/ConfigCompare.h"

#include <memory>
#include <optional>

#include "detection/ConfigLineSearch.h"
#include "detection/ScanFiles.h"
#include "platform/TextCompare.h"
#include "shell/Settings.h"
#include "shell/modRegistry.h"
#include "snapshot/ConfigFiles.h"

namespace quillon::detection {

namespace {

constexpr std::string_view NoneReplaced = " ";
constexpr std::uint32_t AnyFile = FileAttr::Hidden | FileAttr::System | FileAttr::ReadOnly;

// The non-empty lines of `from` that no line of `against` equals, without regard to case.
bool unmatchedLines(FileSystem& files, std::string_view from, std::string_view against,
                    std::vector<std::string>& out) {
    std::unique_ptr<TextReader> reader;
    if (!succeeded(files.openRead(from, reader))) return false;
    ConfigLineSearch search(files, std::string(against));
    std::string line;
    while (reader->readLine(line)) {
        if (line.empty()) continue;
        if (!search.find([&](std::string_view candidate) { return equalsNoCase(candidate, line); }))
            out.push_back(line);
    }
    return succeeded(reader->status()) && search.readable();
}

bool identicalTo(std::string_view wanted, std::string_view candidate) { return candidate == wanted; }

// For each removed line, the next non-empty snapshot line after its first occurrence.
std::vector<std::string> linesAfter(FileSystem& files, std::string_view path, const std::vector<std::string>& lines,
                                    bool& readable) {
    std::vector<std::string> after;
    ConfigLineSearch search(files, std::string(path));
    for (const std::string& line : lines) {
        search.rewind();
        search.find([&](std::string_view candidate) { return identicalTo(line, candidate); });
        after.push_back(search.nextNonEmpty());
    }
    readable = search.readable();
    return after;
}

std::string joined(const std::vector<std::string>& entries) {
    std::string text;
    for (const std::string& entry : entries) {
        text += entry;
        text += settings::ListSeparator;
    }
    return text;
}

std::string in(std::string_view folder, std::string_view name) { return std::string(folder) + std::string(name); }

// The section of one file, or nothing when it is not to be written.
std::optional<ConfigChanges> sectionOf(FileSystem& files, const ConfigFolders& folders, const snapshot::ConfigFile& file) {
    const std::string config = snapshot::configFilePath(file, folders.windows, folders.root);
    const std::string snapshot = in(folders.data, file.snapshot);
    if (!existsWith(files, config, AnyFile) || !existsWith(files, snapshot, AnyFile)) return std::nullopt;
    ConfigChanges changes;
    if (!compareConfigFile(files, snapshot, config, changes)) return std::nullopt;
    return changes;
}

Status writeSection(TextWriter& out, std::string_view header, const ConfigChanges& changes) {
    for (const std::string& line : {std::string(header), joined(changes.added), joined(changes.replaced), std::string("}")}) {
        const Status s = out.writeLine(line);
        if (!succeeded(s)) return s;
    }
    return Status::Ok;
}

}  // namespace

bool compareConfigFile(FileSystem& files, std::string_view snapshotPath, std::string_view configPath,
                       ConfigChanges& out) {
    out = {};
    std::vector<std::string> removed;
    if (!unmatchedLines(files, configPath, snapshotPath, out.added)) return false;
    if (!unmatchedLines(files, snapshotPath, configPath, removed)) return false;

    bool readable = true;
    const std::vector<std::string> afterRemoved = linesAfter(files, snapshotPath, removed, readable);
    ConfigLineSearch config(files, std::string(configPath));
    for (const std::string& added : out.added) {
        config.find([&](std::string_view candidate) { return identicalTo(added, candidate); });
        const std::string afterAdded = config.nextNonEmpty();
        std::size_t i = 0;
        while (i < removed.size() && afterRemoved[i] != afterAdded) ++i;
        out.replaced.push_back(i < removed.size() ? removed[i] : std::string(NoneReplaced));
    }
    return readable && config.readable();
}

Status writeConfigChanges(Registry& registry, FileSystem& files, const ConfigFolders& folders,
                          FindProgress& progress) {
    std::unique_ptr<TextWriter> out;
    const Status opened = files.openWrite(configChangesPath(folders.work), WriteMode::Create, out);
    if (!succeeded(opened)) return opened;
    const shell::KeyPtr key = shell::openKey(registry, Hive::CurrentUser, settings::ScanningKey);
    if (key) {
        for (const snapshot::ConfigFile& file : snapshot::ConfigFiles) {
            if (shell::queryValue(key.get(), file.setting) != "1") continue;
            // A failed write sticks in the writer; close() below answers for it.
            if (const auto changes = sectionOf(files, folders, file))
                static_cast<void>(writeSection(*out, file.header, *changes));
            progress.advance(1);
        }
    }
    return out->close();
}

}  // namespace quillon::detection
