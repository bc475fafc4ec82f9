#include "ui/Control.h"

#include "platform/win32/Utf.h"

namespace quillon::ui {

std::string windowText(HWND hwnd) {
    const int length = GetWindowTextLengthW(hwnd);
    if (length <= 0) return {};
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    const int copied = GetWindowTextW(hwnd, text.data(), length + 1);
    text.resize(static_cast<size_t>(copied > 0 ? copied : 0));
    return win32::utf8(text);
}

void Control::setText(std::string_view text) const { SetWindowTextW(hwnd_, win32::wide(text).c_str()); }

RECT Control::bounds() const noexcept {
    RECT r{};
    GetWindowRect(hwnd_, &r);
    MapWindowPoints(HWND_DESKTOP, GetParent(hwnd_), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

void Control::move(int x, int y, int width, int height) const noexcept {
    MoveWindow(hwnd_, x, y, width, height, TRUE);
}

}  // namespace quillon::ui
