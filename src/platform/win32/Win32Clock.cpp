#include "platform/win32/Win32Clock.h"

#include <windows.h>

#include "platform/win32/Conversions.h"

namespace quillon::win32 {

DateTime Win32Clock::now() {
    SYSTEMTIME st;
    GetLocalTime(&st);
    return toDateTime(st);
}

std::string Win32Clock::shortDate(const DateTime& when) {
    const SYSTEMTIME st = toSystemTime(when);
    char buf[128];
    const int n = GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &st, nullptr, buf, sizeof buf);
    return n > 0 ? std::string(buf, static_cast<size_t>(n - 1)) : std::string();
}

std::string Win32Clock::timeText(const DateTime& when) {
    const SYSTEMTIME st = toSystemTime(when);
    char buf[128];
    const int n = GetTimeFormatA(LOCALE_USER_DEFAULT, 0, &st, nullptr, buf, sizeof buf);
    return n > 0 ? std::string(buf, static_cast<size_t>(n - 1)) : std::string();
}

char Win32Clock::decimalSeparator() {
    char buf[8];
    const int n = GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, buf, sizeof buf);
    return n > 1 ? buf[0] : '.';
}

}  // namespace quillon::win32
