#include "ui/VirtualListView.h"

#include <algorithm>

namespace quillon::ui {

// Rows added at the end are drawn by the list itself where they show; a repaint of the whole
// list, many times a second while rows come in, would cost more than the rows.
void VirtualListView::setRowCount(std::size_t rows) const noexcept {
    const auto before = static_cast<std::size_t>(std::max(count(), 0));
    send(LVM_SETITEMCOUNT, static_cast<WPARAM>(rows), LVSICF_NOINVALIDATEALL | LVSICF_NOSCROLL);
    if (rows < before) refresh();
}

bool VirtualListView::answer(const NMHDR& header, ListRows& rows) const {
    if (!sent(header) || header.code != static_cast<UINT>(LVN_GETDISPINFOA)) return false;
    LVITEMA& item = reinterpret_cast<NMLVDISPINFOA&>(const_cast<NMHDR&>(header)).item;
    if (item.iItem < 0) return true;
    const auto row = static_cast<std::size_t>(item.iItem);
    if ((item.mask & LVIF_TEXT) && item.pszText != nullptr && item.cchTextMax > 0) {
        const std::string text = rows.cell(row, item.iSubItem);
        const std::size_t n = std::min(text.size(), static_cast<std::size_t>(item.cchTextMax - 1));
        std::copy_n(text.data(), n, item.pszText);
        item.pszText[n] = '\0';
    }
    if (item.mask & LVIF_IMAGE) item.iImage = rows.image(row);
    return true;
}

// Each change of a row's state is a message and a notification: for most of the rows, select
// them all at once and let go of the few others.
void VirtualListView::selectOnly(std::vector<std::size_t> rows) const {
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    const auto total = static_cast<std::size_t>(std::max(count(), 0));
    if (rows.size() * 2 <= total) {
        setSelected(-1, false);
        for (const std::size_t row : rows) setSelected(static_cast<int>(row), true);
        return;
    }
    selectAll();
    std::size_t next = 0;
    for (std::size_t row = 0; row < total; ++row) {
        if (next < rows.size() && rows[next] == row) {
            ++next;
        } else {
            setSelected(static_cast<int>(row), false);
        }
    }
}

std::vector<std::size_t> VirtualListView::selectedIndices() const {
    std::vector<std::size_t> rows;
    for (const int row : selectedRows()) rows.push_back(static_cast<std::size_t>(row));
    return rows;
}

}  // namespace quillon::ui
