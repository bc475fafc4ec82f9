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
    // A start from the tray during a run would release the hold when it returned, with the
    // run still going.
    if (detection.busy() || detection.held()) return;
    const HeldDetection held(detection);
    tasks.runNow();
}

}  // namespace quillon::scheduler
