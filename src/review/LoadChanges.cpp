#include "review/LoadChanges.h"

#include <algorithm>
#include <array>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "detection/RegistryFileNames.h"
#include "detection/ScanFiles.h"
#include "review/ChangesFileNames.h"
#include "review/ConfigLineList.h"
#include "review/FolderLookup.h"
#include "review/ValueRows.h"
#include "shell/FolderSize.h"
#include "shell/FormatSize.h"
#include "shell/Settings.h"
#include "shell/modRegistry.h"

namespace quillon::review {

namespace {

constexpr std::uint32_t AnyAttributes = FileAttr::Hidden | FileAttr::System | FileAttr::Directory;
constexpr std::string_view FolderTypeName = "Folder";
constexpr std::string_view BlockEnd = "}";

// A changes file read line by line, with a yield before every read so that the window stays
// responsive on a long file. A file that does not open reads as empty.
class ChangesFile {
public:
    ChangesFile(LoadPorts& ports, const std::string& path) : run_(ports.run) {
        if (!succeeded(ports.files.openRead(path, reader_))) reader_.reset();
    }
    bool next(std::string& line) {
        if (!reader_) return false;
        run_.yield();
        return !run_.stopRequested() && reader_->readLine(line);
    }
    // Reads up to and including the block's closing line, or to the end of the file.
    void skipBlock() {
        std::string line;
        while (next(line) && line != BlockEnd) {
        }
    }

private:
    RunContext& run_;
    std::unique_ptr<TextReader> reader_;
};

std::string in(std::string_view folder, std::string_view name) { return std::string(folder) + std::string(name); }

// One block's rows: the names of files still there, in block order, with their sizes.
void addFileRows(LoadPorts& ports, ChangeSet& set, const std::string& folder, const std::vector<std::string>& names) {
    const std::vector<std::optional<FileInfo>> found = lookUpInFolder(ports.files, ports.run, folder, names);
    for (std::size_t i = 0; i < names.size(); ++i) {
        // A file gone since the run is not shown.
        if (!found[i]) {
            set.absentFiles.push_back(folder + names[i]);
            continue;
        }
        FileRow row;
        row.name = names[i];
        row.folder = folder;
        row.bytes = static_cast<double>(found[i]->size);
        row.sizeText = shell::formatSize(row.bytes, false);
        set.totalBytes += row.bytes;
        set.files.push_back(std::move(row));
    }
}

// `path`: the new folder's path as its record gives it, ending in "\".
void addFolderRow(LoadPorts& ports, ChangeSet& set, std::string_view path) {
    if (!path.empty() && path.back() == '\\') path.remove_suffix(1);
    if (path.empty()) return;
    const auto cut = path.rfind('\\');
    FileRow row;
    row.isFolder = true;
    row.name = std::string(cut == std::string_view::npos ? path : path.substr(cut + 1));
    row.folder = std::string(cut == std::string_view::npos ? std::string_view() : path.substr(0, cut + 1));
    row.typeName = std::string(FolderTypeName);
    row.typeKnown = true;
    // File rows are made only for files that are there; a new folder may have gone since.
    if (!existsWith(ports.files, row.fullPath(), AnyAttributes)) {
        set.absentFiles.push_back(row.fullPath());
        return;
    }
    row.bytes = shell::folderSize(ports.files, ports.run, row.fullPath());
    row.sizeText = shell::formatSize(row.bytes, false);
    set.totalBytes += row.bytes;
    set.files.push_back(std::move(row));
}

// "changes.qdb": file rows as their blocks come, folder rows after them all.
void loadFiles(LoadPorts& ports, ChangeSet& set, std::string_view workFolder) {
    const std::string path = detection::changesPath(workFolder);
    std::vector<std::string> newFolders;
    {
        ChangesFile file(ports, path);
        std::string line;
        while (file.next(line)) {
            if (line.size() >= 2 && line.front() == '!') {
                newFolders.push_back(line.substr(1, line.size() - 2));
                file.skipBlock();
            } else if (!line.empty() && line.back() == '{') {
                const std::string folder = line.substr(0, line.size() - 1);
                std::vector<std::string> names;
                std::string name;
                while (file.next(name) && name != BlockEnd) {
                    if (!name.empty()) names.push_back(std::move(name));
                }
                addFileRows(ports, set, folder, names);
            }
        }
    }
    removeLeftover(ports.files, path);
    for (const std::string& folder : newFolders) {
        if (ports.run.stopRequested()) break;
        addFolderRow(ports, set, folder);
    }
}

struct LineListSetting {
    ConfigList list;
    std::string_view setting;
};
constexpr LineListSetting LineListSettings[] = {
    {ConfigList::AutoexecBat, settings::scanning::AutoexecScan},
    {ConfigList::ConfigSys, settings::scanning::ConfigSysScan},
    {ConfigList::SystemIni, settings::scanning::SystemIniScan},
    {ConfigList::WinIni, settings::scanning::WinIniScan},
};

// "sysChanges.qdb": each section's two lists into its line list.
void loadConfigLines(LoadPorts& ports, ChangeSet& set, std::string_view workFolder) {
    const std::string path = in(workFolder, changes_files::SysChanges);
    {
        ChangesFile file(ports, path);
        std::string line;
        while (file.next(line)) {
            const auto& headers = changes_files::SectionHeaders;
            const auto header = std::find(headers.begin(), headers.end(), line);
            if (header == headers.end()) continue;
            std::string added;
            std::string replaced;
            std::string closing;
            if (!file.next(added)) break;
            const bool haveReplaced = file.next(replaced);
            if (!haveReplaced) replaced.clear();
            fillConfigLineList(set.lines[static_cast<std::size_t>(header - headers.begin())], added,
                               replaced);
            if (!haveReplaced || !file.next(closing)) break;
        }
    }
    removeLeftover(ports.files, path);
}

KeyRow keyRow(std::string_view hiveName, std::string_view key) {
    const auto cut = key.rfind('\\');
    const std::size_t nameStart = cut == std::string_view::npos ? 0 : cut + 1;
    return {std::string(key.substr(nameStart)), std::string(hiveName) + std::string(key.substr(0, nameStart))};
}

void loadKeys(LoadPorts& ports, ChangeSet& set, Hive hive, std::string_view hiveName, const std::string& path) {
    {
        ChangesFile file(ports, path);
        std::string key;
        while (file.next(key)) {
            // An empty line would stand for the hive itself, which is never a change.
            if (key.empty()) continue;
            if (shell::openKey(ports.registry, hive, key)) {
                set.keys.push_back(keyRow(hiveName, key));
            } else {
                set.absentKeys.push_back(std::string(hiveName) + key);
            }
        }
    }
    removeLeftover(ports.files, path);
}

void loadValues(LoadPorts& ports, ChangeSet& set, std::string_view hiveName, const std::string& path) {
    {
        ChangesFile file(ports, path);
        std::string text;
        detection::ValueChangeLine line;
        while (file.next(text))
            if (detection::parseValueChange(text, line)) set.values.push_back(valueRowOf(hiveName, line));
    }
    removeLeftover(ports.files, path);
}

}  // namespace

ChangeSet loadChanges(LoadPorts& ports, std::string_view workFolder) {
    ChangeSet set;
    loadChanges(ports, workFolder, set);
    return set;
}

void loadChanges(LoadPorts& ports, std::string_view workFolder, ChangeSet& set) {
    loadFiles(ports, set, workFolder);
    set.files.shrink_to_fit();  // what the rows grew into may be twice what they need

    const shell::KeyPtr scanning = shell::openKey(ports.registry, Hive::CurrentUser, settings::ScanningKey);
    for (const LineListSetting& entry : LineListSettings) {
        if (shell::queryValue(scanning.get(), entry.setting) != "1") set.linesOf(entry.list).push_back(LineRow::placeholder());
    }
    const bool registryScanned = shell::queryValue(scanning.get(), settings::scanning::RegScan) == "1";

    loadConfigLines(ports, set, workFolder);

    const std::string hkcu = in(workFolder, detection::registry_files::HkcuChanges);
    if (!registryScanned || !existsWith(ports.files, hkcu, FileAttr::Hidden)) {
        set.keys.push_back(KeyRow::placeholder());
        return;
    }
    loadKeys(ports, set, Hive::CurrentUser, "HKEY_CURRENT_USER\\", hkcu);
    loadKeys(ports, set, Hive::LocalMachine, "HKEY_LOCAL_MACHINE\\",
             in(workFolder, detection::registry_files::HklmChanges));
    loadValues(ports, set, "HKEY_CURRENT_USER\\", in(workFolder, detection::registry_files::HkcuValueChanges));
    loadValues(ports, set, "HKEY_LOCAL_MACHINE\\", in(workFolder, detection::registry_files::HklmValueChanges));
}

}  // namespace quillon::review
