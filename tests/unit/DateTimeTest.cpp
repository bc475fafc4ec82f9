#include <gtest/gtest.h>

#include "platform/DateTime.h"

namespace quillon {
namespace {

TEST(DateTime, DayNumberAndWeekday) {
    struct Row { DateTime d; std::int64_t day; int weekday; };
    const Row rows[] = {
        {{1970, 1, 1}, 0, 5},          // Thursday
        {{2000, 2, 29}, 11016, 3},     // leap day, Tuesday
        {{1969, 12, 31}, -1, 4},
    };
    for (const auto& r : rows) {
        EXPECT_EQ(dayNumber(r.d), r.day) << r.d.year << "-" << r.d.month << "-" << r.d.day;
        EXPECT_EQ(weekday(r.d), r.weekday) << r.d.year << "-" << r.d.month << "-" << r.d.day;
    }
}

}  // namespace
}  // namespace quillon
