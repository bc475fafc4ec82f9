#include "review/RemovalListWriter.h"

#include <memory>

#include "platform/TextCompare.h"
#include "review/RemovalListFormat.h"
#include "review/ValueRows.h"

namespace quillon::review {
namespace {

namespace fmt = removal_list;

constexpr std::string_view LeftOutMark = "scanning not";

bool leftOut(std::string_view firstColumn) { return findNoCase(firstColumn, LeftOutMark) != std::string_view::npos; }

template <typename Row, typename Text>
std::vector<std::string> pick(const std::vector<Row>& rows, const std::vector<std::size_t>& indices, Text text) {
    std::vector<std::string> out;
    out.reserve(indices.size());
    for (const std::size_t i : indices) {
        if (i < rows.size()) out.push_back(text(rows[i]));
    }
    return out;
}

std::string fullPath(const FileRow& row) { return row.fullPath(); }
std::string fullKey(const KeyRow& row) { return row.fullKey(); }

Status writeSection(TextWriter& out, std::string_view header, const std::vector<std::string>& entries) {
    Status s = out.writeLine(header);
    for (const auto& entry : entries) {
        if (!succeeded(s)) break;
        s = out.writeLine(entry);
    }
    return succeeded(s) ? out.writeLine(fmt::SectionEnd) : s;
}

Status writeSections(TextWriter& out, const RemovalListEntries& entries) {
    Status s = writeSection(out, fmt::FilesHeader, entries.files);
    if (succeeded(s)) s = writeSection(out, fmt::RegistryHeader, entries.keys);
    for (std::size_t i = 0; i < ConfigListCount && succeeded(s); ++i)
        s = writeSection(out, fmt::LineHeaders[i], entries.lines[i]);
    if (succeeded(s) && !entries.values.empty()) s = writeSection(out, fmt::ValuesHeader, entries.values);
    return s;
}

}  // namespace

std::size_t RemovalListEntries::count() const {
    std::size_t n = files.size() + keys.size();
    for (const auto& list : lines) n += list.size();
    return n + values.size();
}

std::string lineEntry(const LineRow& row) {
    std::string entry = row.added;
    entry += fmt::Separator;
    entry += row.replaced;
    entry += fmt::Separator;
    return entry;
}

RemovalListEntries selectedEntries(const ChangeSet& changes, const Selection& selection) {
    RemovalListEntries entries;
    entries.files = pick(changes.files, selection.files, fullPath);
    entries.keys = pick(changes.keys, selection.keys, fullKey);
    for (std::size_t i = 0; i < ConfigListCount; ++i)
        entries.lines[i] = pick(changes.lines[i], selection.lines[i], lineEntry);
    entries.values = pick(changes.values, selection.values, valueEntry);
    return entries;
}

RemovalListEntries remainingEntries(const ChangeSet& changes) {
    RemovalListEntries entries;
    for (const auto& row : changes.files) entries.files.push_back(row.fullPath());
    entries.files.insert(entries.files.end(), changes.absentFiles.begin(), changes.absentFiles.end());
    for (const auto& row : changes.keys) {
        if (!leftOut(row.name)) entries.keys.push_back(row.fullKey());
    }
    entries.keys.insert(entries.keys.end(), changes.absentKeys.begin(), changes.absentKeys.end());
    for (std::size_t i = 0; i < ConfigListCount; ++i) {
        for (const auto& row : changes.lines[i]) {
            if (!leftOut(row.added)) entries.lines[i].push_back(lineEntry(row));
        }
    }
    for (const auto& row : changes.values) entries.values.push_back(valueEntry(row));
    return entries;
}

WriteResult writeRemovalList(FileSystem& files, std::string_view path, const RemovalListEntries& entries) {
    WriteResult result;
    result.entries = entries.count();
    const std::string work = std::string(path) + ".tmp";
    std::unique_ptr<TextWriter> out;
    if (!succeeded(files.openWrite(work, WriteMode::Create, out))) return result;
    const Status written = writeSections(*out, entries);
    const Status closed = out->close();
    if (!succeeded(written) || !succeeded(closed)) {
        removeLeftover(files, work);
        return result;
    }
    if (!succeeded(files.moveFile(work, path, true))) {
        removeLeftover(files, work);
        return result;
    }
    result.written = true;
    return result;
}

}  // namespace quillon::review
