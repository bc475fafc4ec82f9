#include "ui/StatusHelp.h"

namespace quillon::ui {

void StatusHelp::pointAt(int controlId) const {
    if (!enabled_ || !bar_) return;
    if (controlId == 0) {
        show(idle_);
    } else if (const std::string* text = textOf(controlId)) {
        show(*text);
    }
}

void StatusHelp::showFor(int controlId) const {
    if (!enabled_ || !bar_) return;
    if (const std::string* text = textOf(controlId)) show(*text);
}

const std::string* StatusHelp::textOf(int controlId) const noexcept {
    for (const auto& [id, text] : texts_) {
        if (id == controlId) return &text;
    }
    return nullptr;
}

void StatusHelp::show(const std::string& text) const {
    // Every mouse move asks again: only a change is drawn, so the bar does not flicker.
    if (bar_.text(panel_) != text) bar_.setText(panel_, text);
}

}  // namespace quillon::ui
