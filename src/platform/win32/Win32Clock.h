#pragma once
#include "platform/Clock.h"

namespace quillon::win32 {

class Win32Clock final : public Clock {
public:
    DateTime now() override;
    std::string shortDate(const DateTime& when) override;
    std::string timeText(const DateTime& when) override;
    char decimalSeparator() override;
};

}  // namespace quillon::win32
