#pragma once
// Finding a folder's block in the merged snapshot. The scan and the snapshot are written by
// the same walk, so the wanted block is nearly always the next one; when it is not, an index
// from header to file offset, built on the first miss, finds it with one seek instead of a
// pass over the whole file.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/FileSystem.h"
#include "platform/RunContext.h"

namespace quillon::detection {

class SnapshotSearch {
public:
    enum class Found { Yes, No, Stopped };

    SnapshotSearch(TextReader& snapshot, RunContext& run);

    // Positions the snapshot just after the header equal to `header` (without regard to
    // case). When there is none, the snapshot stays where it was.
    Found findHeader(std::string_view header);

    // The next line of the block found; false at the end of the file or when stopped.
    bool nextBlockLine(std::string& line);
    bool stopped() const { return stopped_; }

private:
    bool step();
    bool buildIndex();
    // `from`: the offset the search goes on from.
    Found seekIndexed(std::string_view header, std::uint64_t from);

    TextReader& snapshot_;
    RunContext& run_;
    bool stopped_ = false;
    // A line read ahead and given back, with the offset it started at.
    std::optional<std::string> pending_;
    std::uint64_t pendingAt_ = 0;
    bool indexed_ = false;
    // (hash of the case-folded header, offset of the header), sorted: the offsets of one hash
    // come together and ascending.
    std::vector<std::pair<std::uint64_t, std::uint64_t>> index_;
};

}  // namespace quillon::detection
