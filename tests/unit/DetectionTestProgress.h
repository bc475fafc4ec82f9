#pragma once
// Keeps what a find-changes routine did to the progress bar.
#include <vector>

#include "detection/FindProgress.h"

namespace quillon::detection {

class RecordingProgress final : public FindProgress {
public:
    void setMaximum(int value) override { maximums.push_back(value); }
    void setValue(int value) override { values.push_back(value); }
    void advance(int by) override { advanced += by; }

    std::vector<int> maximums;  // every maximum set, in order
    std::vector<int> values;    // every value set, in order
    int advanced = 0;
};

}  // namespace quillon::detection
