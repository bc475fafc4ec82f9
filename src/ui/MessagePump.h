#pragma once
// The message loop as a long operation sees it: yield() at every item keeps the window alive,
// the stop flag ends the operation.
#include <windows.h>

#include <cstdint>
#include <functional>

#include "platform/RunContext.h"

namespace quillon::ui {

// A long-running window's stop flag: set by its Stop button or its closing.
class StopFlag {
public:
    void request() noexcept { requested_ = true; }
    void clear() noexcept { requested_ = false; }
    bool requested() const noexcept { return requested_; }

private:
    bool requested_ = false;
};

// Says when enough time has passed to do something costly again: look at the message queue
// (a look costs about 30 us under Wine; an item of a long operation often costs far less), or
// show the rows that came in meanwhile.
class PumpThrottle {
public:
    explicit PumpThrottle(std::uint32_t intervalMs = 15) noexcept : intervalMs_(intervalMs) {}

    // True at the first call and then once per interval (the tick counter may wrap).
    bool due(std::uint32_t now) noexcept {
        if (started_ && now - last_ < intervalMs_) return false;
        started_ = true;
        last_ = now;
        return true;
    }

private:
    std::uint32_t intervalMs_;
    bool started_ = false;
    std::uint32_t last_ = 0;
};

class MessagePump final : public RunContext {
public:
    using TickSource = std::function<std::uint32_t()>;

    // dialog: the window whose keyboard navigation (Tab, Enter, Esc) works while pumping.
    explicit MessagePump(StopFlag& stop, HWND dialog = nullptr);
    MessagePump(StopFlag& stop, HWND dialog, TickSource ticks);

    void yield() override;
    bool stopRequested() const override { return stop_.requested(); }

    // Handles what is waiting now, whatever the time. A WM_QUIT is posted again for the
    // outer loop and sets the stop flag.
    void pumpNow();

private:
    StopFlag& stop_;
    HWND dialog_;
    TickSource ticks_;
    PumpThrottle throttle_;
};

// The program's main loop; returns the WM_QUIT code. Keyboard navigation goes to `dialog`.
int runMessageLoop(HWND dialog = nullptr);

}  // namespace quillon::ui
