#include "review/frmFoundChangesLists.h"

#include <utility>

#include "review/ChangesColumns.h"
#include "review/FoundChangesRows.h"
#include "shell/RowOrder.h"
#include "ui/SystemImageList.h"

namespace quillon::review {

namespace {

constexpr std::size_t indexOf(ChangesList which) { return static_cast<std::size_t>(which); }
constexpr std::size_t FirstLineList = indexOf(ChangesList::WinIni);
constexpr std::size_t EndLineLists = FirstLineList + ConfigListCount;
static_assert(EndLineLists == indexOf(ChangesList::Values));

// Whether a row stands in for a list that was not looked at; value rows never do.
template <typename Row>
bool placeholderRow(const Row& row) {
    if constexpr (requires { row.isPlaceholder(); }) {
        return row.isPlaceholder();
    } else {
        return false;
    }
}

// The rows of the registry list, the value list or a line list; a placeholder shows no picture.
template <typename Row, std::string (*Cell)(const Row&, int)>
class TextRows final : public ui::ListRows {
public:
    TextRows(const std::vector<Row>& rows, int image) : rows_(rows), image_(image) {}
    std::string cell(std::size_t row, int column) override {
        return row < rows_.size() ? Cell(rows_[row], column) : std::string();
    }
    int image(std::size_t row) override { return row < rows_.size() && !placeholderRow(rows_[row]) ? image_ : -1; }

private:
    const std::vector<Row>& rows_;
    int image_;
};

}  // namespace

std::string ChangesLists::FileRows::cell(std::size_t row, int column) {
    if (row >= changes_.files.size()) return {};
    FileRow& file = changes_.files[row];
    if (column == TypeColumn) types_.typeName(file);
    return fileCell(file, column, sizeKeys);
}

int ChangesLists::FileRows::image(std::size_t row) {
    return row < changes_.files.size() ? types_.icon(changes_.files[row]) : -1;
}

void ChangesLists::FileRows::knowAllTypes() {
    for (FileRow& row : changes_.files) types_.typeName(row);
}

void ChangesLists::FileRows::knowTypes(const std::vector<std::size_t>& rows) {
    for (const std::size_t row : rows)
        if (row < changes_.files.size()) types_.typeName(changes_.files[row]);
}

void ChangesLists::attach(HWND dialog) noexcept {
    dialog_ = dialog;
    folderImage_ = ui::closedFolderImage();
}

ui::VirtualListView ChangesLists::list(ChangesList which) const noexcept {
    return ui::VirtualListView(dialog_, ids_[indexOf(which)]);
}

std::optional<LRESULT> ChangesLists::answer(const NMHDR& header) {
    switch (header.code) {
        case LVN_GETDISPINFOW:
        case LVN_ODFINDITEMW: break;
        default: return std::nullopt;
    }
    if (const auto answered = list(ChangesList::Files).answer(header, files_)) return answered;
    TextRows<KeyRow, keyCell> keys(changes_.keys, folderImage_);
    if (const auto answered = list(ChangesList::Registry).answer(header, keys)) return answered;
    TextRows<ValueRow, valueCell> values(changes_.values, -1);
    if (const auto answered = list(ChangesList::Values).answer(header, values)) return answered;
    for (std::size_t i = FirstLineList; i < EndLineLists; ++i) {
        TextRows<LineRow, lineCell> lines(changes_.lines[i - FirstLineList], -1);
        if (const auto answered = list(static_cast<ChangesList>(i)).answer(header, lines)) return answered;
    }
    return std::nullopt;
}

std::size_t ChangesLists::rowCount(ChangesList which) const noexcept {
    switch (which) {
        case ChangesList::Files: return changes_.files.size();
        case ChangesList::Registry: return changes_.keys.size();
        case ChangesList::Values: return changes_.values.size();
        default: return changes_.lines[indexOf(which) - FirstLineList].size();
    }
}

void ChangesLists::showRows() const {
    for (std::size_t i = 0; i < ChangesListCount; ++i) {
        const auto which = static_cast<ChangesList>(i);
        const ui::VirtualListView rows = list(which);
        if (static_cast<std::size_t>(rows.count()) != rowCount(which)) rows.setRowCount(rowCount(which));
    }
}

Selection ChangesLists::selection() const {
    Selection selected;
    selected.files = list(ChangesList::Files).selectedIndices();
    selected.keys = list(ChangesList::Registry).selectedIndices();
    for (std::size_t i = FirstLineList; i < EndLineLists; ++i)
        selected.lines[i - FirstLineList] = list(static_cast<ChangesList>(i)).selectedIndices();
    selected.values = list(ChangesList::Values).selectedIndices();
    return selected;
}

void ChangesLists::removeRows(const Selection& rows) {
    const std::vector<std::size_t> files = eraseRows(changes_.files, rows.files);
    list(ChangesList::Files).carrySelection(files, changes_.files.size());
    const std::vector<std::size_t> keys = eraseRows(changes_.keys, rows.keys);
    list(ChangesList::Registry).carrySelection(keys, changes_.keys.size());
    for (std::size_t i = FirstLineList; i < EndLineLists; ++i) {
        std::vector<LineRow>& lines = changes_.lines[i - FirstLineList];
        const std::vector<std::size_t> place = eraseRows(lines, rows.lines[i - FirstLineList]);
        list(static_cast<ChangesList>(i)).carrySelection(place, lines.size());
    }
    const std::vector<std::size_t> values = eraseRows(changes_.values, rows.values);
    list(ChangesList::Values).carrySelection(values, changes_.values.size());
}

bool ChangesLists::isPlaceholder(ChangesList which, std::size_t row) const {
    switch (which) {
        case ChangesList::Files:
        case ChangesList::Values: return false;
        case ChangesList::Registry: return row < changes_.keys.size() && changes_.keys[row].isPlaceholder();
        default: {
            const auto& lines = changes_.lines[indexOf(which) - FirstLineList];
            return row < lines.size() && lines[row].isPlaceholder();
        }
    }
}

std::vector<std::size_t> ChangesLists::rowsToSelect(ChangesList which, bool inverted) const {
    const ui::VirtualListView rows = list(which);
    const auto count = static_cast<std::size_t>(rows.count());
    std::vector<bool> selectedNow(count, false);
    if (inverted) {
        for (const std::size_t row : rows.selectedIndices())
            if (row < count) selectedNow[row] = true;
    }
    std::vector<std::size_t> wanted;
    for (std::size_t row = 0; row < count; ++row) {
        if (!selectedNow[row] && !isPlaceholder(which, row)) wanted.push_back(row);
    }
    return wanted;
}

void ChangesLists::selectAll() const {
    for (std::size_t i = 0; i < ChangesListCount; ++i) {
        const auto which = static_cast<ChangesList>(i);
        list(which).selectOnly(rowsToSelect(which, false));
    }
}

void ChangesLists::invertSelection() const {
    for (std::size_t i = 0; i < ChangesListCount; ++i) {
        const auto which = static_cast<ChangesList>(i);
        list(which).selectOnly(rowsToSelect(which, true));
    }
}

void ChangesLists::deselectPlaceholder(ChangesList which) const {
    const ui::VirtualListView rows = list(which);
    if (rows.count() > 0 && isPlaceholder(which, 0)) rows.setSelected(0, false);
}

void ChangesLists::sortFiles(int column) {
    filesAscending_ = !filesAscending_;
    int key = column;
    if (column == SizeColumn) {
        // Size texts carry units; the hidden column holds them as equal-length numbers.
        files_.sizeKeys = true;
        key = HiddenSizeColumn;
    }
    if (column == TypeColumn) files_.knowAllTypes();
    const ui::VirtualListView rows = list(ChangesList::Files);
    const std::vector<std::size_t> order = sortFileRows(changes_.files, key, filesAscending_);
    rows.carrySelection(shell::newPlaces(order), changes_.files.size());
}

template <typename Row, typename Sort>
void ChangesLists::sortRows(ChangesList which, std::vector<Row>& rows, bool& ascending, int column, Sort sort) {
    ascending = !ascending;
    const std::vector<std::size_t> order = sort(rows, column, ascending);
    list(which).carrySelection(shell::newPlaces(order), rows.size());
}

void ChangesLists::sortKeys(int column) {
    sortRows(ChangesList::Registry, changes_.keys, keysAscending_, column, sortKeyRows);
}

void ChangesLists::sortValues(int column) {
    sortRows(ChangesList::Values, changes_.values, valuesAscending_, column, sortValueRows);
}

}  // namespace quillon::review
