#include "scheduler/SetupDetection.h"

#include <utility>

#include "platform/ScopedFlag.h"
#include "scheduler/DetectSetupWindow.h"
#include "scheduler/WorkProgram.h"
#include "shell/Settings.h"
#include "shell/modRegistry.h"

namespace quillon::scheduler {

namespace {

shell::KeyPtr schedulerKey(Registry& registry) {
    return shell::openKey(registry, Hive::CurrentUser, settings::SchedulerKey);
}

}  // namespace

SetupDetection::SetupDetection(const SchedulerPorts& ports, SetupQuestions& questions, std::string dataFolder)
    : ports_(ports), questions_(questions), dataFolder_(std::move(dataFolder)) {}

void SetupDetection::start(bool detectionOn, bool setupPending) {
    detectionOn_ = detectionOn;
    setupPending_ = setupPending;
    timerEnabled_ = detectionOn;
}

void SetupDetection::tick() {
    // A timer message already queued when the tasks began must not ask about a setup mid-run.
    if (held_) return;
    timerEnabled_ = false;
    intervalMs_ = DetectIntervalMs;
    {
        // A tick that fails half-way must still end, or the timer would never run again.
        const ScopedFlag scope(busy_);
        std::optional<DetectedSetup> found;
        if (!setupPending_) found = detectSetupWindow(ports_);
        if (found) {
            detected_ = std::move(found);
            declined_ = false;
            setupPending_ = true;
            askBeforeSetup();
        } else if (setupPending_ && !updateAccepted_ && !detectSetupWindow(ports_)) {
            settleAfterSetup();
        }
    }
    // The setting, not the state: the question, the menu or the options dialog may have changed it.
    if (shell::queryValue(schedulerKey(ports_.registry).get(), settings::scheduler::SetupDetect) != "1") {
        detectionOn_ = false;
        setupPending_ = false;
        return;
    }
    detectionOn_ = true;
    timerEnabled_ = !held_;
}

void SetupDetection::askBeforeSetup() {
    const ScanAnswer answer = questions_.askForScan();
    closeScanQuestion(answer);
    updateAccepted_ = answer.update;
    if (!updateAccepted_) {
        declined_ = true;
        return;
    }
    // A main program that cannot be started counts as run: the installation goes on either way.
    static_cast<void>(startWorkProgram(ports_.desktop, dataFolder_, UpdateSwitch, true));
    updateAccepted_ = false;
}

void SetupDetection::closeScanQuestion(const ScanAnswer& answer) {
    const shell::KeyPtr key = schedulerKey(ports_.registry);
    shell::storeSetting(key.get(), settings::scheduler::SetupDetect, answer.turnOffDetection ? "0" : "1");
    // So that a restart in the middle of the installation still asks the "after" question.
    if (shell::queryValue(key.get(), settings::scheduler::SetupDetect) == "1")
        shell::storeSetting(key.get(), settings::scheduler::SetupRan, "1");
    if (answer.ignoreThisSetup && detected_) ignoreSetup(ports_.registry, ports_.files, ports_.clock, *detected_);
}

void SetupDetection::settleAfterSetup() {
    if (declined_) {
        clearSetupRan();
    } else {
        const bool findAccepted = questions_.askForFind();
        clearSetupRan();
        // As with the update: the installation is over either way.
        if (findAccepted) static_cast<void>(startWorkProgram(ports_.desktop, dataFolder_, FindSwitch, false));
    }
    setupPending_ = false;
}

void SetupDetection::clearSetupRan() {
    shell::storeSetting(schedulerKey(ports_.registry).get(), settings::scheduler::SetupRan, "0");
}

void SetupDetection::setDetection(bool on) {
    detectionOn_ = on;
    shell::storeSetting(schedulerKey(ports_.registry).get(), settings::scheduler::SetupDetect, on ? "1" : "0");
    // Within a tick the timer waits for the tick's end, which reads the setting just written.
    timerEnabled_ = on && !busy_ && !held_;
}

void SetupDetection::hold() {
    held_ = true;
    timerEnabled_ = false;
}

void SetupDetection::release() {
    held_ = false;
    timerEnabled_ = detectionOn_ && !busy_;
}

}  // namespace quillon::scheduler
