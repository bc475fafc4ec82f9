#include "scheduler/ScheduledTasks.h"

namespace quillon::scheduler {

namespace {

class HeldDetection {
public:
    explicit HeldDetection(SetupDetection& detection) : detection_(detection) { detection_.hold(); }
    HeldDetection(const HeldDetection&) = delete;
    HeldDetection& operator=(const HeldDetection&) = delete;
    ~HeldDetection() { detection_.release(); }

private:
    SetupDetection& detection_;
};

}  // namespace

void startScanningNow(SetupDetection& detection, ScheduledTasks& tasks) {
    if (detection.busy()) return;
    const HeldDetection held(detection);
    tasks.runNow();
}

}  // namespace quillon::scheduler
