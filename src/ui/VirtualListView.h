#pragma once
// A report list that keeps no rows of its own (owner data): it asks its parent for a row's
// texts and picture when it draws the row, so a hundred thousand rows cost no more than the
// few on screen. The list keeps only the count and the selection.
#include <cstddef>
#include <string>
#include <vector>

#include "ui/ListView.h"

namespace quillon::ui {

// What a virtual list shows, row by row.
class ListRows {
public:
    virtual ~ListRows() = default;
    virtual std::string cell(std::size_t row, int column) const = 0;
    // An index of the list's small image list, or -1.
    virtual int image(std::size_t row) const = 0;
};

class VirtualListView : public ListView {
public:
    using ListView::ListView;

    // Keeps the scroll position and the selection of the rows that remain.
    void setRowCount(std::size_t rows) const noexcept;
    // Answers the list's request for a row (LVN_GETDISPINFO) from `rows`; false for any other
    // notification.
    bool answer(const NMHDR& header, const ListRows& rows) const;
    // Selects exactly these rows.
    void selectOnly(const std::vector<std::size_t>& rows) const;
    // Redraws the rows after the model behind them changed.
    void refresh() const noexcept { InvalidateRect(hwnd(), nullptr, FALSE); }
};

}  // namespace quillon::ui
