#include "ui/VirtualListView.h"

#include <algorithm>

namespace quillon::ui {

void VirtualListView::setRowCount(std::size_t rows) const noexcept {
    send(LVM_SETITEMCOUNT, static_cast<WPARAM>(rows), LVSICF_NOINVALIDATEALL | LVSICF_NOSCROLL);
    refresh();
}

bool VirtualListView::answer(const NMHDR& header, const ListRows& rows) const {
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

void VirtualListView::selectOnly(const std::vector<std::size_t>& rows) const {
    setSelected(-1, false);
    if (!rows.empty() && rows.size() == static_cast<std::size_t>(count())) {
        selectAll();
        return;
    }
    for (const std::size_t row : rows) setSelected(static_cast<int>(row), true);
}

}  // namespace quillon::ui
