#pragma once
// The help text of the control under the mouse, shown in a panel of the status bar. The window
// reports the control from WM_SETCURSOR (see Window::useStatusHelp), which names the child
// under the mouse, so the controls themselves need no code.
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "ui/StatusBar.h"

namespace quillon::ui {

class StatusHelp {
public:
    explicit StatusHelp(StatusBar bar = StatusBar(), int panel = 0) noexcept : bar_(bar), panel_(panel) {}

    void setBar(StatusBar bar, int panel = 0) noexcept {
        bar_ = bar;
        panel_ = panel;
    }
    void add(int controlId, std::string text) { texts_.emplace_back(controlId, std::move(text)); }
    // Shown when the mouse is over the window itself, between the controls.
    void setIdleText(std::string text) { idle_ = std::move(text); }
    // While off, the panel is left to others (a scan writing its progress there).
    void setEnabled(bool on) noexcept { enabled_ = on; }
    bool isEnabled() const noexcept { return enabled_; }

    // The mouse is over this control (0: the window itself). A control without a text of its
    // own leaves the panel as it is.
    void pointAt(int controlId) const;
    // Shows a control's text whatever the mouse does (a control taking the focus).
    void showFor(int controlId) const;

private:
    const std::string* textOf(int controlId) const noexcept;
    void show(const std::string& text) const;

    StatusBar bar_;
    int panel_ = 0;
    bool enabled_ = true;
    std::string idle_;
    std::vector<std::pair<int, std::string>> texts_;
};

}  // namespace quillon::ui
