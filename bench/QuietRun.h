#pragma once
// A run nobody watches: yields cost a counter, the stop flag is a plain read, progress goes nowhere.
#include <cstdint>
#include <string_view>

#include "platform/RunContext.h"
#include "snapshot/UpdateProgress.h"

namespace quillon::bench {

class QuietRun final : public RunContext {
public:
    void yield() override { ++yields_; }
    bool stopRequested() const override { return stop_; }
    std::uint64_t yields() const { return yields_; }

private:
    std::uint64_t yields_ = 0;
    bool stop_ = false;
};

class NoProgress final : public snapshot::UpdateProgress {
public:
    void showStep(std::string_view) override {}
    void driveCompleted() override {}
};

}  // namespace quillon::bench
