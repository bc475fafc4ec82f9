#pragma once
// Paths as the wide file functions take them, of any length.
#include <windows.h>

#include <string>
#include <string_view>

#include "platform/win32/Utf.h"

namespace quillon::win32 {

// From this length on a plain path may fail: creating a folder leaves room for an 8.3 name
// within MAX_PATH.
inline constexpr std::size_t longPathFrom = MAX_PATH - 12;

// A path past the plain limit gets the "\\?\" form ("\\?\UNC\" for a share), which lifts the
// limit but also skips the system's clean-up of the path; so it is made full first, which
// turns "/" into "\", resolves "." and "..", and drops a last part's trailing dots and spaces,
// as a plain path would have been read.
inline std::wstring systemPath(std::string_view path) {
    std::wstring plain = wide(path);
    if (plain.size() < longPathFrom || plain.starts_with(L"\\\\?\\") || plain.starts_with(L"\\\\.\\")) return plain;
    const DWORD need = GetFullPathNameW(plain.c_str(), 0, nullptr, nullptr);
    if (need == 0) return plain;
    std::wstring full(need, L'\0');
    const DWORD n = GetFullPathNameW(plain.c_str(), need, full.data(), nullptr);
    if (n == 0 || n >= need) return plain;
    full.resize(n);
    if (full.starts_with(L"\\\\")) return L"\\\\?\\UNC\\" + full.substr(2);
    return L"\\\\?\\" + full;
}

}  // namespace quillon::win32
