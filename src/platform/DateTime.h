#pragma once
// A local calendar date and time, as file dates and the clock are shown to the user.
#include <compare>
#include <cstdint>

namespace quillon {

struct DateTime {
    int year = 0;
    int month = 0;   // 1..12
    int day = 0;     // 1..31
    int hour = 0;
    int minute = 0;
    int second = 0;

    auto operator<=>(const DateTime&) const = default;
};

// Days since 1970-01-01 of the date part (proleptic Gregorian); for "older than n days" tests.
std::int64_t dayNumber(const DateTime& d) noexcept;

// 1 (Sunday) .. 7 (Saturday).
int weekday(const DateTime& d) noexcept;

}  // namespace quillon
