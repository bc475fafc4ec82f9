#pragma once
// A clock that stands still until the test moves it, with en-US regional formats.
#include <cstdint>

#include "platform/Clock.h"

namespace quillon::fakes {

class ManualClock final : public Clock {
public:
    explicit ManualClock(DateTime start = {2026, 1, 1, 12, 0, 0}) : now_(start) {}

    void setNow(DateTime when) { now_ = when; }
    // Either may be negative; the calendar rolls over minutes, days, months and years.
    void advanceSeconds(std::int64_t seconds);
    void advanceDays(std::int64_t days) { advanceSeconds(days * 86400); }
    void setDecimalSeparator(char separator) { decimal_ = separator; }

    DateTime now() override { return now_; }
    // "12/6/2026"
    std::string shortDate(const DateTime& when) override;
    // "3:04:05 PM"
    std::string timeText(const DateTime& when) override;
    char decimalSeparator() override { return decimal_; }

private:
    DateTime now_;
    char decimal_ = '.';
};

}  // namespace quillon::fakes
