#include "review/ChangesColumns.h"

#include "platform/ValueLine.h"
#include "review/ValueRows.h"
#include "shell/RowOrder.h"
#include "shell/SizeSortKey.h"

namespace quillon::review {

namespace {

template <typename Row, typename Cell>
std::vector<std::size_t> sortByCell(std::vector<Row>& rows, int column, bool ascending, Cell cell) {
    const std::vector<std::size_t> order =
        shell::orderByText(rows.size(), ascending, [&](std::size_t i) { return cell(rows[i], column); });
    shell::applyOrder(rows, order);
    return order;
}

}  // namespace

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

std::string valueCell(const ValueRow& row, int column) {
    switch (column) {
        case 0: return valueNameShown(row.name);
        case 1: return row.key;
        case 2: return row.change;
        case 3: return displayValueData(row.newData);
        case 4: return displayValueData(row.oldData);
        default: return {};
    }
}

std::vector<std::size_t> sortFileRows(std::vector<FileRow>& rows, int column, bool ascending) {
    return sortByCell(rows, column, ascending,
                      [](const FileRow& row, int index) { return fileCell(row, index, true); });
}

std::vector<std::size_t> sortKeyRows(std::vector<KeyRow>& rows, int column, bool ascending) {
    return sortByCell(rows, column, ascending, keyCell);
}

std::vector<std::size_t> sortValueRows(std::vector<ValueRow>& rows, int column, bool ascending) {
    return sortByCell(rows, column, ascending, valueCell);
}

}  // namespace quillon::review
