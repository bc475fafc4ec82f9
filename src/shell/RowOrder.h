#pragma once
// Sorting the rows a list shows, for lists that keep their rows in a model (owner-data lists):
// the order is worked out on indices, then the rows move once.
#include <algorithm>
#include <cstddef>
#include <numeric>
#include <string>
#include <utility>
#include <vector>

#include "platform/TextCompare.h"

namespace quillon::shell {

// Positions 0..count-1 ordered by `less` (or against it), rows that compare equal keeping their
// order. Element i of the result is the old position of the row that goes to position i.
template <typename Less>
std::vector<std::size_t> stableOrder(std::size_t count, bool ascending, Less less) {
    std::vector<std::size_t> order(count);
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t a, std::size_t b) { return ascending ? less(a, b) : less(b, a); });
    return order;
}

// The same by a text of each row, compared without regard to case (lowered once, not at every
// comparison).
template <typename Text>
std::vector<std::size_t> orderByText(std::size_t count, bool ascending, Text text) {
    std::vector<std::string> keys;
    keys.reserve(count);
    for (std::size_t i = 0; i < count; ++i) keys.push_back(toLowerAnsi(text(i)));
    return stableOrder(count, ascending, [&](std::size_t a, std::size_t b) { return keys[a] < keys[b]; });
}

// Puts the rows in the order stableOrder gave.
template <typename Row>
void applyOrder(std::vector<Row>& rows, const std::vector<std::size_t>& order) {
    std::vector<Row> sorted;
    sorted.reserve(rows.size());
    for (const std::size_t i : order) sorted.push_back(std::move(rows[i]));
    rows = std::move(sorted);
}

// Where each old position went: the inverse of an order.
inline std::vector<std::size_t> newPlaces(const std::vector<std::size_t>& order) {
    std::vector<std::size_t> place(order.size());
    for (std::size_t now = 0; now < order.size(); ++now) place[order[now]] = now;
    return place;
}

}  // namespace quillon::shell
