#pragma once
// Counts the yields of a long operation and stops it at a chosen one.
#include "platform/RunContext.h"

namespace quillon::fakes {

class FakeRunContext final : public RunContext {
public:
    void yield() override;
    bool stopRequested() const override;

    int yields() const { return yields_; }
    // stopRequested() is true from the n-th yield on (1-based); 0 never stops.
    void stopAtYield(int n) { stopAt_ = n; }
    // As if the user closed the window: true from now on.
    void requestStop() { stopped_ = true; }

private:
    int yields_ = 0;
    int stopAt_ = 0;
    bool stopped_ = false;
};

}  // namespace quillon::fakes
