#pragma once
// In-memory file system of paths and attributes that reads a path as Windows does (trailing
// dots and spaces, short names, junctions), plus what tests stage: refused and broken listings,
// files another program holds open, failing reads, writes and moves.
#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/FileSystem.h"

namespace quillon::fakes {

class FakeFileSystem final : public FileSystem {
public:
    struct Entry {
        std::string name;              // the last path part as made ("C:" for a drive's root)
        std::string shortName{};       // the 8.3 alias, empty when there is none
        std::uint32_t attributes = 0;  // Directory on folders only
        DateTime lastWrite;
        std::int64_t order = 0;  // listings follow it: the creation order
        std::string content{};
        std::optional<std::uint64_t> reportedSize{};
        bool held = false;  // by another program, sharing nothing
        int writers = 0;    // our own: an exclusive open is refused while one is open
        bool refusesListing = false;
        // A listing gives this many entries ("." and ".." included), then breaks off with the status.
        std::optional<std::pair<std::size_t, Status>> listingBreaksOff{};
        std::string junctionTo{};  // a junction's target by key: paths through it, and its listing, lead there
        bool folder() const { return attributes & FileAttr::Directory; }
    };

    // Staging a path that names nothing throws: a test that stages the wrong thing fails loudly.

    void addDrive(char letter, std::uint32_t driveType = DriveType::Fixed, std::string label = "");
    // Parents (and the drive) are created when missing, for folders and files alike.
    void addFolder(std::string_view path, std::uint32_t attributes = FileAttr::Directory);
    // An empty date means the fake's now.
    void addFile(std::string_view path, std::string_view content = "",
                 std::uint32_t attributes = FileAttr::Archive, DateTime lastWrite = {});
    // The size the file reports, whatever its content; cleared when the file is written.
    void setFileSize(std::string_view path, std::uint64_t size) { existing(path).reportedSize = size; }
    void setLastWrite(std::string_view path, DateTime when) { existing(path).lastWrite = when; }
    void refuseListing(std::string_view folder) { existing(folder).refusesListing = true; }
    // Listings of the folder give `entries` entries ("." and ".." count) and then break off,
    // their status() saying `status`.
    void failListingAfter(std::string_view folder, std::size_t entries, Status status) {
        existing(folder).listingBreaksOff = std::pair{entries, status};
    }
    // A folder entry with ReparsePoint at `path` whose paths and listing lead into `target`.
    void addJunction(std::string_view path, std::string_view target);
    // An entry whose name the ANSI code page cannot carry: listed as `listedName` (with '?' in
    // it, which no path may hold), reached only through its 8.3 `shortName` when there is one.
    void addOutsideCodePage(std::string_view folder, std::string listedName, std::string shortName,
                            bool isFolder = false);
    // As if another program held the file open sharing nothing, until release(): an exclusive open
    // (the program's test for a file in use), a read and a copy are refused.
    void holdOpen(std::string_view path) { existing(path).held = true; }
    void release(std::string_view path) { existing(path).held = false; }
    // Files opened for writing at or below the prefix open fine, but every write and the
    // close fail with `s`.
    void failWritesUnder(std::string_view pathPrefix, Status s = Status::DiskFull);
    // Files at or below the prefix open for reading, but the first read fails with `s`.
    void failReadsUnder(std::string_view pathPrefix, Status s = Status::AccessDenied);
    // Moves whose destination is at or below the prefix fail with `s`.
    void failMovesTo(std::string_view pathPrefix, Status s = Status::AccessDenied);

    bool exists(std::string_view path) const;
    std::optional<std::string> content(std::string_view path) const;
    std::optional<std::uint32_t> attributes(std::string_view path) const;
    // Names of a folder's entries in listing order, without "." and "..".
    std::vector<std::string> childNames(std::string_view folder) const;

    Status list(std::string_view pattern, std::unique_ptr<DirectoryListing>& out) override;
    Status info(std::string_view path, FileInfo& out) override;
    Status setAttributes(std::string_view path, std::uint32_t attributes) override;
    Status openExclusive(std::string_view path) override;
    Status openRead(std::string_view path, std::unique_ptr<TextReader>& out) override;
    Status openWrite(std::string_view path, WriteMode mode, std::unique_ptr<TextWriter>& out) override;
    Status copyFile(std::string_view from, std::string_view to, bool replace) override;
    Status moveFile(std::string_view from, std::string_view to, bool replace) override;
    Status deleteFile(std::string_view path) override;
    Status createFolder(std::string_view path) override;
    Status removeFolder(std::string_view path) override;
    std::uint32_t driveType(std::string_view root) override;
    Status volumeLabel(std::string_view root, std::string& label) override;

private:
    struct Lookup;
    using Failures = std::vector<std::pair<std::string, Status>>;  // path prefixes, case folded

    Lookup find(std::string_view path) const;
    std::shared_ptr<Entry> get(const std::string& key) const;
    Entry& existing(std::string_view path) const;  // throws when the path names nothing
    std::string ensureFolder(std::string_view path);  // its key
    std::shared_ptr<Entry> add(const std::string& key, std::string name, std::uint32_t attributes);
    std::vector<std::shared_ptr<Entry>> children(const std::string& folderKey) const;  // in listing order

    // Every entry by its key: the parts of its path as found (through junctions), case folded,
    // "c:" for a drive's root.
    std::map<std::string, std::shared_ptr<Entry>> entries_;
    std::map<std::string, std::pair<std::uint32_t, std::string>> drives_;  // type and label by root key
    Failures failingWrites_;
    Failures failingMoves_;
    Failures failingReads_;
    std::int64_t made_ = 0;  // entries made so far: the creation order
    DateTime now_{2026, 1, 1, 12, 0, 0};  // the date of everything made and written
};

}  // namespace quillon::fakes
