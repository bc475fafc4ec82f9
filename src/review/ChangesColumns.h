#pragma once
// The column texts of the viewer's lists, and the order of the files, registry and value lists
// by a column: the rows are sorted in the model, which the lists show as it stands.
#include <cstddef>
#include <string>
#include <vector>

#include "review/ChangeSet.h"

namespace quillon::review {

enum FileColumn : int { NameColumn = 0, FolderColumn = 1, SizeColumn = 2, TypeColumn = 3, HiddenSizeColumn = 4 };

// sizeKeys: the hidden column shows the size sort keys (once the Size column has been sorted).
// The Type column shows the row's typeName as it stands (FileRowTypes fills it).
std::string fileCell(const FileRow& row, int column, bool sizeKeys);
std::string keyCell(const KeyRow& row, int column);
std::string lineCell(const LineRow& row, int column);
// Value, in key, change, new data, old data; the data as the user reads it.
std::string valueCell(const ValueRow& row, int column);

// Sorts by the text of a column without regard to case, equal texts keeping their order; the
// hidden column sorts by the size sort keys. Returns, for each new position, the row's old one.
std::vector<std::size_t> sortFileRows(std::vector<FileRow>& rows, int column, bool ascending);
std::vector<std::size_t> sortKeyRows(std::vector<KeyRow>& rows, int column, bool ascending);
std::vector<std::size_t> sortValueRows(std::vector<ValueRow>& rows, int column, bool ascending);

}  // namespace quillon::review
