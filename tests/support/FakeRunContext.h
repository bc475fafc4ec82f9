#pragma once
// Counts the yields of a long operation and stops it at a chosen one.
#include "platform/RunContext.h"

namespace quillon::fakes {

class FakeRunContext final : public RunContext {
public:
    void yield() override { ++yields_; }
    bool stopRequested() const override { return stopAt_ > 0 && yields_ >= stopAt_; }

    int yields() const { return yields_; }
    // stopRequested() is true from the n-th yield on (1-based); 0 never stops.
    void stopAtYield(int n) { stopAt_ = n; }

private:
    int yields_ = 0;
    int stopAt_ = 0;
};

}  // namespace quillon::fakes
