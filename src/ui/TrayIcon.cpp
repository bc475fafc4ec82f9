#include "ui/TrayIcon.h"

#include <algorithm>

namespace quillon::ui {

bool TrayIcon::show(HWND owner, UINT id, UINT callbackMessage, HICON icon, std::string_view tip) noexcept {
    remove();
    data_ = {};
    // The first form of the record: every system knows it, and it carries all the icon needs.
    data_.cbSize = NOTIFYICONDATAA_V1_SIZE;
    data_.hWnd = owner;
    data_.uID = id;
    data_.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data_.uCallbackMessage = callbackMessage;
    data_.hIcon = icon;
    const std::size_t length = std::min<std::size_t>(tip.size(), 63);
    std::copy_n(tip.data(), length, data_.szTip);
    data_.szTip[length] = '\0';
    return showAgain();
}

bool TrayIcon::showAgain() noexcept {
    if (!data_.hWnd) return false;
    shown_ = Shell_NotifyIconA(NIM_ADD, &data_) || Shell_NotifyIconA(NIM_MODIFY, &data_);
    return shown_;
}

void TrayIcon::remove() noexcept {
    if (shown_) Shell_NotifyIconA(NIM_DELETE, &data_);
    shown_ = false;
}

}  // namespace quillon::ui
