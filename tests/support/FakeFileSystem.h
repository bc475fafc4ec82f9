#pragma once
// In-memory file system that behaves like Windows' (case-insensitive names kept as spelt,
// "." and ".." in listings, sharing rules of open files, the refusals for read-only and
// hidden files), plus what tests need to stage: listing order, folders that refuse listing,
// files held by another program, failing writes and moves.
#include <cstdint>
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
    FakeFileSystem();
    ~FakeFileSystem() override;
    FakeFileSystem(const FakeFileSystem&) = delete;
    FakeFileSystem& operator=(const FakeFileSystem&) = delete;

    // --- Staging. A path that names nothing where something is required throws
    // std::invalid_argument: a test that stages the wrong thing should fail loudly.

    // Adds the drive, or changes the type and label of one already there.
    void addDrive(char letter, std::uint32_t driveType = DriveType::Fixed, std::string label = "");
    // Creates the folder and its parents (and the drive, as a fixed one) when missing and sets
    // its attributes; the Directory bit is always set.
    void addFolder(std::string_view path, std::uint32_t attributes = FileAttr::Directory);
    // Creates or replaces the file; parents are created. An empty date means the fake's now.
    void addFile(std::string_view path, std::string_view content = "",
                 std::uint32_t attributes = FileAttr::Archive, DateTime lastWrite = {});
    // The size the file reports, whatever its content; cleared when the file is written.
    void setFileSize(std::string_view path, std::uint64_t size);
    void setLastWrite(std::string_view path, DateTime when);
    // Listing order of a folder's entries: these names first (those that exist), then the
    // rest in creation order.
    void setListingOrder(std::string_view folder, std::vector<std::string> names);
    void refuseListing(std::string_view folder);
    // Another program opens the file with no sharing: every open, delete and move of it fails
    // with SharingViolation (replacing it by a move: AccessDenied), until release().
    void holdOpen(std::string_view path);
    void release(std::string_view path);
    // Files opened for writing at or below the prefix open fine, but every write and the
    // close fail with `s`.
    void failWritesUnder(std::string_view pathPrefix, Status s = Status::DiskFull);
    // Moves whose destination is at or below the prefix fail with `s`.
    void failMovesTo(std::string_view pathPrefix, Status s = Status::AccessDenied);
    // The date given to files written through the port (default 2026-01-01 12:00:00).
    void setNow(DateTime when);

    // --- Inspection.
    bool exists(std::string_view path) const;
    std::optional<std::string> content(std::string_view path) const;
    std::optional<std::uint32_t> attributes(std::string_view path) const;
    // Names of a folder's entries in listing order, without "." and "..".
    std::vector<std::string> childNames(std::string_view folder) const;

    // --- FileSystem.
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

    // One file or folder; defined beside the implementation.
    struct Node;

private:
    struct Drive;
    struct Lookup;

    Lookup find(std::string_view path) const;
    Node& existing(std::string_view path) const;   // throws when the path names nothing
    Drive* drive(char letter) const;
    Drive& driveOrAdd(char letter);
    Node& ensureFolder(std::string_view path);

    std::vector<std::unique_ptr<Drive>> drives_;
    std::vector<std::pair<std::string, Status>> failingWrites_;
    std::vector<std::pair<std::string, Status>> failingMoves_;
    DateTime now_{2026, 1, 1, 12, 0, 0};
};

}  // namespace quillon::fakes
