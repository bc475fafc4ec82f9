#pragma once
// The hourglass for the life of this object; the previous pointer comes back at the end.
#include <windows.h>

namespace quillon::ui {

class Window;

class WaitCursor {
public:
    WaitCursor() noexcept;
    // Also keeps the hourglass over this window while the mouse moves (the window must
    // outlive this object).
    explicit WaitCursor(Window& keepOver) noexcept;
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
    ~WaitCursor();

private:
    Window* window_ = nullptr;
    HCURSOR previous_ = nullptr;
};

}  // namespace quillon::ui
