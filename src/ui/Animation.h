#pragma once
// A silent AVI clip played in a window (the scanning picture).
#include <string>
#include <string_view>

#include "platform/win32/Utf.h"
#include "ui/Control.h"

namespace quillon::ui {

class Animation : public Control {
public:
    using Control::Control;
    bool open(std::string_view file) const {
        const std::wstring path = win32::wide(file);
        return send(ACM_OPENW, 0, path.c_str()) != 0;
    }
    bool play() const noexcept { return send(ACM_PLAY, static_cast<WPARAM>(-1), MAKELPARAM(0, 0xFFFF)) != 0; }
    void stop() const noexcept { send(ACM_STOP); }
    void close() const noexcept { send(ACM_OPENW); }
};

}  // namespace quillon::ui
