#include "review/ValueRows.h"

#include "platform/ValueLine.h"

namespace quillon::review {

ValueRow valueRowOf(std::string_view hivePrefix, const detection::ValueChangeLine& line) {
    return {std::string(hivePrefix) + line.key, line.name, std::string(detection::valueChangeWord(line.change)),
            line.newData, line.oldData};
}

shell::ValueTakeBack takeBackOf(const ValueRow& row) {
    shell::ValueTakeBack back{row.key, row.name, std::nullopt, std::nullopt};
    if (row.change != "removed") back.found = row.newData;
    if (row.change != "added") back.before = row.oldData;
    return back;
}

std::string valueNameShown(std::string_view name) { return name.empty() ? "(Default)" : std::string(name); }

std::string valueEntry(const ValueRow& row) {
    return escapeField(row.key) + '\t' + escapeField(row.name) + '\t' + row.change + '\t' + row.newData + '\t' +
           row.oldData;
}

bool parseValueEntry(std::string_view entry, ValueRow& row) {
    detection::ValueChangeLine line;
    // The same five fields as a changes line, but the change first there: reorder and reuse.
    const std::size_t first = entry.find('\t');
    const std::size_t second = first == std::string_view::npos ? first : entry.find('\t', first + 1);
    const std::size_t third = second == std::string_view::npos ? second : entry.find('\t', second + 1);
    if (third == std::string_view::npos) return false;
    const std::string asChange = std::string(entry.substr(second + 1, third - second - 1)) + '\t' +
                                 std::string(entry.substr(0, second)) + std::string(entry.substr(third));
    if (!detection::parseValueChange(asChange, line)) return false;
    row = {line.key, line.name, std::string(detection::valueChangeWord(line.change)), line.newData, line.oldData};
    const bool added = line.change == detection::ValueChange::Added;
    const bool removed = line.change == detection::ValueChange::Removed;
    return !row.key.empty() && row.newData.empty() == removed && row.oldData.empty() == added;
}

}  // namespace quillon::review
