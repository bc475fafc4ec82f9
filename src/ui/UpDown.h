#pragma once
// The arrows beside a number box; the box shows the position.
#include "ui/Control.h"

namespace quillon::ui {

class UpDown : public Control {
public:
    using Control::Control;
    void setRange(int minimum, int maximum) const noexcept {
        send(UDM_SETRANGE32, static_cast<WPARAM>(minimum), maximum);
    }
    void setPosition(int position) const noexcept { send(UDM_SETPOS32, 0, position); }
    int position() const noexcept { return static_cast<int>(send(UDM_GETPOS32)); }
};

}  // namespace quillon::ui
