#include "support/ManualClock.h"

#include <cstdio>

namespace quillon::fakes {

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
