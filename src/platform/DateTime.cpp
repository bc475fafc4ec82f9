#include "platform/DateTime.h"

namespace quillon {

std::int64_t dayNumber(const DateTime& d) noexcept {
    // Howard Hinnant's days_from_civil.
    std::int64_t y = d.year - (d.month <= 2 ? 1 : 0);
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const std::int64_t yoe = y - era * 400;
    const std::int64_t m = d.month;
    const std::int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d.day - 1;
    const std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

int weekday(const DateTime& d) noexcept {
    // 1970-01-01 was a Thursday (5 when Sunday is 1).
    const std::int64_t n = dayNumber(d);
    const std::int64_t w = ((n % 7) + 7 + 4) % 7;  // 0 = Sunday
    return static_cast<int>(w) + 1;
}

}  // namespace quillon
