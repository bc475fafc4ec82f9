#pragma once
// A report-view list: columns, rows of texts, selection, small icons, sorting by the text of
// a column. Every item's lParam is the list's own (used while sorting).
#include <initializer_list>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "ui/Control.h"

namespace quillon::ui {

enum class Align { Left, Right, Center };
enum class SortOrder { Ascending, Descending };

// A column laid out as a share of the list's width.
struct ColumnSpec {
    const char* title;
    int percent;  // of the width left beside a vertical scroll bar; 0 hides the column
    Align align = Align::Left;
};

class ListView : public Control {
public:
    using Control::Control;

    // Width in pixels; a width of 0 makes a hidden column (kept hidden, see isHiddenColumnResize).
    int addColumn(std::string_view title, int width, Align align = Align::Left) const;
    void addColumns(std::span<const ColumnSpec> columns) const;
    int columnCount() const noexcept;
    int columnWidth(int column) const noexcept;
    void setColumnWidth(int column, int width) const noexcept;

    // The texts of a row: its own text first, then its sub-items. Returns the row's index.
    int addRow(std::initializer_list<std::string_view> cells, int image = -1) const;
    int insertRow(int index, std::initializer_list<std::string_view> cells, int image = -1) const;
    int count() const noexcept;
    std::string text(int row, int column = 0) const;
    void setText(int row, int column, std::string_view text) const;
    void deleteRow(int row) const noexcept;
    void clear() const noexcept;

    bool isSelected(int row) const noexcept;
    void setSelected(int row, bool selected) const noexcept;
    void selectAll() const noexcept;
    void invertSelection() const noexcept;
    int selectedCount() const noexcept;
    std::vector<int> selectedRows() const;

    // The list keeps the image list but never destroys it. Returns the one it replaced.
    HIMAGELIST setSmallImages(HIMAGELIST images) const noexcept;
    int imageIndex(int row) const noexcept;
    void setImageIndex(int row, int image) const noexcept;

    void setFullRowSelect(bool on) const noexcept;
    // A check box before each row.
    void setCheckBoxes(bool on) const noexcept;
    bool isChecked(int row) const noexcept;
    void setChecked(int row, bool checked) const noexcept;
    void setMultiSelect(bool on) const noexcept;

    // Orders the rows by the text of one column, case-insensitively, keeping the present order
    // of rows with equal texts.
    void sortByColumn(int column, SortOrder order) const;

    // The column of a header click (LVN_COLUMNCLICK) from this list, or -1.
    int clickedColumn(const NMHDR& header) const noexcept;
    // True for a notification that would widen a zero-width column (dragging or
    // double-clicking its divider): the parent answers TRUE to refuse it.
    bool isHiddenColumnResize(const NMHDR& header) const noexcept;

private:
    void setCells(int row, std::initializer_list<std::string_view> cells) const;
    HWND header() const noexcept { return reinterpret_cast<HWND>(send(LVM_GETHEADER)); }
};

}  // namespace quillon::ui
