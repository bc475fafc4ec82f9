#include "BareWalk.h"

#include <windows.h>

#include <vector>

#include "platform/win32/Handles.h"

namespace quillon::bench {

std::size_t bareWalk(const std::string& root) {
    std::size_t entries = 0;
    std::vector<std::string> pending{root};
    while (!pending.empty()) {
        const std::string folder = std::move(pending.back());
        pending.pop_back();
        WIN32_FIND_DATAA data;
        const win32::FindHandle find(FindFirstFileA((folder + "*.*").c_str(), &data));
        if (!find) continue;
        do {
            const std::string name = data.cFileName;
            if (name == "." || name == "..") continue;
            ++entries;
            if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && !(data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT))
                pending.push_back(folder + name + "\\");
        } while (FindNextFileA(find.get(), &data));
    }
    return entries;
}

}  // namespace quillon::bench
