#pragma once
// The one folder walk of the program. Every walk of a folder tree (drive snapshot and rescan,
// junk and duplicate scans, folder sizes, the browser caches, removals, the undo folder) goes
// through walkTree with its own rules; what no rule can change lives here:
//   - an entry with FileAttr::ReparsePoint (junction, symbolic link, mount point) is never
//     entered, so a tree is never counted twice, never left for another drive, never looped;
//   - "." and ".." are never handed on;
//   - a name with '?' (one the ANSI code page cannot carry) is handed on, and entered, under
//     its 8.3 short name when it has one; without one it is handed on as it came (the removal
//     guard refuses such a path);
//   - the caller learns how the walk ended, and which listings did not end normally.
// The rules are a type of the caller's, called without virtual dispatch (the snapshot walk
// is timed, see bench/SnapshotBench.cpp). Derive from WalkRules and hide what differs.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/FileSystem.h"
#include "platform/RunContext.h"
#include "platform/Status.h"

namespace quillon::shell {

// What a rule answers. Go: on. Skip: from openFolder, the folder is passed over unlisted with
// all below it; from handOn for a folder entry, the walk stays out of that folder. Stop: the
// walk ends as stopped by the user. End: the walk ends at once for a reason of the rules'
// own (a failed write, say); the rules keep the reason.
enum class WalkStep : std::uint8_t { Go, Skip, Stop, End };

enum class WalkEnd : std::uint8_t {
    Completed,  // every folder taken (listings passed over by goesOnAfter are counted in the result)
    Stopped,    // the run's stop flag, or a rule's Stop
    Failed,     // a listing failed and goesOnAfter said to end: failedFolder and failure say which
    Ended,      // a rule's End
};

enum class WalkOrder : std::uint8_t {
    // A folder, then its sub-folders in listing order, each with everything below it before
    // the next: the drive snapshot's order (one block per folder, pre-order).
    ListingOrder,
    // The sub-folders go on a stack as they are listed, so the one listed last is walked first:
    // the order of the clean-up scans and of folder sizes.
    LastListedFirst,
};

// Where the walk lets the message loop run (RunContext::yield) and then looks at the stop flag.
enum class YieldAt : std::uint8_t {
    Never,
    EachFolder,   // before a folder is opened (the snapshot)
    EachEntry,    // after each entry but the dots, handed on or not (the clean-up scans)
    EachListing,  // after a folder's listing, before closeFolder (folder sizes)
};

// Which entries reach WalkRules::handOn. Entering is a separate question (entersFolder).
namespace HandOn {
inline constexpr unsigned Files = 1;          // no Directory attribute (a link to a file is a file)
inline constexpr unsigned Folders = 2;        // Directory, no ReparsePoint
inline constexpr unsigned LinkedFolders = 4;  // Directory and ReparsePoint: handed on, never entered
}  // namespace HandOn

struct WalkOptions {
    WalkOrder order = WalkOrder::LastListedFirst;
    YieldAt yieldAt = YieldAt::EachEntry;
    bool checksStop = true;  // false: the walk yields but never looks at the stop flag
    unsigned handsOn = HandOn::Files;
};

// A listing that did not end normally. A folder that is gone (PathNotFound) or has no entries
// at all (FileNotFound, an empty drive's root) is an empty folder, no failure.
struct ListingFailure {
    std::string_view folder;  // ending in "\"
    Status status;
    // True when the listing began and broke off: the entries handed on are only part of the
    // folder. False when the system refused to list it at all (AccessDenied, ...).
    bool partWay;
};

struct WalkResult {
    WalkEnd end = WalkEnd::Completed;
    // When Failed, the listing that ended the walk; otherwise the first one passed over.
    std::string failedFolder;
    Status failure = Status::Ok;
    std::size_t failedListings = 0;  // every failed listing, passed over or not

