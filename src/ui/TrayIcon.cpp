#include "ui/TrayIcon.h"

#include <algorithm>
#include <string>

#include "platform/win32/Utf.h"

namespace quillon::ui {

bool TrayIcon::show(HWND owner, UINT id, UINT callbackMessage, HICON icon, std::string_view tip) noexcept {
    remove();
    data_ = {};
    // The first form of the record: every system knows it, and it carries all the icon needs.
    data_.cbSize = NOTIFYICONDATAW_V1_SIZE;
    data_.hWnd = owner;
    data_.uID = id;
    data_.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data_.uCallbackMessage = callbackMessage;
    data_.hIcon = icon;
    std::wstring text;
    try {
        text = win32::wide(tip);
    } catch (...) {
        text.clear();  // no memory for the tip: the icon still shows
    }
    std::size_t length = std::min<std::size_t>(text.size(), 63);
    if (length > 0 && length < text.size() && IS_HIGH_SURROGATE(text[length - 1])) --length;
    std::copy_n(text.data(), length, data_.szTip);
    data_.szTip[length] = L'\0';
    return showAgain();
}

bool TrayIcon::showAgain() noexcept {
    if (!data_.hWnd) return false;
    shown_ = Shell_NotifyIconW(NIM_ADD, &data_) || Shell_NotifyIconW(NIM_MODIFY, &data_);
    return shown_;
}

void TrayIcon::remove() noexcept {
    if (shown_) Shell_NotifyIconW(NIM_DELETE, &data_);
    shown_ = false;
}

}  // namespace quillon::ui
