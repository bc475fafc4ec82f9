#pragma once
// Clock and the user's regional formats.
#include <string>

#include "platform/DateTime.h"

namespace quillon {

class Clock {
public:
    virtual ~Clock() = default;
    virtual DateTime now() = 0;
    // The user's short-date and time formats.
    virtual std::string shortDate(const DateTime& when) = 0;
    virtual std::string timeText(const DateTime& when) = 0;
    // The regional decimal separator ("." or "," on most systems).
    virtual char decimalSeparator() = 0;
};

}  // namespace quillon
