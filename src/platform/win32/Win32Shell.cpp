#include "platform/win32/Win32Shell.h"

#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

#include "platform/win32/Conversions.h"

namespace quillon::win32 {

namespace {

HWND toHwnd(WindowRef w) noexcept { return reinterpret_cast<HWND>(w); }

// The shell's path lists: each path NUL-terminated, the list ended by one more NUL.
std::string nulList(const std::vector<std::string>& paths) {
    std::string list;
    for (const auto& p : paths) {
        list += p;
        list += '\0';
    }
    list += '\0';
    return list;
}

const char* orNull(const std::string& s) noexcept { return s.empty() ? nullptr : s.c_str(); }

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
    char buf[MAX_PATH + 1] = {};
    const HRESULT hr = SHGetFolderPathA(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, buf);
    if (FAILED(hr)) {
        path.clear();
        return fromHresult(hr);
    }
    path = buf;
    // S_FALSE: a valid folder that does not exist; what the shell wrote is still its answer.
    return path.empty() ? Status::PathNotFound : Status::Ok;
}

Status Win32Shell::tempPath(std::string& path) {
    std::string buf(MAX_PATH + 1, '\0');
    DWORD n = GetTempPathA(static_cast<DWORD>(buf.size()), buf.data());
    if (n > buf.size()) {
        buf.resize(n);
        n = GetTempPathA(static_cast<DWORD>(buf.size()), buf.data());
    }
    if (n == 0 || n >= buf.size()) return lastStatusOr(Status::PathNotFound);
    path.assign(buf.data(), n);
    return Status::Ok;
}

Status Win32Shell::longPathName(std::string_view path, std::string& longPath) {
    const std::string in = z(path);
    std::string buf(MAX_PATH + 1, '\0');
    DWORD n = GetLongPathNameA(in.c_str(), buf.data(), static_cast<DWORD>(buf.size()));
    if (n > buf.size()) {
        buf.resize(n);
        n = GetLongPathNameA(in.c_str(), buf.data(), static_cast<DWORD>(buf.size()));
    }
    if (n == 0 || n >= buf.size()) return lastStatusOr(Status::FileNotFound);
    longPath.assign(buf.data(), n);
    return Status::Ok;
}

FileOpResult Win32Shell::fileOperation(const FileOperation& op) {
    const std::string from = nulList(op.from);
    const std::string to = op.to.empty() ? std::string() : nulList({op.to});
    SHFILEOPSTRUCTA s{};
    s.hwnd = toHwnd(op.owner);
    s.wFunc = static_cast<UINT>(op.kind);
    s.pFrom = from.c_str();
    s.pTo = orNull(to);
    s.fFlags = static_cast<FILEOP_FLAGS>(op.flags);
    const int result = SHFileOperationA(&s);
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
    return MoveFileExA(z(path).c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT) ? Status::Ok : lastStatus();
}

Status Win32Shell::emptyRecycleBin(WindowRef owner, std::string_view root, std::uint32_t flags) {
    const std::string r = z(root);
    const HRESULT hr = SHEmptyRecycleBinA(toHwnd(owner), orNull(r), flags);
    return SUCCEEDED(hr) ? Status::Ok : fromHresult(hr);
}

Status Win32Shell::execute(WindowRef owner, std::string_view verb, std::string_view file,
                           std::string_view parameters, std::string_view folder, int show) {
    const std::string v = z(verb), f = z(file), p = z(parameters), d = z(folder);
    const auto result = reinterpret_cast<INT_PTR>(ShellExecuteA(toHwnd(owner), orNull(v), f.c_str(), orNull(p),
                                                                orNull(d), show));
    return result > 32 ? Status::Ok : fromShellExecute(result);
}

Status Win32Shell::fileType(std::string_view path, FileTypeInfo& out) {
    SHFILEINFOA info{};
    const DWORD_PTR imageList = SHGetFileInfoA(z(path).c_str(), 0, &info, sizeof info,
                                               SHGFI_TYPENAME | SHGFI_SYSICONINDEX | SHGFI_SMALLICON);
    // The shell sets no error code; a failure almost always means the path does not exist.
    if (imageList == 0) return Status::FileNotFound;
    out.typeName = info.szTypeName;
    out.iconIndex = info.iIcon;
    return Status::Ok;
}

Status Win32Shell::help(WindowRef owner, std::string_view helpFile, std::uint32_t command, std::string_view keyword) {
    const std::string file = z(helpFile), key = z(keyword);
    const ULONG_PTR data = command == HelpCommand::Key ? reinterpret_cast<ULONG_PTR>(key.c_str()) : 0;
    SetLastError(ERROR_SUCCESS);
    return WinHelpA(toHwnd(owner), file.c_str(), command, data) ? Status::Ok : lastStatusOr(Status::FileNotFound);
}

}  // namespace quillon::win32
