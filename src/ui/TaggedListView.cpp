#include "ui/TaggedListView.h"

#include <string>
#include <unordered_map>

namespace quillon::ui {

namespace {

struct SortKey {
    std::string text;
    int position = 0;  // before the sort: equal texts keep it
};

struct TaggedSort {
    std::unordered_map<LPARAM, SortKey> keys;
    bool descending = false;
};

int CALLBACK compareTagged(LPARAM first, LPARAM second, LPARAM context) noexcept {
    const auto& sort = *reinterpret_cast<const TaggedSort*>(context);
    const auto a = sort.keys.find(first);
    const auto b = sort.keys.find(second);
    if (a == sort.keys.end() || b == sort.keys.end()) return 0;
    int order = lstrcmpiA(a->second.text.c_str(), b->second.text.c_str());
    if (sort.descending) order = -order;
    if (order == 0) order = a->second.position < b->second.position ? -1 : (a->second.position > b->second.position ? 1 : 0);
    return order;
}

}  // namespace

int TaggedListView::addTaggedRow(std::initializer_list<std::string_view> cells, LPARAM tag, int image) const {
    std::string first(cells.size() > 0 ? *cells.begin() : std::string_view());
    LVITEMA item{};
    item.mask = LVIF_TEXT | LVIF_PARAM | LVIF_IMAGE;
    item.iItem = count();
    item.pszText = first.data();
    item.lParam = tag;
    // Without a picture of its own a row would show the list's first image.
    item.iImage = image >= 0 ? image : I_IMAGENONE;
    const int row = static_cast<int>(send(LVM_INSERTITEMA, 0, &item));
    if (row < 0) return row;
    int column = 0;
    for (std::string_view cell : cells) {
        if (column > 0 && !cell.empty()) setText(row, column, cell);
        ++column;
    }
    return row;
}

LPARAM TaggedListView::tag(int row) const noexcept {
    LVITEMA item{};
    item.mask = LVIF_PARAM;
    item.iItem = row;
    return send(LVM_GETITEMA, 0, &item) ? item.lParam : 0;
}

void TaggedListView::setTag(int row, LPARAM tag) const noexcept {
    LVITEMA item{};
    item.mask = LVIF_PARAM;
    item.iItem = row;
    item.lParam = tag;
    send(LVM_SETITEMA, 0, &item);
}

std::vector<LPARAM> TaggedListView::tagsOf(const std::vector<int>& rows) const {
    std::vector<LPARAM> tags;
    tags.reserve(rows.size());
    for (int row : rows) tags.push_back(tag(row));
    return tags;
}

int TaggedListView::rowOf(LPARAM tag) const noexcept {
    LVFINDINFOA find{};
    find.flags = LVFI_PARAM;
    find.lParam = tag;
    return static_cast<int>(send(LVM_FINDITEMA, static_cast<WPARAM>(-1), &find));
}

void TaggedListView::sortKeepingTags(int column, SortOrder order) const {
    TaggedSort sort;
    sort.descending = order == SortOrder::Descending;
    const int rows = count();
    sort.keys.reserve(static_cast<size_t>(rows));
    for (int row = 0; row < rows; ++row) sort.keys[tag(row)] = SortKey{text(row, column), row};
    send(LVM_SORTITEMS, reinterpret_cast<WPARAM>(&sort), reinterpret_cast<LPARAM>(&compareTagged));
}

}  // namespace quillon::ui
