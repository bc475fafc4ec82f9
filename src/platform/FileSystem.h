#pragma once
// File system port. Paths are Windows paths ("C:\Dir\name.ext") in UTF-8, of any length, and
// are compared without regard to case.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "platform/DateTime.h"
#include "platform/Status.h"

namespace quillon {

namespace FileAttr {
inline constexpr std::uint32_t ReadOnly = 0x1;
inline constexpr std::uint32_t Hidden = 0x2;
inline constexpr std::uint32_t System = 0x4;
inline constexpr std::uint32_t Directory = 0x10;
inline constexpr std::uint32_t Archive = 0x20;
inline constexpr std::uint32_t Normal = 0x80;
inline constexpr std::uint32_t ReparsePoint = 0x400;
}  // namespace FileAttr

namespace DriveType {
inline constexpr std::uint32_t Unknown = 0;
inline constexpr std::uint32_t NoRootDir = 1;
inline constexpr std::uint32_t Removable = 2;
inline constexpr std::uint32_t Fixed = 3;
inline constexpr std::uint32_t Remote = 4;
inline constexpr std::uint32_t CdRom = 5;
inline constexpr std::uint32_t RamDisk = 6;
}  // namespace DriveType

struct FileInfo {
    std::string name;              // the name as the file system spells it, no folder
    std::uint32_t attributes = 0;
    std::uint64_t size = 0;
    DateTime lastWrite;            // local time
    // The 8.3 alternate name, where a listing gives one (the system's does not: its names
    // come whole). A listing whose names came back with '?' in them gives it to reach the file.
    std::string shortName;
};

// One find-first/find-next walk; the find handle is closed when this is destroyed.
// Entries come in the file system's order, "." and ".." included where the system gives them.
class DirectoryListing {
public:
    virtual ~DirectoryListing() = default;
    // False at the end of the listing, whether it ended normally or not: status() tells.
    virtual bool next(FileInfo& entry) = 0;
    // Ok while entries come and after the normal end; the error once the system broke the
    // listing off, so that what came before is not taken for the whole folder.
    virtual Status status() const = 0;
};

// Reads lines: a line ends at CR LF, at a lone LF or at a lone CR; a last line without an
// ending is still a line. Bytes are passed through unchanged.
class TextReader {
public:
    virtual ~TextReader() = default;
    virtual bool readLine(std::string& line) = 0;
    // Ok, or the error that ended reading early.
    virtual Status status() const = 0;
    // The byte offset of the next line readLine gives; seek() goes back (or on) to an offset
    // that position() gave, so a reader can return to a line it has passed.
    virtual std::uint64_t position() const = 0;
    virtual Status seek(std::uint64_t offset) = 0;
};

// Writes bytes; writeLine appends CR LF. Every failure sticks: close() reports the first one,
// so a caller checks close() once before it trusts the file.
class TextWriter {
public:
    virtual ~TextWriter() = default;
    virtual Status write(std::string_view bytes) = 0;
    Status writeLine(std::string_view line) {
        const Status s = write(line);
        return succeeded(s) ? write("\r\n") : s;
    }
    // For a writer whose close() the caller checks: the failure sticks until then.
    void putLine(std::string_view line) { static_cast<void>(writeLine(line)); }
    virtual Status close() = 0;
};

enum class WriteMode { Create, Append };

class FileSystem {
public:
    virtual ~FileSystem() = default;

    // pattern: folder + "\" + a mask ("*.*", "*", "*.tmp"). FileNotFound/PathNotFound when
    // nothing matches or the folder is missing, AccessDenied when it refuses listing.
    virtual Status list(std::string_view pattern, std::unique_ptr<DirectoryListing>& out) = 0;

    // Attributes, size and date of one file or folder (name = its last path part).
    virtual Status info(std::string_view path, FileInfo& out) = 0;
    virtual Status setAttributes(std::string_view path, std::uint32_t attributes) = 0;

    // Opens the file with no sharing and closes it again: Ok, SharingViolation when another
    // program holds it open, FileNotFound, AccessDenied...
    virtual Status openExclusive(std::string_view path) = 0;

    virtual Status openRead(std::string_view path, std::unique_ptr<TextReader>& out) = 0;
    virtual Status openWrite(std::string_view path, WriteMode mode, std::unique_ptr<TextWriter>& out) = 0;

    virtual Status copyFile(std::string_view from, std::string_view to, bool replace) = 0;
    virtual Status moveFile(std::string_view from, std::string_view to, bool replace) = 0;
    virtual Status deleteFile(std::string_view path) = 0;
    virtual Status createFolder(std::string_view path) = 0;
    virtual Status removeFolder(std::string_view path) = 0;

    // root: "C:\".
    virtual std::uint32_t driveType(std::string_view root) = 0;
    virtual Status volumeLabel(std::string_view root, std::string& label) = 0;
};

// The system's "does it exist" rule of directory listings: a hidden, system or directory
// entry counts only when the mask names that attribute. Normal, read-only and archive entries
// always count.
bool existsWith(FileSystem& fs, std::string_view path, std::uint32_t mask);

// Deletes a work file the operation no longer needs. Best effort: a leftover is replaced the
// next time, and the operation's own result already says what the user must know.
void removeLeftover(FileSystem& fs, std::string_view path);

// Puts a finished work copy in the target's place in one step: only the attributes (hidden,
// system, read-only refuse a replacement) stand in the way, so they are cleared first and set
// to `attributesAfter` once it is done, or back to the target's own when none is given. When
// the move fails the target keeps its attributes and the work copy goes.
Status replaceWithWorkCopy(FileSystem& fs, std::string_view workCopy, std::string_view target,
                           std::optional<std::uint32_t> attributesAfter = std::nullopt);

}  // namespace quillon
