#include "ViewerLoadFigures.h"

#include <windows.h>

#include <array>
#include <memory>

#include "Stopwatch.h"
#include "platform/win32/Win32FileSystem.h"

namespace quillon::bench {

namespace {

void listFolder(FileSystem& files, const std::string& folder) {
    std::unique_ptr<DirectoryListing> listing;
    if (!succeeded(files.list(folder + "*", listing))) return;
    FileInfo entry;
    while (listing->next(entry)) {
    }
}

constexpr std::array<EarlierFigures, 2> Earlier{{
    {20000, 8.2, 58.9, 14.8},
    {200000, 102, -1, -1},  // the window was not waited for
}};

}  // namespace

double bareReadAndCheck(const std::string& work, std::size_t& folders) {
    win32::Win32FileSystem files;
    folders = 0;
    const Stopwatch watch;
    for (const char* name : {"changes.qdb", "sysChanges.qdb", "hkcuchanges.qdb", "hklmchanges.qdb"}) {
        std::unique_ptr<TextReader> reader;
        if (!succeeded(files.openRead(work + name, reader))) continue;
        std::string line;
        std::string folder;
        while (reader->readLine(line)) {
            if (line == "}") {
                if (!folder.empty()) listFolder(files, folder);
                folders += folder.empty() ? 0 : 1;
                folder.clear();
            } else if (!line.empty() && line.back() == '{' && line.front() != '!') {
                folder = line.substr(0, line.size() - 1);
            }
        }
    }
    return watch.seconds();
}

double rowTextBytes(const review::ChangeSet& changes) {
    double bytes = 0;
    for (const review::FileRow& row : changes.files)
        bytes += static_cast<double>(row.name.size() + row.folder.size() + row.sizeText.size() + row.typeName.size() + 4);
    return bytes;
}

const EarlierFigures* earlierFigures(std::size_t rows) {
    for (const EarlierFigures& f : Earlier)
        if (f.rows == rows) return &f;
    return nullptr;
}

}  // namespace quillon::bench
