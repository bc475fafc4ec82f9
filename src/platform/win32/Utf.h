#pragma once
// The one place where the program's UTF-8 text meets the system's UTF-16: every wide ("W")
// call in the adapters and the windows converts through these.
#include <windows.h>

#include <cstring>
#include <string>
#include <string_view>

namespace quillon::win32 {

// UTF-8 to UTF-16; a byte sequence that is not UTF-8 becomes U+FFFD, never a wrong name.
inline std::wstring wide(std::string_view text) {
    if (text.empty()) return {};
    const int n = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring out(static_cast<std::size_t>(n), L'\0');
    if (n > 0) MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), n);
    return out;
}

// UTF-16 to UTF-8; a lone surrogate becomes U+FFFD.
inline std::string utf8(std::wstring_view text) {
    if (text.empty()) return {};
    const int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(n), '\0');
    if (n > 0)
        WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), n, nullptr, nullptr);
    return out;
}

// A NUL-terminated wide buffer's text.
inline std::string utf8(const wchar_t* text) { return text ? utf8(std::wstring_view(text)) : std::string(); }

// UTF-16 to UTF-8 into a string that keeps its capacity: a listing converts every name into
// one entry, so most names cost no allocation and plain ASCII no conversion call.
inline void assignUtf8(std::string& out, std::wstring_view text) {
    std::size_t n = 0;
    out.resize(text.size());
    for (; n < text.size() && text[n] < 0x80; ++n) out[n] = static_cast<char>(text[n]);
    if (n == text.size()) return;
    // One UTF-16 unit never takes more than three UTF-8 bytes (a surrogate pair takes four).
    const std::wstring_view rest = text.substr(n);
    out.resize(n + rest.size() * 3);
    const int got = WideCharToMultiByte(CP_UTF8, 0, rest.data(), static_cast<int>(rest.size()), out.data() + n,
                                        static_cast<int>(rest.size() * 3), nullptr, nullptr);
    out.resize(n + static_cast<std::size_t>(got > 0 ? got : 0));
}

}  // namespace quillon::win32
