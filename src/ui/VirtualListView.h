#pragma once
// A report list that keeps no rows of its own (owner data): it asks its parent for a row's
// texts and picture when it draws the row, so a hundred thousand rows cost no more than the
// few on screen. The list keeps only the count and the selection.
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "ui/ListView.h"

namespace quillon::ui {

// What a virtual list shows, row by row. Asked only for rows being drawn or read, so an answer
// may look something up the first time and keep it.
class ListRows {
public:
    virtual ~ListRows() = default;
    virtual std::string cell(std::size_t row, int column) = 0;
    // An index of the list's small image list, or -1.
    virtual int image(std::size_t row) = 0;
};

class VirtualListView : public ListView {
public:
    using ListView::ListView;

    // Keeps the scroll position and the selection of the rows that remain. Redraws the list
    // when rows went; new rows at the end are drawn as they come. After rows changed in place,
    // refresh().
    void setRowCount(std::size_t rows) const noexcept;
    // Answers the list's requests from `rows`: the texts and picture of a row it draws
    // (LVN_GETDISPINFO), and the row whose first column begins with what the user typed
    // (LVN_ODFINDITEM). The value for WM_NOTIFY, or nothing for any other notification.
    std::optional<LRESULT> answer(const NMHDR& header, ListRows& rows) const;
    // Selects exactly these rows, with as few changes as the list allows.
    void selectOnly(std::vector<std::size_t> rows) const;
    std::vector<std::size_t> selectedIndices() const;
    // After the model reordered or lost rows and holds `rows` now: `place` gives each old row's
    // new index (an index past the end for a row taken out); the selection follows its rows.
    void carrySelection(const std::vector<std::size_t>& place, std::size_t rows) const;
    // Redraws the rows after the model behind them changed.
    void refresh() const noexcept { InvalidateRect(hwnd(), nullptr, FALSE); }
};

}  // namespace quillon::ui
