#include "platform/win32/Win32Clock.h"

#include <windows.h>

#include "platform/win32/Conversions.h"
#include "platform/win32/Utf.h"

namespace quillon::win32 {

DateTime Win32Clock::now() {
    SYSTEMTIME st;
    GetLocalTime(&st);
    return toDateTime(st);
}

std::string Win32Clock::shortDate(const DateTime& when) {
    const SYSTEMTIME st = toSystemTime(when);
    wchar_t buf[128];
    const int n = GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &st, nullptr, buf, 128);
    return n > 0 ? utf8(std::wstring_view(buf, static_cast<size_t>(n - 1))) : std::string();
}

std::string Win32Clock::timeText(const DateTime& when) {
    const SYSTEMTIME st = toSystemTime(when);
    wchar_t buf[128];
    const int n = GetTimeFormatW(LOCALE_USER_DEFAULT, 0, &st, nullptr, buf, 128);
    return n > 0 ? utf8(std::wstring_view(buf, static_cast<size_t>(n - 1))) : std::string();
}

char Win32Clock::decimalSeparator() {
    wchar_t buf[8];
    const int n = GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, buf, 8);
    // A separator outside ASCII (Arabic's, say) takes more than the one byte asked for.
    return n > 1 && buf[0] < 0x80 ? static_cast<char>(buf[0]) : '.';
}

}  // namespace quillon::win32
