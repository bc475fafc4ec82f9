#include "review/RemovalListRead.h"

#include <memory>

#include "platform/TextCompare.h"
#include "review/ValueRows.h"

namespace quillon::review {
namespace {

// Reads the entry lines of one section up to its "}"; a section cut off by the end of the
// file ends there.
template <typename Visit>
void forEachEntry(TextReader& list, RunContext& run, Visit visit) {
    std::string line;
    while (list.readLine(line) && line != removal_list::SectionEnd) {
        run.yield();
        visit(line);
    }
}

}  // namespace

bool readRemovalList(FileSystem& files, RunContext& run, std::string_view path, RemovalListContents& out) {
    std::unique_ptr<TextReader> list;
    std::string first;
    if (!succeeded(files.openRead(path, list)) || !list->readLine(first) ||
        findNoCase(first, removal_list::FilesHeader) == std::string::npos)
        return false;
    const auto take = [&](std::vector<std::string>& into) {
        forEachEntry(*list, run, [&](const std::string& entry) { into.push_back(entry); });
    };
    take(out.paths);
    std::string header;
    if (list->readLine(header)) out.registryHeader = header;
    take(out.keys);
    for (auto& lines : out.lines) {
        if (!list->readLine(header)) break;
        forEachEntry(*list, run, [&](const std::string& entry) {
            const std::size_t cut = entry.find(removal_list::Separator);
            const std::string_view rest =
                cut == std::string::npos ? std::string_view() : std::string_view(entry).substr(cut + 1);
            lines.push_back({entry, entry.substr(0, cut), std::string(rest.substr(0, rest.find(removal_list::Separator)))});
        });
    }
    if (list->readLine(header) && header == removal_list::ValuesHeader) {
        bool readable = true;
        forEachEntry(*list, run, [&](const std::string& entry) {
            ValueRow row;
            readable = readable && parseValueEntry(entry, row);
            out.values.emplace_back(entry, std::move(row));
        });
        if (!readable) return false;
    }
    return succeeded(list->status());
}

}  // namespace quillon::review
