#pragma once
// Taking rows out of the viewer's model while its lists go on showing the others.
#include <cstddef>
#include <limits>
#include <utility>
#include <vector>

namespace quillon::review {

// Where a row that was taken out went.
inline constexpr std::size_t RemovedRow = std::numeric_limits<std::size_t>::max();

// Erases the rows at `indices` (any order; repeats and indices past the end are passed over)
// and returns, for every row there was, its index now or RemovedRow.
template <typename Row>
std::vector<std::size_t> eraseRows(std::vector<Row>& rows, const std::vector<std::size_t>& indices) {
    std::vector<bool> gone(rows.size(), false);
    for (std::size_t index : indices) {
        if (index < rows.size()) gone[index] = true;
    }
    std::vector<std::size_t> moved(rows.size(), RemovedRow);
    std::size_t kept = 0;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (gone[i]) continue;
        if (kept != i) rows[kept] = std::move(rows[i]);
        moved[i] = kept++;
    }
    rows.erase(rows.begin() + static_cast<std::ptrdiff_t>(kept), rows.end());
    return moved;
}

}  // namespace quillon::review
