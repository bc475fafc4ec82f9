#pragma once
// Drives windows from inside the test's own thread: a script that answers windows appearing
// while a modal loop runs, and a bounded wait that pumps messages until a condition holds.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "ui/Window.h"

namespace quillon::uitest {

// A visible, enabled window of this thread with exactly this caption, or null.
HWND findThreadWindow(const std::string& title);

// Posts a click to a button of a dialog (the way a user's click arrives).
void postClick(HWND dialog, int buttonId);

// Runs the message loop until the condition holds or the time is up; false on timeout.
bool pumpUntil(const std::function<bool()>& condition, DWORD timeoutMs = 5000);

// Removes a WM_QUIT left by a failed script, so that later loops are not ended by it.
void drainQuit();

// Asks a condition every 10 ms from whatever message loop runs, until it holds (the condition
// may act itself before saying so); when the time is up it posts WM_QUIT, which ends the modal
// loop that waits for it. For windows that pump messages themselves while they work, which a
// test cannot simply wait inside.
class Poller final : private ui::Window {
public:
    Poller() {
        ui::WindowSpec desc;
        desc.className = "QuillonTestPoller";
        desc.style = 0;
        desc.owner = HWND_MESSAGE;
        create(desc);
    }
    ~Poller() override {
        if (hwnd()) KillTimer(hwnd(), 1);
    }
    void start(DWORD timeoutMs, std::function<bool()> done) {
        done_ = std::move(done);
        deadline_ = GetTickCount() + timeoutMs;
        SetTimer(hwnd(), 1, 10, nullptr);
    }

private:
    void onTimer(UINT_PTR) override {
        if (busy_) return;
        busy_ = true;
        const bool finished = done_();
        busy_ = false;
        if (finished || static_cast<LONG>(GetTickCount() - deadline_) > 0) {
            KillTimer(hwnd(), 1);
            if (!finished) PostQuitMessage(0);
        }
    }
    std::function<bool()> done_;
    DWORD deadline_ = 0;
    bool busy_ = false;
};

// Every 10 ms looks for the window of its next step (by caption) and, once it is there,
// acts on it. A window that does not appear in time fails the script, which then posts
// WM_QUIT: that ends whatever modal loop waits for the missing answer.
class WindowScript final : private ui::Window {
public:
    using Action = std::function<void(HWND)>;

    explicit WindowScript(DWORD stepTimeoutMs = 5000);
    ~WindowScript() override;

    WindowScript& when(std::string title, Action action);
    // Starts looking; call just before the call that shows the windows.
    void start();

    bool finished() const noexcept { return next_ == steps_.size(); }
    const std::string& failure() const noexcept { return failure_; }

private:
    struct Step {
        std::string title;
        Action action;
    };
    void onTimer(UINT_PTR id) override;

    DWORD timeoutMs_;
    DWORD stepStart_ = 0;
    std::vector<Step> steps_;
    size_t next_ = 0;
    std::string failure_;
};

}  // namespace quillon::uitest
