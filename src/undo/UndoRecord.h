#pragma once
// An undo record: one folder below the data folder's "Undo\" per removal, holding what the
// removal took. "Record.qdb" lists it; "Keys.reg" holds the keys, one copy per configuration
// file keeps the file as it was; "After.qdb" fingerprints those files once the removal is
// over, and "Restored.qdb" marks a record that was undone.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/FileSystem.h"
#include "platform/RunContext.h"
#include "shell/ValueTakeBack.h"

namespace quillon::undo {

inline constexpr std::string_view UndoFolderName = "Undo";
inline constexpr std::string_view ManifestName = "Record.qdb";
inline constexpr std::string_view KeysFileName = "Keys.reg";
inline constexpr std::string_view AfterName = "After.qdb";
inline constexpr std::string_view RestoredName = "Restored.qdb";
inline constexpr std::string_view ListCopyName = "Removal list.qdf";
inline constexpr std::size_t RecordsKept = 20;

enum class FileFate : char { RecycleBin = 'R', Deleted = 'D', Moved = 'M' };

struct RemovedFile {
    FileFate fate = FileFate::RecycleBin;
    std::string path;
    std::string movedTo;  // Moved only
    friend bool operator==(const RemovedFile&, const RemovedFile&) = default;
};

struct RemovedLine {
    std::string file;  // the configuration file's path
    std::string text;  // the line as it was added
    friend bool operator==(const RemovedLine&, const RemovedLine&) = default;
};

struct ConfigCopy {
    std::string path;      // where the file lives
    std::string copyName;  // its copy in the record folder
    std::uint32_t attributes = 0;
    friend bool operator==(const ConfigCopy&, const ConfigCopy&) = default;
};

struct UndoRecord {
    std::string title;  // the removal list's name, "Changes" or "Clean-up"
    std::string when;   // as the user reads dates and times
    std::vector<std::string> keys;  // regedit names of the top keys
    std::vector<RemovedLine> lines;
    std::vector<ConfigCopy> configFiles;
    std::vector<RemovedFile> files;
    std::string removalList = {};  // the uninstalled list, kept as ListCopyName
    std::vector<shell::ValueState> values = {};  // values put back, as they were before
    friend bool operator==(const UndoRecord&, const UndoRecord&) = default;
};

Status writeManifest(TextWriter& out, const UndoRecord& record);
// False when the manifest is not complete (a record cut short never counts).
bool readManifest(TextReader& in, UndoRecord& record);

// Fingerprint of a file's lines: equal files give equal values, and a changed line shows.
std::optional<std::uint64_t> fingerprint(FileSystem& files, std::string_view path);

// The record folders below `undoFolder` (ending in "\"), newest first. Their names begin
// with the date and time, so the name order is the time order.
std::vector<std::string> recordFolders(FileSystem& files, std::string_view undoFolder);

// Removes a record folder and the files in it.
Status removeRecordFolder(FileSystem& files, RunContext& run, std::string_view folder);

}  // namespace quillon::undo
