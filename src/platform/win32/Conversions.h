#pragma once
// Conversions between the system's types and the ports' portable ones.
#include <windows.h>

#include <string>
#include <string_view>

#include "platform/DateTime.h"
#include "platform/Status.h"

namespace quillon::win32 {

inline DateTime toDateTime(const SYSTEMTIME& st) noexcept {
    return {st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond};
}

inline SYSTEMTIME toSystemTime(const DateTime& d) noexcept {
    SYSTEMTIME st{};
    st.wYear = static_cast<WORD>(d.year);
    st.wMonth = static_cast<WORD>(d.month);
    st.wDay = static_cast<WORD>(d.day);
    st.wHour = static_cast<WORD>(d.hour);
    st.wMinute = static_cast<WORD>(d.minute);
    st.wSecond = static_cast<WORD>(d.second);
    return st;
}

// A file time (UTC) as local calendar time, as Explorer and the file dialogs show it.
inline DateTime localFromFileTime(const FILETIME& ft) noexcept {
    FILETIME local;
    SYSTEMTIME st{};
    if (!FileTimeToLocalFileTime(&ft, &local) || !FileTimeToSystemTime(&local, &st)) return {};
    return toDateTime(st);
}

inline Status toStatus(DWORD error) noexcept { return static_cast<Status>(error); }
inline Status lastStatus() noexcept { return toStatus(GetLastError()); }

}  // namespace quillon::win32
