#include "detection/SnapshotSearch.h"

#include <algorithm>
#include <cstdint>

#include "platform/TextCompare.h"

namespace quillon::detection {

namespace {

// FNV-1a over the case-folded bytes: equal headers without regard to case hash alike.
std::uint64_t headerKey(std::string_view header) {
    std::uint64_t hash = 14695981039346656037ull;
    forEachFoldedByte(header, [&](unsigned char byte) {
        hash ^= byte;
        hash *= 1099511628211ull;
    });
    return hash;
}

}  // namespace

SnapshotSearch::SnapshotSearch(TextReader& snapshot, RunContext& run) : snapshot_(snapshot), run_(run) {}

bool SnapshotSearch::step() {
    run_.yield();
    stopped_ = stopped_ || run_.stopRequested();
    return !stopped_;
}

bool SnapshotSearch::nextBlockLine(std::string& line) {
    if (pending_) {
        line = std::move(*pending_);
        pending_.reset();
        return true;
    }
    return step() && snapshot_.readLine(line);
}

SnapshotSearch::Found SnapshotSearch::findHeader(std::string_view header) {
    std::uint64_t lineAt = pending_ ? pendingAt_ : snapshot_.position();
    std::string line;
    bool have = nextBlockLine(line);
    if (stopped_) return Found::Stopped;
    if (!have && !indexed_) {
        // At the end: go round to the start, where the wanted block probably is.
        lineAt = 0;
        have = succeeded(snapshot_.seek(0)) && snapshot_.readLine(line);
        if (!have) return Found::No;
    }
    if (have && equalsNoCase(line, header)) return Found::Yes;
    // Not where expected. The line read is given back afterwards, so that the next block,
    // probably the one this line begins, still finds it in step.
    const std::uint64_t after = snapshot_.position();
    if (!indexed_ && !buildIndex()) return Found::Stopped;
    const Found found = seekIndexed(header, have ? lineAt : after);
    if (found == Found::No) {
        // Back to a place the reader itself gave; a failure shows as the reader's status.
        static_cast<void>(snapshot_.seek(after));
        if (have) {
            pending_ = std::move(line);
            pendingAt_ = lineAt;
        }
    }
    return found;
}

bool SnapshotSearch::buildIndex() {
    indexed_ = true;
    if (!succeeded(snapshot_.seek(0))) return true;
    std::string line;
    bool atHeader = true;
    for (;;) {
        if (!step()) return false;
        const std::uint64_t at = snapshot_.position();
        if (!snapshot_.readLine(line)) break;
        if (atHeader) index_.emplace_back(headerKey(line), at);
        atHeader = line == "}";
    }
    std::sort(index_.begin(), index_.end());
    return true;
}

SnapshotSearch::Found SnapshotSearch::seekIndexed(std::string_view header, std::uint64_t from) {
    const std::uint64_t key = headerKey(header);
    const auto begin = std::lower_bound(index_.begin(), index_.end(), std::pair{key, std::uint64_t{0}});
    const auto end = std::upper_bound(begin, index_.end(), std::pair{key, UINT64_MAX});
    const std::size_t count = static_cast<std::size_t>(end - begin);
    // Like a forward search that goes round: the first such header after the current place.
    const std::size_t first = static_cast<std::size_t>(std::lower_bound(begin, end, std::pair{key, from}) - begin);
    std::string line;
    for (std::size_t n = 0; n < count; ++n) {
        const std::uint64_t offset = begin[static_cast<std::ptrdiff_t>((first + n) % count)].second;
        if (!step()) return Found::Stopped;
        if (succeeded(snapshot_.seek(offset)) && snapshot_.readLine(line) && equalsNoCase(line, header))
            return Found::Yes;
    }
    return Found::No;
}

}  // namespace quillon::detection
