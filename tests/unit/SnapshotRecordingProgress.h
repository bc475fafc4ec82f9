#pragma once
// Keeps what an update run showed, and how far the run's yields had got at each completed
// drive, so tests can aim a cancel at a chosen step.
#include <string>
#include <string_view>
#include <vector>

#include "snapshot/UpdateProgress.h"
#include "support/FakeRunContext.h"

namespace quillon::snapshot {

class RecordingProgress final : public UpdateProgress {
public:
    explicit RecordingProgress(const fakes::FakeRunContext* run = nullptr) : run_(run) {}

    void showStep(std::string_view text) override {
        steps.emplace_back(text);
        stepYields.push_back(run_ ? run_->yields() : 0);
    }
    void driveCompleted() override { completedAtYield.push_back(run_ ? run_->yields() : 0); }

    std::vector<std::string> steps;
    std::vector<int> stepYields;        // yields done when each step was shown
    std::vector<int> completedAtYield;  // one per completed drive

private:
    const fakes::FakeRunContext* run_;
};

}  // namespace quillon::snapshot
