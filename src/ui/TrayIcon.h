#pragma once
// An icon in the notification area, owned like a handle: shown by show(), gone with remove()
// or the object. Its mouse events reach the owner window as the callback message, the mouse
// message in the low word of lParam.
#include <windows.h>
#include <shellapi.h>

#include <string_view>

namespace quillon::ui {

class TrayIcon {
public:
    TrayIcon() noexcept = default;
    TrayIcon(const TrayIcon&) = delete;
    TrayIcon& operator=(const TrayIcon&) = delete;
    ~TrayIcon() { remove(); }

    // Adds the icon; when the shell already holds one of this window and id (a second add, or
    // a restarted taskbar that kept it), updates that one instead. The icon handle stays the
    // caller's: the shell keeps a copy. The tip is cut to 63 UTF-16 units.
    bool show(HWND owner, UINT id, UINT callbackMessage, HICON icon, std::string_view tip) noexcept;
    // Shows the same icon again, after the taskbar was recreated.
    bool showAgain() noexcept;
    void remove() noexcept;
    bool shown() const noexcept { return shown_; }

private:
    NOTIFYICONDATAW data_{};
    bool shown_ = false;
};

}  // namespace quillon::ui
