#include "platform/win32/Win32FileSystem.h"

#include <windows.h>

#include <algorithm>
#include <limits>

#include "platform/BufferedWriter.h"
#include "platform/LineReader.h"
#include "platform/win32/Conversions.h"
#include "platform/win32/Handles.h"
#include "platform/win32/LongPath.h"
#include "platform/win32/Utf.h"

namespace quillon::win32 {

namespace {

// The code page files of earlier versions were written in: the system's ANSI page. CP_ACP will
// not do, since the manifest makes it UTF-8; 0 when the locale names none or only UTF-8.
UINT legacyCodePage() noexcept {
    DWORD page = 0;
    if (!GetLocaleInfoW(LOCALE_SYSTEM_DEFAULT, LOCALE_IDEFAULTANSICODEPAGE | LOCALE_RETURN_NUMBER,
                        reinterpret_cast<LPWSTR>(&page), sizeof page / sizeof(wchar_t)))
        return 0;
    return page == CP_UTF8 ? 0 : page;
}

// A line that is not UTF-8, in that page; without one the reader's own Windows-1252 stands.
LineReader::Decoder legacyDecoder() {
    const UINT page = legacyCodePage();
    if (page == 0) return {};
    return [page](std::string_view bytes) {
        const int n = MultiByteToWideChar(page, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
        std::wstring text(static_cast<std::size_t>(n > 0 ? n : 0), L'\0');
        if (n > 0) MultiByteToWideChar(page, 0, bytes.data(), static_cast<int>(bytes.size()), text.data(), n);
        return utf8(text);
    };
}

// Assigns in place: a listing reuses one entry, whose strings keep their capacity.
void toFileInfo(const WIN32_FIND_DATAW& fd, FileInfo& out) {
    assignUtf8(out.name, fd.cFileName);
    out.attributes = fd.dwFileAttributes;
    out.size = (static_cast<std::uint64_t>(fd.nFileSizeHigh) << 32) | fd.nFileSizeLow;
    out.lastWrite = localFromFileTime(fd.ftLastWriteTime);
    // Names come whole through the wide listing, so no short name is needed to reach one.
    out.shortName.clear();
}

// The basic information (no 8.3 names to make up): the cheapest. A listing reads in larger
// pieces; a look-up of one entry has no use for them.
HANDLE findFirst(const std::wstring& pattern, WIN32_FIND_DATAW& fd, DWORD flags) {
    return FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &fd, FindExSearchNameMatch, nullptr, flags);
}

// "C:\" or "C:": FindFirstFile has no entry for a drive's root.
bool isRoot(std::string_view path) {
    return (path.size() == 2 || (path.size() == 3 && (path[2] == '\\' || path[2] == '/'))) && path[1] == ':';
}

class FindListing final : public DirectoryListing {
public:
    FindListing(FindHandle find, const WIN32_FIND_DATAW& first) : find_(std::move(find)), pending_(first) {}

    bool next(FileInfo& entry) override {
        if (!havePending_) {
            if (!find_) return false;
            if (!FindNextFileW(find_.get(), &pending_)) {
                const DWORD error = GetLastError();
                if (error != ERROR_NO_MORE_FILES) status_ = toStatus(error);
                find_.reset();
                return false;
            }
        }
        havePending_ = false;
        toFileInfo(pending_, entry);
        return true;
    }

    Status status() const override { return status_; }

private:
    FindHandle find_;
    WIN32_FIND_DATAW pending_;
    bool havePending_ = true;
    Status status_ = Status::Ok;
};

class FileSource final : public ByteSource {
public:
    explicit FileSource(FileHandle file) : file_(std::move(file)) {}

    Status read(char* buffer, std::size_t capacity, std::size_t& got) override {
        DWORD n = 0;
        const DWORD ask = static_cast<DWORD>(std::min<std::size_t>(capacity, std::numeric_limits<DWORD>::max()));
        got = 0;
        if (!ReadFile(file_.get(), buffer, ask, &n, nullptr)) return lastStatus();
        got = n;
        return Status::Ok;
    }

    Status seek(std::uint64_t offset) override {
        LARGE_INTEGER to{};
        to.QuadPart = static_cast<LONGLONG>(offset);
        return SetFilePointerEx(file_.get(), to, nullptr, FILE_BEGIN) ? Status::Ok : lastStatus();
    }

private:
    FileHandle file_;
};

class FileSink final : public ByteSink {
public:
    explicit FileSink(FileHandle file) : file_(std::move(file)) {}

    Status write(std::string_view bytes) override {
        while (!bytes.empty()) {
            const DWORD ask = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), std::numeric_limits<DWORD>::max()));
            DWORD n = 0;
            if (!WriteFile(file_.get(), bytes.data(), ask, &n, nullptr)) return lastStatus();
            if (n == 0) return Status::WriteFault;
            bytes.remove_prefix(n);
        }
        return Status::Ok;
    }

    Status close() override {
        // The system may report a deferred write error only now.
        return CloseHandle(file_.release()) ? Status::Ok : lastStatus();
    }

