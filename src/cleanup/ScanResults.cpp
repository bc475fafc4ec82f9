#include "cleanup/ScanResults.h"

#include <algorithm>

#include "platform/TextCompare.h"
#include "shell/FormatSize.h"
#include "shell/RowOrder.h"
#include "shell/SizeSortKey.h"

namespace quillon::cleanup {

void ScanResults::clear() {
    rows_.clear();
    types_.clear();
    typeByKey_.clear();
    totals_ = {};
}

const std::uint32_t* ScanResults::typeOf(std::string_view key) const {
    const auto found = typeByKey_.find(toLowerAnsi(key));
    return found == typeByKey_.end() ? nullptr : &found->second;
}

std::uint32_t ScanResults::addType(std::string_view key, FileTypeInfo info) {
    const auto index = static_cast<std::uint32_t>(types_.size());
    types_.push_back(std::move(info));
    typeByKey_.emplace(toLowerAnsi(key), index);
    return index;
}

void ScanResults::add(JunkRow row) {
    ++totals_.files;
    totals_.bytes += row.bytes;
    rows_.push_back(std::move(row));
}

std::string ScanResults::cell(std::size_t row, ResultColumn column) const {
    const JunkRow& r = rows_.at(row);
    switch (column) {
        case ResultColumn::Name: return r.name;
        case ResultColumn::Folder: return r.folder;
        case ResultColumn::Size: return shell::formatSize(r.bytes, false);
        case ResultColumn::Type: return typeInfo(r).typeName;
        case ResultColumn::HiddenSize: return shell::sizeSortKey(shell::formatSize(r.bytes, false));
    }
    return {};
}

std::vector<std::size_t> ScanResults::sortBy(ResultColumn column, bool ascending) {
    std::vector<std::size_t> order;
    if (column == ResultColumn::Size || column == ResultColumn::HiddenSize) {
        order = shell::stableOrder(rows_.size(), ascending,
                                   [&](std::size_t a, std::size_t b) { return rows_[a].bytes < rows_[b].bytes; });
    } else {
        order = shell::orderByText(rows_.size(), ascending, [&](std::size_t i) -> std::string_view {
            const JunkRow& r = rows_[i];
            return column == ResultColumn::Name     ? std::string_view(r.name)
                   : column == ResultColumn::Folder ? std::string_view(r.folder)
                                                    : std::string_view(typeInfo(r).typeName);
        });
    }
    shell::applyOrder(rows_, order);
    return order;
}

void ScanResults::remove(std::vector<std::size_t> positions) {
    std::vector<bool> gone(rows_.size(), false);
    for (const std::size_t p : positions)
        if (p < gone.size()) gone[p] = true;
    std::size_t i = 0;
    std::erase_if(rows_, [&](const JunkRow&) { return gone[i++]; });
}

std::uint32_t askType(Shell& shell, ScanResults& results, std::string_view key, const std::string& path) {
    if (const std::uint32_t* known = results.typeOf(key)) return *known;
    FileTypeInfo info;
    if (!succeeded(shell.fileType(path, info))) info = {};
    return results.addType(key, std::move(info));
}

ScanTotals selectionTotals(const ScanResults& results, const std::vector<std::size_t>& selected) {
    ScanTotals totals;
    for (const std::size_t i : selected) {
        if (i >= results.size()) continue;
        ++totals.files;
        totals.bytes += results.rows()[i].bytes;
    }
    return totals;
}

}  // namespace quillon::cleanup
