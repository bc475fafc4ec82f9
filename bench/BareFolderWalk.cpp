#include "BareFolderWalk.h"

#include <windows.h>

#include <string_view>
#include <vector>

#include "platform/win32/Handles.h"

namespace quillon::bench {

namespace {

class PlainWriter {
public:
    explicit PlainWriter(const std::string& path)
        : file_(CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr)) {
        buffer_.reserve(capacity);
    }

    void line(std::string_view text) {
        buffer_ += text;
        buffer_ += "\r\n";
        if (buffer_.size() >= capacity) flush();
    }

    bool finish() {
        flush();
        return file_ && ok_ && CloseHandle(file_.release());
    }

private:
    static constexpr std::size_t capacity = 64 * 1024;

    void flush() {
        DWORD written = 0;
        if (!buffer_.empty() &&
            (!WriteFile(file_.get(), buffer_.data(), static_cast<DWORD>(buffer_.size()), &written, nullptr) ||
             written != buffer_.size()))
            ok_ = false;
        buffer_.clear();
    }

    win32::FileHandle file_;
    std::string buffer_;
    bool ok_ = true;
};

bool entersFolder(const WIN32_FIND_DATAA& found) {
    return (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && !(found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) &&
           found.cFileName[0] != '.';
}

void walk(const std::string& folder, PlainWriter& out, BareWalkOptions options) {
    out.line(folder + "{");
    std::vector<std::string> subFolders;
    WIN32_FIND_DATAA found;
    // Closed before going down, as the snapshot walk does: open find handles would pile up.
    if (const win32::FindHandle find(FindFirstFileA((folder + "*.*").c_str(), &found)); find) {
        do {
            if (options.convertTimes) {
                FILETIME local;
                SYSTEMTIME calendar;
                FileTimeToLocalFileTime(&found.ftLastWriteTime, &local);
                FileTimeToSystemTime(&local, &calendar);
            }
            if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                out.line(found.cFileName);
            else if (entersFolder(found))
                subFolders.emplace_back(found.cFileName);
        } while (FindNextFileA(find.get(), &found));
    }
    out.line("}");
    for (const std::string& sub : subFolders) walk(folder + sub + "\\", out, options);
}

}  // namespace

bool bareFolderWalk(const std::string& folder, const std::string& outputPath, BareWalkOptions options) {
    PlainWriter out(outputPath);
    walk(folder, out, options);
    return out.finish();
}

}  // namespace quillon::bench