private:
    FileHandle file_;
};

}  // namespace

Status Win32FileSystem::list(std::string_view pattern, std::unique_ptr<DirectoryListing>& out) {
    out.reset();
    WIN32_FIND_DATAW fd;
    FindHandle find(findFirst(systemPath(pattern), fd, FIND_FIRST_EX_LARGE_FETCH));
    if (!find) return lastStatus();
    out = std::make_unique<FindListing>(std::move(find), fd);
    return Status::Ok;
}

Status Win32FileSystem::info(std::string_view path, FileInfo& out) {
    // FindFirstFile would take a mask and answer for the first match.
    if (path.find_first_of("*?") != std::string_view::npos) return Status::InvalidName;
    if (path.empty()) return Status::PathNotFound;
    const bool folderOnly = !isRoot(path) && (path.back() == '\\' || path.back() == '/');
    const std::string_view bare = folderOnly ? path.substr(0, path.size() - 1) : path;
    const std::wstring system = systemPath(bare);
    if (!isRoot(path)) {
        // FindFirstFile spells the name as the file system does.
        WIN32_FIND_DATAW fd;
        const FindHandle find(findFirst(system, fd, 0));
        if (find) {
            if (folderOnly && !(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) return Status::PathNotFound;
            toFileInfo(fd, out);
            return Status::Ok;
        }
    }
    // A root has no entry to find. For a path that leads nowhere this call tells a missing
    // file from a missing folder, where FindFirstFile's error varies (Wine: invalid name).
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(system.c_str(), GetFileExInfoStandard, &data)) return lastStatus();
    const std::size_t cut = bare.find_last_of("\\/");
    out = {isRoot(path) ? std::string(bare.substr(0, 2)) + "\\" : std::string(bare.substr(cut == std::string::npos ? 0 : cut + 1)),
           data.dwFileAttributes,
           (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow,
           localFromFileTime(data.ftLastWriteTime), {}};
    return Status::Ok;
}

Status Win32FileSystem::setAttributes(std::string_view path, std::uint32_t attributes) {
    return SetFileAttributesW(systemPath(path).c_str(), attributes) ? Status::Ok : lastStatus();
}

Status Win32FileSystem::openExclusive(std::string_view path) {
    const FileHandle file(CreateFileW(systemPath(path).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
    return file ? Status::Ok : lastStatus();
}

Status Win32FileSystem::openRead(std::string_view path, std::unique_ptr<TextReader>& out) {
    out.reset();
    FileHandle file(CreateFileW(systemPath(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file) return lastStatus();
    out = std::make_unique<LineReader>(std::make_unique<FileSource>(std::move(file)), legacyDecoder());
    return Status::Ok;
}

Status Win32FileSystem::openWrite(std::string_view path, WriteMode mode, std::unique_ptr<TextWriter>& out) {
    out.reset();
    const DWORD disposition = mode == WriteMode::Create ? CREATE_ALWAYS : OPEN_ALWAYS;
    FileHandle file(CreateFileW(systemPath(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, disposition,
                                FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file) return lastStatus();
    if (mode == WriteMode::Append && !SetFilePointerEx(file.get(), LARGE_INTEGER{}, nullptr, FILE_END))
        return lastStatus();
    out = std::make_unique<BufferedWriter>(std::make_unique<FileSink>(std::move(file)));
    return Status::Ok;
}

Status Win32FileSystem::copyFile(std::string_view from, std::string_view to, bool replace) {
    return CopyFileW(systemPath(from).c_str(), systemPath(to).c_str(), replace ? FALSE : TRUE) ? Status::Ok : lastStatus();
}

Status Win32FileSystem::moveFile(std::string_view from, std::string_view to, bool replace) {
    const DWORD flags = MOVEFILE_COPY_ALLOWED | (replace ? MOVEFILE_REPLACE_EXISTING : 0);
    return MoveFileExW(systemPath(from).c_str(), systemPath(to).c_str(), flags) ? Status::Ok : lastStatus();
}

Status Win32FileSystem::deleteFile(std::string_view path) {
    return DeleteFileW(systemPath(path).c_str()) ? Status::Ok : lastStatus();
}

Status Win32FileSystem::createFolder(std::string_view path) {
    return CreateDirectoryW(systemPath(path).c_str(), nullptr) ? Status::Ok : lastStatus();
}

Status Win32FileSystem::removeFolder(std::string_view path) {
    return RemoveDirectoryW(systemPath(path).c_str()) ? Status::Ok : lastStatus();
}

std::uint32_t Win32FileSystem::driveType(std::string_view root) { return GetDriveTypeW(wide(root).c_str()); }

Status Win32FileSystem::volumeLabel(std::string_view root, std::string& label) {
    wchar_t buffer[MAX_PATH + 1] = {};
    if (!GetVolumeInformationW(wide(root).c_str(), buffer, MAX_PATH + 1, nullptr, nullptr, nullptr, nullptr, 0))
        return lastStatus();
    label = utf8(buffer);
    return Status::Ok;
}

}  // namespace quillon::win32
