#pragma once
// A clock that stands still (at 2026-01-01 12:00:00 unless a test moves it), with en-US
// regional formats.
#include "platform/Clock.h"

namespace quillon::fakes {

class ManualClock final : public Clock {
public:
    DateTime at{2026, 1, 1, 12, 0, 0};
    DateTime now() override { return at; }
    // "12/6/2026"
    std::string shortDate(const DateTime& when) override;
    // "3:04:05 PM"
    std::string timeText(const DateTime& when) override;
    char decimalSeparator() override { return '.'; }
};

}  // namespace quillon::fakes
