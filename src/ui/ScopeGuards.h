#pragma once
// A guard a window holds while it changes a control a lot.
#include <windows.h>

namespace quillon::ui {

// Stops a control from repainting while many changes go in; one repaint at the end.
class RedrawPause {
public:
    explicit RedrawPause(HWND control) noexcept : control_(control) { SendMessageW(control_, WM_SETREDRAW, FALSE, 0); }
    RedrawPause(const RedrawPause&) = delete;
    RedrawPause& operator=(const RedrawPause&) = delete;
    ~RedrawPause() {
        SendMessageW(control_, WM_SETREDRAW, TRUE, 0);
        InvalidateRect(control_, nullptr, TRUE);
    }

private:
    HWND control_;
};

}  // namespace quillon::ui
