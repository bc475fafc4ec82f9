#pragma once
// Drives windows from inside the test's own thread: a script that answers windows appearing
// while a modal loop runs, and a bounded wait that pumps messages until a condition holds.
#include <windows.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "ui/Control.h"
#include "ui/MessagePump.h"
#include "ui/Window.h"

namespace quillon::uitest {

// A visible, enabled top-level window of this thread with exactly this caption, or null. A window
// that waits on a modal one of its own is disabled: the modal one is the one to answer.
inline HWND findThreadWindow(const std::string& title) {
    for (HWND w = GetTopWindow(nullptr); w; w = GetWindow(w, GW_HWNDNEXT))
        if (GetWindowThreadProcessId(w, nullptr) == GetCurrentThreadId() && IsWindowVisible(w) && IsWindowEnabled(w) &&
            ui::windowText(w) == title)
            return w;
    return nullptr;
}

// Posts a click to a button of a dialog (the way a user's click arrives).
inline void postClick(HWND dialog, int buttonId) { PostMessageA(GetDlgItem(dialog, buttonId), BM_CLICK, 0, 0); }

// Runs the message loop until the condition holds or the time is up; false on timeout. A WM_QUIT
// ends the wait and stays queued for the loop it was meant for.
inline bool pumpUntil(const std::function<bool()>& condition, DWORD timeoutMs = 5000) {
    ui::StopFlag quit;
    ui::MessagePump pump(quit);
    for (const DWORD start = GetTickCount(); !condition() && !quit.requested(); pump.pumpNow()) {
        if (GetTickCount() - start >= timeoutMs) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
    return condition();
}

// Removes a WM_QUIT left by a failed script or a closed main window, so later loops go on.
inline void drainQuit() {
    for (MSG msg; PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);) {
    }
}

// Every 10 ms looks for the window of its next step (by caption) and, once it is there and the
// step's condition holds, acts on it. A step not done in time fails the script, which then posts
// WM_QUIT: that ends whatever modal loop waits for the missing answer.
class WindowScript final : private ui::Window {
public:
    using Action = std::function<void(HWND)>;

    explicit WindowScript(DWORD stepTimeoutMs = 5000) : timeoutMs_(stepTimeoutMs) {
        ui::WindowSpec desc;
        desc.className = "QuillonWindowScript";
        desc.style = 0;
        desc.owner = HWND_MESSAGE;  // never shown, still gets its timer
        create(desc);  // its timer goes with it
    }
    void when(std::string title, Action action, std::function<bool()> ready = {}) {
        steps_.push_back(Step{std::move(title), std::move(action), std::move(ready)});
    }
    // Starts looking; call just before the call that shows the windows.
    void start() {
        stepStart_ = GetTickCount();
        if (!hwnd() || !SetTimer(hwnd(), 1, 10, nullptr)) failure_ = "the script's own timer could not be made";
    }
    bool finished() const noexcept { return next_ == steps_.size(); }
    const std::string& failure() const noexcept { return failure_; }

private:
    struct Step {
        std::string title;
        Action action;
        std::function<bool()> ready;
    };
    void onTimer(UINT_PTR) override {
        if (finished() || !failure_.empty()) return;  // a tick queued before the timer went
        const Step& step = steps_[next_];
        if (HWND target = findThreadWindow(step.title); target && (!step.ready || step.ready())) {
            const Action action = step.action;
            if (++next_ == steps_.size()) KillTimer(hwnd(), 1);
            stepStart_ = GetTickCount();
            action(target);  // may pump messages itself: this step is done before
        } else if (GetTickCount() - stepStart_ > timeoutMs_) {
            failure_ = "window \"" + step.title + "\" did not appear" + (target ? " ready" : "");
            KillTimer(hwnd(), 1);
            PostQuitMessage(0);
        }
    }

    DWORD timeoutMs_;
    DWORD stepStart_ = 0;
    std::vector<Step> steps_;
    size_t next_ = 0;
    std::string failure_;
};

}  // namespace quillon::uitest
