#pragma once
// The status bar along a window's bottom edge: panels of text, or one simple text.
#include <span>
#include <string>
#include <string_view>

#include "ui/Control.h"

namespace quillon::ui {

class StatusBar : public Control {
public:
    using Control::Control;

    // A panel width that takes whatever the fixed panels leave.
    static constexpr int fill = -1;

    // Panel widths in pixels at 100% scaling, left to right, scaled to the bar's monitor; at most
    // one may be `fill`. Call again after the parent changed size (see fit) when a panel fills,
    // and after a change of scaling.
    void setPanels(std::span<const int> widths) const;
    int panelCount() const noexcept { return static_cast<int>(send(SB_GETPARTS)); }
    void setText(int panel, std::string_view text) const;
    std::string text(int panel) const;

    // One text over the whole bar instead of the panels, and back.
    void setSimple(bool on) const noexcept { send(SB_SIMPLE, on ? TRUE : FALSE); }
    void setSimpleText(std::string_view text) const;

    // Follows the parent's new size (from the parent's WM_SIZE). Repainted whole: Wine leaves the
    // moved bar blank until its text changes.
    void fit() const noexcept {
        send(WM_SIZE);
        InvalidateRect(hwnd(), nullptr, TRUE);
    }
    int height() const noexcept;
};

}  // namespace quillon::ui