    bool completed() const noexcept { return end == WalkEnd::Completed; }
    // Completed, and every folder was listed to its normal end.
    bool whole() const noexcept { return completed() && failedListings == 0; }
};

// The default rules: every folder entered, every entry taken, a failed listing passed over.
// A caller derives from this and hides the members it needs otherwise (same signatures);
// walkTree calls them on the caller's type, so none needs to be virtual.
struct WalkRules {
    // A folder's turn has come (`folder` ends in "\"), before it is listed.
    WalkStep openFolder(const std::string& /*folder*/) { return WalkStep::Go; }
    // An entry that options.handsOn names, after the short-name rule; `folder` is the folder
    // being listed. The entry is the walk's own buffer: copy what must outlive the call.
    WalkStep handOn(const std::string& /*folder*/, const FileInfo& /*entry*/) { return WalkStep::Go; }
    // A sub-folder the walk may enter (no reparse point, not a dot entry, not skipped by
    // handOn), asked while its folder is listed, in listing order. `subFolder` is its full
    // path ending in "\". True: it is walked in its turn.
    bool entersFolder(const std::string& /*subFolder*/, const FileInfo& /*entry*/) { return true; }
    // A listing failed; true goes on with the next folder (closeFolder is still called for
    // this one), false ends the walk as Failed.
    bool goesOnAfter(const ListingFailure& /*failure*/) { return true; }
    // The folder's listing is done (also after a failure that goesOnAfter passed over).
    WalkStep closeFolder(const std::string& /*folder*/) { return WalkStep::Go; }
};

// The walk's short-name rule, for a listing read without the walk: a name the ANSI code page
// could not carry (it holds '?') is replaced by the entry's short name, when it has one.
inline void preferShortName(FileInfo& entry) {
    if (!entry.shortName.empty() && entry.name.find('?') != std::string::npos) entry.name = entry.shortName;
}

namespace detail {

inline bool isDots(const std::string& name) noexcept {
    return !name.empty() && name[0] == '.' && (name.size() == 1 || (name.size() == 2 && name[1] == '.'));
}

inline bool handsOn(unsigned mask, std::uint32_t attributes) noexcept {
    if (!(attributes & FileAttr::Directory)) return mask & HandOn::Files;
    return mask & ((attributes & FileAttr::ReparsePoint) ? HandOn::LinkedFolders : HandOn::Folders);
}

inline WalkResult ending(WalkResult& result, WalkEnd end) {
    result.end = end;
    return std::move(result);
}

// Stop and End end the walk; Go and Skip do not.
inline bool endsWalk(WalkStep step) noexcept { return step == WalkStep::Stop || step == WalkStep::End; }
inline WalkEnd endOf(WalkStep step) noexcept { return step == WalkStep::Stop ? WalkEnd::Stopped : WalkEnd::Ended; }

}  // namespace detail

// Walks `start` (a "\" is added when missing) and the folders below it that the rules enter.
// Each folder is listed once with "*.*"; its listing is closed before the next folder opens.
// Iterative: a deep tree cannot exhaust the stack.
template <typename Rules>
WalkResult walkTree(FileSystem& files, RunContext& run, std::string_view start, const WalkOptions& options,
                    Rules& rules) {
    WalkResult result;
    const auto stopAfterYield = [&] {
        run.yield();
        return options.checksStop && run.stopRequested();
    };
    std::vector<std::string> pending(1, std::string(start));
    if (pending[0].empty() || pending[0].back() != '\\') pending[0] += '\\';
    std::unique_ptr<DirectoryListing> listing;
    FileInfo entry;
    std::string pattern;
    while (!pending.empty()) {
        const std::string folder = std::move(pending.back());
        pending.pop_back();
        if (options.yieldAt == YieldAt::EachFolder && stopAfterYield()) return detail::ending(result, WalkEnd::Stopped);
        if (const WalkStep step = rules.openFolder(folder); step != WalkStep::Go) {
            if (step == WalkStep::Skip) continue;
            return detail::ending(result, detail::endOf(step));
        }
        const std::size_t firstSub = pending.size();
        pattern.assign(folder).append("*.*");
        Status status = files.list(pattern, listing);
        const bool began = succeeded(status);
        if (began) {
            while (listing->next(entry)) {
                if (detail::isDots(entry.name)) continue;
                preferShortName(entry);
                WalkStep step = WalkStep::Go;
                if (detail::handsOn(options.handsOn, entry.attributes)) {
                    step = rules.handOn(folder, entry);
                    if (detail::endsWalk(step)) return detail::ending(result, detail::endOf(step));
                }
                if (step == WalkStep::Go && (entry.attributes & FileAttr::Directory) &&
                    !(entry.attributes & FileAttr::ReparsePoint)) {
                    std::string sub;
                    sub.reserve(folder.size() + entry.name.size() + 1);
                    sub.append(folder).append(entry.name) += '\\';
                    if (rules.entersFolder(sub, entry)) pending.push_back(std::move(sub));
                }
                if (options.yieldAt == YieldAt::EachEntry && stopAfterYield())
                    return detail::ending(result, WalkEnd::Stopped);
            }
            status = listing->status();
            listing.reset();
        } else if (status == Status::FileNotFound || status == Status::PathNotFound) {
            status = Status::Ok;
        }
        if (!succeeded(status)) {
            if (result.failedListings++ == 0) {
                result.failedFolder = folder;
                result.failure = status;
            }
            if (!rules.goesOnAfter(ListingFailure{folder, status, began})) {
                result.failedFolder = folder;
                result.failure = status;
                return detail::ending(result, WalkEnd::Failed);
            }
        }
        if (options.order == WalkOrder::ListingOrder) std::reverse(pending.begin() + firstSub, pending.end());
        if (options.yieldAt == YieldAt::EachListing && stopAfterYield()) return detail::ending(result, WalkEnd::Stopped);
        if (const WalkStep step = rules.closeFolder(folder); detail::endsWalk(step))
            return detail::ending(result, detail::endOf(step));
    }
    return result;
}

}  // namespace quillon::shell
