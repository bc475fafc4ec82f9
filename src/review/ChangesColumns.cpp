#include "review/ChangesColumns.h"

#include "shell/RowOrder.h"
#include "shell/SizeSortKey.h"

namespace quillon::review {

std::string fileCell(const FileRow& row, int column, bool sizeKeys) {
    switch (column) {
        case NameColumn: return row.name;
        case FolderColumn: return row.folder;
        case SizeColumn: return row.sizeText;
        case TypeColumn: return row.typeName;
        case HiddenSizeColumn: return sizeKeys ? shell::sizeSortKey(row.sizeText) : std::string();
        default: return {};
    }
}

std::string keyCell(const KeyRow& row, int column) {
    return column == 0 ? row.name : column == 1 ? row.parent : std::string();
}

std::string lineCell(const LineRow& row, int column) {
    return column == 0 ? row.added : column == 1 ? row.replaced : std::string();
}

std::vector<std::size_t> sortFileRows(std::vector<FileRow>& rows, int column, bool ascending) {
    const std::vector<std::size_t> order = shell::orderByText(
        rows.size(), ascending, [&](std::size_t i) { return fileCell(rows[i], column, true); });
    shell::applyOrder(rows, order);
    return order;
}

std::vector<std::size_t> sortKeyRows(std::vector<KeyRow>& rows, int column, bool ascending) {
    const std::vector<std::size_t> order =
        shell::orderByText(rows.size(), ascending, [&](std::size_t i) { return keyCell(rows[i], column); });
    shell::applyOrder(rows, order);
    return order;
}

}  // namespace quillon::review
