#pragma once
// How a step of "Find changes" ended: done, stopped by the user, or at a file it could not
// read or write in full.
#include <optional>

#include "platform/FileFault.h"

namespace quillon::detection {

struct StepEnd {
    bool stopped = false;
    std::optional<FileFault> fault;

    bool completed() const noexcept { return !stopped && !fault; }
    static StepEnd stop() { return {true, std::nullopt}; }
    static StepEnd failed(FileFault f) { return {false, std::move(f)}; }
};

}  // namespace quillon::detection
