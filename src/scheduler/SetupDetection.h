#pragma once
// Setup detection as a state machine driven by its timer's ticks: a setup window seen leads to
// the "before" question (and the update, waited for), its windows gone to the "after" question
// (and "Find changes"). The window owning the timer asks timerEnabled() and intervalMs() after
// every call and sets its timer to match.
#include <optional>
#include <string>

#include "scheduler/SchedulerPorts.h"
#include "scheduler/SetupIgnoreList.h"
#include "scheduler/SetupQuestions.h"

namespace quillon::scheduler {

inline constexpr int FirstDetectIntervalMs = 6000;
inline constexpr int DetectIntervalMs = 2500;

class SetupDetection {
public:
    SetupDetection(const SchedulerPorts& ports, SetupQuestions& questions, std::string dataFolder);

    // At start: detection on unless SetupDetect is "0"; a setup pending when SetupRan was "1".
    void start(bool detectionOn, bool setupPending);
    void tick();
    // The menu entry "Automatic Setup detection"; writes SetupDetect.
    void setDetection(bool on);
    // The scheduled tasks hold detection while they run.
    void hold();
    void release();

    bool detectionOn() const noexcept { return detectionOn_; }
    bool setupPending() const noexcept { return setupPending_; }
    // Within a tick: the questions and the wait for the update let other messages run.
    bool busy() const noexcept { return busy_; }
    // The scheduled tasks are running.
    bool held() const noexcept { return held_; }
    bool timerEnabled() const noexcept { return timerEnabled_; }
    int intervalMs() const noexcept { return intervalMs_; }

private:
    void askBeforeSetup();
    void closeScanQuestion(const ScanAnswer& answer);
    void settleAfterSetup();
    void clearSetupRan();

    SchedulerPorts ports_;
    SetupQuestions& questions_;
    std::string dataFolder_;

    bool detectionOn_ = false;
    bool setupPending_ = false;
    bool updateAccepted_ = false;
    bool declined_ = false;
    bool busy_ = false;
    bool held_ = false;
    bool timerEnabled_ = false;
    int intervalMs_ = FirstDetectIntervalMs;
    std::optional<DetectedSetup> detected_;
};

}  // namespace quillon::scheduler
