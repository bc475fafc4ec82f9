#pragma once
#include "ui/Control.h"

namespace quillon::ui {

class ProgressBar : public Control {
public:
    using Control::Control;
    void setRange(int minimum, int maximum) const noexcept {
        send(PBM_SETRANGE32, static_cast<WPARAM>(minimum), maximum);
    }
    int minimum() const noexcept { return static_cast<int>(send(PBM_GETRANGE, TRUE)); }
    int maximum() const noexcept { return static_cast<int>(send(PBM_GETRANGE, FALSE)); }
    void setPosition(int position) const noexcept { send(PBM_SETPOS, static_cast<WPARAM>(position)); }
    int position() const noexcept { return static_cast<int>(send(PBM_GETPOS)); }
};

}  // namespace quillon::ui
