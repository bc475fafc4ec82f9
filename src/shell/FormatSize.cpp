#include "shell/FormatSize.h"

#include <array>
#include <cstdio>
#include <string_view>

namespace quillon::shell {

std::string formatSize(double bytes, bool withDecimal) {
    static constexpr std::array<const char*, 5> unitNames{"", "KB", "MB", "GB", "TB"};
    std::size_t units = 0;
    // Stops at TB: a larger size stays in TB instead of losing its unit.
    while (bytes >= 1024 && units + 1 < unitNames.size()) {
        bytes /= 1024;
        ++units;
    }
    if (units == 0) return bytes < 512 ? "0KB" : "1KB";

    // Whole part and first decimal digit, read off the number's text (fifteen decimals, so
    // 1.3 stays 1.3), truncated, never rounded up.
    char text[64];
    std::snprintf(text, sizeof text, "%.15f", bytes);
    std::string_view digits(text);
    const auto point = digits.find('.');
    const std::string_view wholePart = digits.substr(0, point);
    const char decimalDigit = point != std::string_view::npos && point + 1 < digits.size() ? digits[point + 1] : '0';

    std::string out(wholePart);
    if (withDecimal && decimalDigit != '0') out += std::string(".") + decimalDigit + " ";
    return out + unitNames[units];
}

}  // namespace quillon::shell
