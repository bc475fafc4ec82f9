#pragma once
// The duplicate scan as the plain folder-by-folder method goes, over any file system: the
// oracle the scan is checked against, and the floor of its benchmark.
#include <algorithm>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "cleanup/DuplicateScan.h"
#include "platform/FileSystem.h"
#include "platform/TextCompare.h"

namespace quillon::cleanup {

// The passes as the plain method goes: the first block with names is the reference; every later
// line naming one of its names is a candidate pair and is dropped from the copy.
inline std::multiset<std::string> duplicatePasses(FileSystem& files, const DuplicateOptions& o, const std::string& root,
                                                  const std::string& windowsFolder) {
    std::vector<std::string> lines;
    std::vector<std::string> pending{root};
    while (!pending.empty()) {
        const std::string folder = pending.back();
        pending.pop_back();
        lines.push_back(folder + "{");
        std::unique_ptr<DirectoryListing> listing;
        if (succeeded(files.list(folder + "*.*", listing))) {
            FileInfo e;
            while (listing->next(e)) {
                if (e.name == "." || e.name == "..") continue;
                if (e.attributes & FileAttr::Directory) pending.push_back(folder + e.name + "\\");
                else if (passesNamedFilter(o.named, e.name)) lines.push_back(e.name);
            }
        }
        lines.push_back("}");
    }
    std::multiset<std::string> rows;
    std::set<std::string> listed;
    const auto info = [&](const std::string& path) {
        FileInfo i;
        static_cast<void>(files.info(path, i));  // a missing file reports size 0
        return i;
    };
    for (std::size_t at = 0; at < lines.size();) {
        const std::string reference = lines[at].substr(0, lines[at].size() - 1);
        std::vector<std::string> names;
        std::size_t next = at + 1;
        for (; lines[next] != "}"; ++next) names.push_back(toLowerAnsi(lines[next]));
        std::vector<std::string> copy;
        std::string current;
        for (std::size_t i = next + 1; i < lines.size(); ++i) {
            const std::string& line = lines[i];
            if (line.back() == '{') current = line.substr(0, line.size() - 1);
            if (line.back() == '{' || line == "}" ||
                std::find(names.begin(), names.end(), toLowerAnsi(line)) == names.end()) {
                copy.push_back(line);
                continue;
            }
            const FileInfo earlier = info(reference + line), later = info(current + line);
            const std::string sys = toLowerAnsi(windowsFolder + "sysbckup");
            if ((o.sameDateTime && earlier.lastWrite != later.lastWrite) || (o.sameSize && earlier.size != later.size) ||
                (o.skipZeroLength && later.size == 0) ||
                (o.skipSysbckup && (toLowerAnsi(current + reference).find(sys) != std::string::npos)))
                continue;
            if (listed.insert(toLowerAnsi(reference + line)).second) rows.insert(reference + line);
            rows.insert(current + line);
        }
        lines = std::move(copy);
        at = 0;
    }
    return rows;
}

}  // namespace quillon::cleanup
