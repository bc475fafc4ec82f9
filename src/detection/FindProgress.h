#pragma once
// What a find-changes run tells its window: the range and value of the progress bar.
namespace quillon::detection {

class FindProgress {
public:
    virtual ~FindProgress() = default;
    virtual void setMaximum(int maximum) = 0;
    virtual void setValue(int value) = 0;
    virtual void advance(int by) = 0;
};

}  // namespace quillon::detection
