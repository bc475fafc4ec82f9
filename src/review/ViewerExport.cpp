#include "review/ViewerExport.h"

#include <cstddef>

#include "review/ChangesColumns.h"

namespace quillon::review {

namespace {

constexpr std::string_view Title = "Changes found";
constexpr std::string_view Added = "added";

enum Column : std::size_t { Kind, Entry, In, Size, Type, Change, NewData, OldData, ColumnCount };

using Row = std::vector<std::string>;

Row startRow(std::size_t tab, std::string_view entry, bool placeholder) {
    Row row(ColumnCount);
    row[Kind] = ViewerTabs[tab];
    row[Entry] = entry;
    if (!placeholder) row[Change] = Added;
    return row;
}

}  // namespace

ExportTable viewerTable(const ChangeSet& changes, std::string_view fileName, std::string_view fileDate) {
    ExportTable table;
    table.title = std::string(Title);
    if (!fileName.empty()) table.title += " in " + std::string(fileName);
    if (!fileDate.empty()) table.title += ", " + std::string(fileDate);
    table.columns = {"Kind", "Entry", "In", "Size", "Type", "Change", "New data", "Old data"};
    auto& rows = table.rows;

    for (const FileRow& file : changes.files) {
        Row row = startRow(0, file.name, false);
        row[In] = file.folder;
        row[Size] = file.sizeText;
        row[Type] = file.typeName;
        rows.push_back(std::move(row));
    }
    for (const KeyRow& key : changes.keys) {
        Row row = startRow(1, key.name, key.isPlaceholder());
        row[In] = key.parent;
        rows.push_back(std::move(row));
    }
    for (std::size_t list = 0; list < ConfigListCount; ++list) {
        for (const LineRow& line : changes.lines[list]) {
            Row row = startRow(2 + list, line.added, line.isPlaceholder());
            // " " stands for no replaced line in the model.
            if (line.replaced != " ") row[OldData] = line.replaced;
            rows.push_back(std::move(row));
        }
    }
    for (const ValueRow& value : changes.values) {
        Row row = startRow(ViewerTabs.size() - 1, valueCell(value, 0), false);
        row[In] = valueCell(value, 1);
        row[Change] = valueCell(value, 2);
        row[NewData] = valueCell(value, 3);
        row[OldData] = valueCell(value, 4);
        rows.push_back(std::move(row));
    }
    return table;
}

std::string viewerExportName(std::string_view fileName) {
    const std::string_view stem = fileName.substr(0, fileName.rfind('.'));
    return stem.empty() ? std::string(Title) : std::string(stem);
}

}  // namespace quillon::review
