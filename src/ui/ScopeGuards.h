#pragma once
// Small guards a window holds for the length of one operation.
#include <windows.h>

namespace quillon::ui {

// Stops a control from repainting while many changes go in; one repaint at the end.
class RedrawPause {
public:
    explicit RedrawPause(HWND control) noexcept : control_(control) { SendMessageA(control_, WM_SETREDRAW, FALSE, 0); }
    RedrawPause(const RedrawPause&) = delete;
    RedrawPause& operator=(const RedrawPause&) = delete;
    ~RedrawPause() {
        SendMessageA(control_, WM_SETREDRAW, TRUE, 0);
        InvalidateRect(control_, nullptr, TRUE);
    }

private:
    HWND control_;
};

// True while an operation that pumps messages runs, so a second one does not start meanwhile.
class BusyFlag {
public:
    explicit BusyFlag(bool& flag) noexcept : flag_(flag) { flag_ = true; }
    BusyFlag(const BusyFlag&) = delete;
    BusyFlag& operator=(const BusyFlag&) = delete;
    ~BusyFlag() { flag_ = false; }

private:
    bool& flag_;
};

}  // namespace quillon::ui
