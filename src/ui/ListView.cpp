#include "ui/ListView.h"

#include "platform/win32/Utf.h"

namespace quillon::ui {

namespace {

int columnFormat(Align align) noexcept {
    switch (align) {
        case Align::Right:
            return LVCFMT_RIGHT;
        case Align::Center:
            return LVCFMT_CENTER;
        case Align::Left:
            break;
    }
    return LVCFMT_LEFT;
}

struct SortKeys {
    const std::vector<std::wstring>* keys;
    bool descending;
};

// Items carry their position before the sort as lParam; ties keep that order.
int CALLBACK compareRows(LPARAM first, LPARAM second, LPARAM context) noexcept {
    const auto& sort = *reinterpret_cast<const SortKeys*>(context);
    const auto a = static_cast<size_t>(first);
    const auto b = static_cast<size_t>(second);
    int order = lstrcmpiW((*sort.keys)[a].c_str(), (*sort.keys)[b].c_str());
    if (sort.descending) order = -order;
    if (order == 0) order = a < b ? -1 : (a > b ? 1 : 0);
    return order;
}

}  // namespace

int ListView::addColumn(std::string_view title, int width, Align align) const {
    std::wstring text = win32::wide(title);
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT | LVCF_SUBITEM;
    column.fmt = columnFormat(align);
    column.cx = width;
    column.pszText = text.data();
    column.iSubItem = columnCount();
    return static_cast<int>(send(LVM_INSERTCOLUMNW, static_cast<WPARAM>(column.iSubItem), &column));
}

void ListView::addColumns(std::span<const ColumnSpec> columns) const {
    RECT inside{};
    GetClientRect(hwnd(), &inside);
    const int width = inside.right - inside.left - GetSystemMetrics(SM_CXVSCROLL);
    for (const ColumnSpec& column : columns) addColumn(column.title, MulDiv(width, column.percent, 100), column.align);
}

int ListView::columnCount() const noexcept {
    return static_cast<int>(SendMessageW(header(), HDM_GETITEMCOUNT, 0, 0));
}

int ListView::columnWidth(int column) const noexcept {
    return static_cast<int>(send(LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(column)));
}

void ListView::setColumnWidth(int column, int width) const noexcept {
    send(LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(column), MAKELPARAM(width, 0));
}

int ListView::addRow(std::initializer_list<std::string_view> cells, int image) const {
    return insertRow(count(), cells, image);
}

int ListView::insertRow(int index, std::initializer_list<std::string_view> cells, int image) const {
    std::wstring first = win32::wide(cells.size() > 0 ? *cells.begin() : std::string_view());
    LVITEMW item{};
    item.mask = LVIF_TEXT | (image >= 0 ? LVIF_IMAGE : 0u);
    item.iItem = index;
    item.pszText = first.data();
    item.iImage = image;
    const int row = static_cast<int>(send(LVM_INSERTITEMW, 0, &item));
    if (row >= 0) setCells(row, cells);
    return row;
}

void ListView::setCells(int row, std::initializer_list<std::string_view> cells) const {
    int column = 0;
    for (std::string_view cell : cells) {
        if (column > 0) setText(row, column, cell);
        ++column;
    }
}

int ListView::count() const noexcept { return static_cast<int>(send(LVM_GETITEMCOUNT)); }

std::string ListView::text(int row, int column) const {
    std::wstring buffer(256, L'\0');
    for (;;) {
        LVITEMW item{};
        item.iSubItem = column;
        item.pszText = buffer.data();
        item.cchTextMax = static_cast<int>(buffer.size());
        const auto copied = static_cast<size_t>(send(LVM_GETITEMTEXTW, static_cast<WPARAM>(row), &item));
        if (copied + 1 < buffer.size()) {
            buffer.resize(copied);
            return win32::utf8(buffer);
        }
        buffer.resize(buffer.size() * 2);  // it may have been cut: try again with more room
    }
}

void ListView::setText(int row, int column, std::string_view text) const {
    std::wstring copy = win32::wide(text);
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = copy.data();
    send(LVM_SETITEMTEXTW, static_cast<WPARAM>(row), &item);
}

void ListView::deleteRow(int row) const noexcept { send(LVM_DELETEITEM, static_cast<WPARAM>(row)); }

void ListView::clear() const noexcept { send(LVM_DELETEALLITEMS); }

bool ListView::isSelected(int row) const noexcept {
    return (send(LVM_GETITEMSTATE, static_cast<WPARAM>(row), LVIS_SELECTED) & LVIS_SELECTED) != 0;
}

void ListView::setSelected(int row, bool selected) const noexcept {
    LVITEMW item{};
    item.stateMask = LVIS_SELECTED;
    item.state = selected ? LVIS_SELECTED : 0u;
    send(LVM_SETITEMSTATE, static_cast<WPARAM>(row), &item);  // row -1: every row
}

void ListView::selectAll() const noexcept { setSelected(-1, true); }

void ListView::invertSelection() const noexcept {
    const int rows = count();
    for (int row = 0; row < rows; ++row) setSelected(row, !isSelected(row));
}

int ListView::selectedCount() const noexcept { return static_cast<int>(send(LVM_GETSELECTEDCOUNT)); }

std::vector<int> ListView::selectedRows() const {
    std::vector<int> rows;
    for (int row = -1; (row = static_cast<int>(send(LVM_GETNEXTITEM, static_cast<WPARAM>(row), LVNI_SELECTED))) >= 0;) {
        rows.push_back(row);
    }
    return rows;
}

HIMAGELIST ListView::setSmallImages(HIMAGELIST images) const noexcept {
    return reinterpret_cast<HIMAGELIST>(send(LVM_SETIMAGELIST, LVSIL_SMALL, images));
}

int ListView::imageIndex(int row) const noexcept {
    LVITEMW item{};
    item.mask = LVIF_IMAGE;
    item.iItem = row;
    return send(LVM_GETITEMW, 0, &item) ? item.iImage : -1;
}

void ListView::setImageIndex(int row, int image) const noexcept {
    LVITEMW item{};
    item.mask = LVIF_IMAGE;
    item.iItem = row;
    item.iImage = image;
    send(LVM_SETITEMW, 0, &item);
}

void ListView::setFullRowSelect(bool on) const noexcept {
    send(LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, on ? LVS_EX_FULLROWSELECT : 0);
}

void ListView::setCheckBoxes(bool on) const noexcept {
    send(LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_CHECKBOXES, on ? LVS_EX_CHECKBOXES : 0);
}

// The state image is 1 for an empty box and 2 for a ticked one.
bool ListView::isChecked(int row) const noexcept {
    return (send(LVM_GETITEMSTATE, static_cast<WPARAM>(row), LVIS_STATEIMAGEMASK) & LVIS_STATEIMAGEMASK) == INDEXTOSTATEIMAGEMASK(2);
}

void ListView::setChecked(int row, bool checked) const noexcept {
    LVITEMW item{};
    item.stateMask = LVIS_STATEIMAGEMASK;
    item.state = INDEXTOSTATEIMAGEMASK(checked ? 2 : 1);
    send(LVM_SETITEMSTATE, static_cast<WPARAM>(row), &item);
}

void ListView::setMultiSelect(bool on) const noexcept {
    const LONG_PTR style = GetWindowLongPtrW(hwnd(), GWL_STYLE);
    SetWindowLongPtrW(hwnd(), GWL_STYLE, on ? (style & ~LONG_PTR{LVS_SINGLESEL}) : (style | LVS_SINGLESEL));
}

void ListView::sortByColumn(int column, SortOrder order) const {
    const int rows = count();
    std::vector<std::wstring> keys;
    keys.reserve(static_cast<size_t>(rows));
    for (int row = 0; row < rows; ++row) {
        keys.push_back(win32::wide(text(row, column)));
        LVITEMW item{};
        item.mask = LVIF_PARAM;
        item.iItem = row;
        item.lParam = row;
        send(LVM_SETITEMW, 0, &item);
    }
    SortKeys sort{&keys, order == SortOrder::Descending};
    send(LVM_SORTITEMS, reinterpret_cast<WPARAM>(&sort), reinterpret_cast<LPARAM>(&compareRows));
}

int ListView::clickedColumn(const NMHDR& header) const noexcept {
    if (!sent(header) || header.code != LVN_COLUMNCLICK) return -1;
    return reinterpret_cast<const NMLISTVIEW&>(header).iSubItem;
}

bool ListView::isHiddenColumnResize(const NMHDR& notification) const noexcept {
    if (notification.hwndFrom != header()) return false;
    switch (notification.code) {
        // The header picks its notifications' character set apart from its window's; iItem
        // lies alike in both.
        case HDN_BEGINTRACKA:
        case HDN_BEGINTRACKW:
        case HDN_DIVIDERDBLCLICKA:
        case HDN_DIVIDERDBLCLICKW:
            return columnWidth(reinterpret_cast<const NMHEADERW&>(notification).iItem) == 0;
        default:
            return false;
    }
}

}  // namespace quillon::ui
