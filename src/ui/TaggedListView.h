#pragma once
// A report list whose rows each carry a number of the owner's (typically the index of the
// model row it shows) that stays with its row when the list is sorted.
#include <initializer_list>
#include <string_view>
#include <vector>

#include "ui/ListView.h"

namespace quillon::ui {

class TaggedListView : public ListView {
public:
    using ListView::ListView;

    // image -1: the row shows no picture, even when the list has an image list.
    int addTaggedRow(std::initializer_list<std::string_view> cells, LPARAM tag, int image = -1) const;
    LPARAM tag(int row) const noexcept;
    void setTag(int row, LPARAM tag) const noexcept;
    // The tags of the rows, in the order given.
    std::vector<LPARAM> tagsOf(const std::vector<int>& rows) const;
    // The row carrying a tag, or -1.
    int rowOf(LPARAM tag) const noexcept;

    // Orders the rows by the text of one column like ListView::sortByColumn (no case, equal
    // texts keep their order), without touching the tags. Tags must differ from row to row.
    void sortKeepingTags(int column, SortOrder order) const;
};

}  // namespace quillon::ui
