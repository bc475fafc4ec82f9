#include "support/ManualClock.h"

#include <cstdio>

namespace quillon::fakes {

namespace {

// Inverse of dayNumber (Howard Hinnant's civil_from_days).
DateTime dateOfDay(std::int64_t z) {
    z += 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const std::int64_t doe = z - era * 146097;
    const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const std::int64_t mp = (5 * doy + 2) / 153;
    const std::int64_t m = mp < 10 ? mp + 3 : mp - 9;
    DateTime d;
    d.year = static_cast<int>(yoe + era * 400 + (m <= 2 ? 1 : 0));
    d.month = static_cast<int>(m);
    d.day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    return d;
}

std::int64_t floorDiv(std::int64_t a, std::int64_t b) { return a / b - ((a % b != 0 && (a < 0) != (b < 0)) ? 1 : 0); }

}  // namespace

void ManualClock::advanceSeconds(std::int64_t seconds) {
    const std::int64_t total =
        dayNumber(now_) * 86400 + now_.hour * 3600 + now_.minute * 60 + now_.second + seconds;
    const std::int64_t day = floorDiv(total, 86400);
    const std::int64_t rest = total - day * 86400;
    DateTime next = dateOfDay(day);
    next.hour = static_cast<int>(rest / 3600);
    next.minute = static_cast<int>(rest / 60 % 60);
    next.second = static_cast<int>(rest % 60);
    now_ = next;
}

std::string ManualClock::shortDate(const DateTime& when) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%d/%d/%04d", when.month, when.day, when.year);
    return buf;
}

std::string ManualClock::timeText(const DateTime& when) {
    const int hour12 = when.hour % 12 == 0 ? 12 : when.hour % 12;
    char buf[32];
    std::snprintf(buf, sizeof buf, "%d:%02d:%02d %s", hour12, when.minute, when.second,
                  when.hour < 12 ? "AM" : "PM");
    return buf;
}

}  // namespace quillon::fakes
