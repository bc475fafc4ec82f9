#include "ui/VirtualListView.h"

#include <algorithm>
#include <string_view>

#include "platform/TextCompare.h"
#include "platform/win32/Utf.h"

namespace quillon::ui {

// Rows added at the end are drawn by the list itself where they show; a repaint of the whole
// list, many times a second while rows come in, would cost more than the rows.
void VirtualListView::setRowCount(std::size_t rows) const noexcept {
    const auto before = static_cast<std::size_t>(std::max(count(), 0));
    send(LVM_SETITEMCOUNT, static_cast<WPARAM>(rows), LVSICF_NOINVALIDATEALL | LVSICF_NOSCROLL);
    if (rows < before) refresh();
}

namespace {

void fill(LVITEMW& item, ListRows& rows) {
    if (item.iItem < 0) return;
    const auto row = static_cast<std::size_t>(item.iItem);
    if ((item.mask & LVIF_TEXT) && item.pszText != nullptr && item.cchTextMax > 0) {
        const std::wstring text = win32::wide(rows.cell(row, item.iSubItem));
        std::size_t n = std::min(text.size(), static_cast<std::size_t>(item.cchTextMax - 1));
        // A cut text ends before a surrogate pair, never inside it.
        if (n > 0 && n < text.size() && IS_HIGH_SURROGATE(text[n - 1])) --n;
        std::copy_n(text.data(), n, item.pszText);
        item.pszText[n] = L'\0';
    }
    if (item.mask & LVIF_IMAGE) item.iImage = rows.image(row);
}

// From the start row on, wrapping round when asked; -1 when no row's text matches.
LRESULT find(std::string_view wanted, UINT flags, int startRow, int count, ListRows& rows) {
    if (!(flags & (LVFI_STRING | LVFI_PARTIAL)) || count <= 0) return -1;
    const int start = std::clamp(startRow, 0, count);
    for (int step = 0; step < count; ++step) {
        int row = start + step;
        if (row >= count) {
            if (!(flags & LVFI_WRAP)) break;
            row -= count;
        }
        const std::string text = rows.cell(static_cast<std::size_t>(row), 0);
        if ((flags & LVFI_PARTIAL) ? startsWithNoCase(text, wanted) : equalsNoCase(text, wanted)) return row;
    }
    return -1;
}

}  // namespace

std::optional<LRESULT> VirtualListView::answer(const NMHDR& header, ListRows& rows) const {
    if (!sent(header)) return std::nullopt;
    // Every parent is a Unicode window, so the list asks in UTF-16.
    if (header.code == static_cast<UINT>(LVN_GETDISPINFOW)) {
        fill(reinterpret_cast<NMLVDISPINFOW&>(const_cast<NMHDR&>(header)).item, rows);
        return 0;
    }
    if (header.code == static_cast<UINT>(LVN_ODFINDITEMW)) {
        const auto& request = reinterpret_cast<const NMLVFINDITEMW&>(header);
        if (request.lvfi.psz == nullptr) return -1;
        return find(win32::utf8(request.lvfi.psz), request.lvfi.flags, request.iStart, count(), rows);
    }
    return std::nullopt;
}

// Each change of a row's state is a message and a notification: for most of the rows, select
// them all at once and let go of the few others.
void VirtualListView::carrySelection(const std::vector<std::size_t>& place, std::size_t rows) const {
    std::vector<std::size_t> selected;
    for (const std::size_t old : selectedIndices())
        if (old < place.size() && place[old] < rows) selected.push_back(place[old]);
    setRowCount(rows);
    selectOnly(std::move(selected));
    refresh();
}

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
