#include "platform/win32/Win32Shell.h"

#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

#include "platform/win32/Conversions.h"
#include "platform/win32/LongPath.h"
#include "platform/win32/Utf.h"

namespace quillon::win32 {

namespace {

HWND toHwnd(WindowRef w) noexcept { return reinterpret_cast<HWND>(w); }

// The shell's path lists: each path NUL-terminated, the list ended by one more NUL. False when
// a path is too long for the shell, which takes no "\\?\" form.
bool nulList(const std::vector<std::string>& paths, std::wstring& list) {
    list.clear();
    for (const auto& p : paths) {
        const std::wstring path = wide(p);
        if (path.size() >= MAX_PATH) return false;
        list += path;
        list += L'\0';
    }
    list += L'\0';
    return true;
}

const wchar_t* orNull(const std::wstring& s) noexcept { return s.empty() ? nullptr : s.c_str(); }

// Some shell calls fail without setting an error code.
Status lastStatusOr(Status fallback) noexcept {
    const DWORD e = GetLastError();
    return e != ERROR_SUCCESS ? toStatus(e) : fallback;
}

// HRESULTs that wrap a system error give it back; anything else has no better name.
Status fromHresult(HRESULT hr) noexcept {
    if (HRESULT_FACILITY(hr) == FACILITY_WIN32) return toStatus(static_cast<DWORD>(HRESULT_CODE(hr)));
    return hr == E_OUTOFMEMORY ? Status::NotEnoughMemory : Status::FileNotFound;
}

// ShellExecute's results up to 32 are its own error numbers; the low ones are system codes.
Status fromShellExecute(INT_PTR result) noexcept {
    constexpr DWORD noAssociation = 1155;  // ERROR_NO_ASSOCIATION
    constexpr DWORD dllNotFound = 1157;    // ERROR_DLL_NOT_FOUND
    switch (result) {
    case 0:
    case SE_ERR_OOM: return Status::NotEnoughMemory;
    case SE_ERR_FNF: return Status::FileNotFound;
    case SE_ERR_PNF: return Status::PathNotFound;
    case SE_ERR_ACCESSDENIED: return Status::AccessDenied;
    case SE_ERR_SHARE: return Status::SharingViolation;
    case SE_ERR_NOASSOC:
    case SE_ERR_ASSOCINCOMPLETE: return toStatus(noAssociation);
    case SE_ERR_DLLNOTFOUND: return toStatus(dllNotFound);
    default: return toStatus(ERROR_BAD_FORMAT);
    }
}

}  // namespace

Status Win32Shell::specialFolder(int csidl, std::string& path) {
    wchar_t buf[MAX_PATH + 1] = {};
    const HRESULT hr = SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, buf);
    if (FAILED(hr)) {
        path.clear();
        return fromHresult(hr);
    }
    path = utf8(buf);
    // S_FALSE: a valid folder that does not exist; what the shell wrote is still its answer.
    return path.empty() ? Status::PathNotFound : Status::Ok;
}

Status Win32Shell::tempPath(std::string& path) {
    std::wstring buf(MAX_PATH + 1, L'\0');
    DWORD n = GetTempPathW(static_cast<DWORD>(buf.size()), buf.data());
    if (n > buf.size()) {
        buf.resize(n);
        n = GetTempPathW(static_cast<DWORD>(buf.size()), buf.data());
    }
    if (n == 0 || n >= buf.size()) return lastStatusOr(Status::PathNotFound);
    path = utf8(std::wstring_view(buf.data(), n));
    return Status::Ok;
}

Status Win32Shell::longPathName(std::string_view path, std::string& longPath) {
    const std::wstring in = wide(path);
    std::wstring buf(MAX_PATH + 1, L'\0');
    DWORD n = GetLongPathNameW(in.c_str(), buf.data(), static_cast<DWORD>(buf.size()));
    if (n > buf.size()) {
        buf.resize(n);
        n = GetLongPathNameW(in.c_str(), buf.data(), static_cast<DWORD>(buf.size()));
    }
    if (n == 0 || n >= buf.size()) return lastStatusOr(Status::FileNotFound);
    longPath = utf8(std::wstring_view(buf.data(), n));
    return Status::Ok;
}

FileOpResult Win32Shell::fileOperation(const FileOperation& op) {
    std::wstring from, to;
    if (!nulList(op.from, from) || (!op.to.empty() && !nulList({op.to}, to))) return {Status::PathTooLong, false};
    SHFILEOPSTRUCTW s{};
    s.hwnd = toHwnd(op.owner);
    s.wFunc = static_cast<UINT>(op.kind);
    s.pFrom = from.c_str();
    s.pTo = orNull(to);
    s.fFlags = static_cast<FILEOP_FLAGS>(op.flags);
    const int result = SHFileOperationW(&s);
    FileOpResult out;
    out.aborted = s.fAnyOperationsAborted != FALSE;
    if (result != 0) {
        out.status = toStatus(static_cast<DWORD>(result));
    } else if (out.aborted) {
        out.status = Status::Cancelled;
    }
    return out;
}

Status Win32Shell::deleteAtRestart(std::string_view path) {
    return MoveFileExW(systemPath(path).c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT) ? Status::Ok : lastStatus();
}

Status Win32Shell::emptyRecycleBin(WindowRef owner, std::string_view root, std::uint32_t flags) {
    const std::wstring r = wide(root);
    const HRESULT hr = SHEmptyRecycleBinW(toHwnd(owner), orNull(r), flags);
    return SUCCEEDED(hr) ? Status::Ok : fromHresult(hr);
}

Status Win32Shell::execute(WindowRef owner, std::string_view verb, std::string_view file,
                           std::string_view parameters, std::string_view folder, int show) {
    const std::wstring v = wide(verb), f = wide(file), p = wide(parameters), d = wide(folder);
    const auto result = reinterpret_cast<INT_PTR>(ShellExecuteW(toHwnd(owner), orNull(v), f.c_str(), orNull(p),
                                                                orNull(d), show));
    return result > 32 ? Status::Ok : fromShellExecute(result);
}

Status Win32Shell::fileType(std::string_view path, FileTypeInfo& out) {
    SHFILEINFOW info{};
    const DWORD_PTR imageList = SHGetFileInfoW(wide(path).c_str(), 0, &info, sizeof info,
                                               SHGFI_TYPENAME | SHGFI_SYSICONINDEX | SHGFI_SMALLICON);
    // The shell sets no error code; a failure almost always means the path does not exist.
    if (imageList == 0) return Status::FileNotFound;
    out.typeName = utf8(info.szTypeName);
    out.iconIndex = info.iIcon;
    return Status::Ok;
}

Status Win32Shell::help(WindowRef owner, std::string_view helpFile, std::uint32_t command, std::string_view keyword) {
    const std::wstring file = wide(helpFile), key = wide(keyword);
    const ULONG_PTR data = command == HelpCommand::Key ? reinterpret_cast<ULONG_PTR>(key.c_str()) : 0;
    SetLastError(ERROR_SUCCESS);
    return WinHelpW(toHwnd(owner), file.c_str(), command, data) ? Status::Ok : lastStatusOr(Status::FileNotFound);
}

}  // namespace quillon::win32
