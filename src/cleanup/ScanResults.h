#pragma once
// The rows a clean-up scan found, as the result list shows them, with the scan's totals.
// The list is a view over these rows: sorting and removing happen here.
#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Shell.h"

namespace quillon::cleanup {

struct JunkRow {
    std::string name;
    std::string folder;  // ends in "\"
    double bytes = 0;
    std::uint32_t type = 0;  // index of its type in ScanResults::types()

    std::string fullPath() const { return folder + name; }
};

// Every file found counts, also those whose rows the user has removed since.
struct ScanTotals {
    std::uint64_t files = 0;
    double bytes = 0;
};

enum class ResultColumn { Name = 0, Folder = 1, Size = 2, Type = 3, HiddenSize = 4 };

class ScanResults {
public:
    void clear();

    // The type recorded under a type key, or nullptr when the shell has not been asked yet.
    const std::uint32_t* typeOf(std::string_view key) const;
    std::uint32_t addType(std::string_view key, FileTypeInfo info);
    const FileTypeInfo& typeInfo(const JunkRow& row) const { return types_[row.type]; }

    void add(JunkRow row);
    const std::vector<JunkRow>& rows() const noexcept { return rows_; }
    std::size_t size() const noexcept { return rows_.size(); }
    const ScanTotals& totals() const noexcept { return totals_; }

    // The text a column shows for a row.
    std::string cell(std::size_t row, ResultColumn column) const;

    // Orders the rows by one column (Size and the hidden column by the real size), equal rows
    // keeping their order. Returns, for each new position, the row's old position.
    std::vector<std::size_t> sortBy(ResultColumn column, bool ascending);

    // Takes these rows out (positions may repeat or come in any order); the others keep their
    // order.
    void remove(std::vector<std::size_t> positions);

private:
    std::vector<JunkRow> rows_;
    std::vector<FileTypeInfo> types_;
    std::map<std::string, std::uint32_t, std::less<>> typeByKey_;
    ScanTotals totals_;
};

// The type of a file of this key: asked of the shell for the first file of the key in a scan
// (about 2 ms a question under Wine), then taken from the results.
std::uint32_t askType(Shell& shell, ScanResults& results, std::string_view key, const std::string& path);

// The selected rows' count and bytes.
ScanTotals selectionTotals(const ScanResults& results, const std::vector<std::size_t>& selected);

}  // namespace quillon::cleanup
