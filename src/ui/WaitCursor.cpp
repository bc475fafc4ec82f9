#include "ui/WaitCursor.h"

#include "ui/Window.h"

namespace quillon::ui {

WaitCursor::WaitCursor() noexcept : previous_(SetCursor(LoadCursorW(nullptr, systemResource(IDC_WAIT)))) {}

WaitCursor::WaitCursor(Window& keepOver) noexcept : WaitCursor() {
    window_ = &keepOver;
    ++window_->waitDepth_;
}

WaitCursor::~WaitCursor() {
    if (window_) --window_->waitDepth_;
    SetCursor(previous_ ? previous_ : LoadCursorW(nullptr, systemResource(IDC_ARROW)));
}

}  // namespace quillon::ui
