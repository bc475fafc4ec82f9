#pragma once

namespace quillon::ui {

// Registers the common control classes the windows use (lists, tabs, status and progress bars,
// up-downs, animations). Call once at start-up, before the first window.
bool initCommonControls() noexcept;

}  // namespace quillon::ui
