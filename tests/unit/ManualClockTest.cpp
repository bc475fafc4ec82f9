#include <gtest/gtest.h>

#include "support/ManualClock.h"

namespace quillon::fakes {
namespace {

TEST(ManualClock, AdvancesAcrossTheCalendar) {
    struct Row { DateTime from; std::int64_t seconds; DateTime to; };
    const Row rows[] = {
        {{2026, 12, 31, 23, 59, 59}, 1, {2027, 1, 1, 0, 0, 0}},
        {{2024, 2, 28, 12, 0, 0}, 86400, {2024, 2, 29, 12, 0, 0}},       // leap year
        {{2026, 3, 1, 0, 0, 0}, -1, {2026, 2, 28, 23, 59, 59}},
        {{2026, 1, 1, 0, 0, 0}, 31 * 86400 + 3661, {2026, 2, 1, 1, 1, 1}},
        {{2000, 1, 1, 0, 0, 0}, -86400, {1999, 12, 31, 0, 0, 0}},
    };
    for (const auto& r : rows) {
        ManualClock clock(r.from);
        clock.advanceSeconds(r.seconds);
        EXPECT_EQ(clock.now(), r.to) << r.from.year << "-" << r.from.month << "-" << r.from.day << " + " << r.seconds;
    }
    ManualClock clock({2026, 12, 6, 8, 0, 0});
    clock.advanceDays(30);
    EXPECT_EQ(clock.now(), (DateTime{2027, 1, 5, 8, 0, 0}));
}

TEST(ManualClock, FormatsAsTheUnitedStatesRegionalSettings) {
    ManualClock clock;
    struct Row { DateTime when; const char* date; const char* time; };
    const Row rows[] = {
        {{2026, 12, 6, 15, 4, 5}, "12/6/2026", "3:04:05 PM"},
        {{2026, 1, 9, 0, 0, 0}, "1/9/2026", "12:00:00 AM"},
        {{999, 7, 31, 12, 30, 59}, "7/31/0999", "12:30:59 PM"},
        {{2026, 10, 10, 11, 59, 0}, "10/10/2026", "11:59:00 AM"},
    };
    for (const auto& r : rows) {
        EXPECT_EQ(clock.shortDate(r.when), r.date);
        EXPECT_EQ(clock.timeText(r.when), r.time);
    }
    EXPECT_EQ(clock.decimalSeparator(), '.');
    clock.setDecimalSeparator(',');
    EXPECT_EQ(clock.decimalSeparator(), ',');
}

}  // namespace
}  // namespace quillon::fakes
