#pragma once
// Typed, non-owning views of child controls: a window keeps them as members or makes them on
// the spot from its handle and an id. The control belongs to its parent window.
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <string_view>

namespace quillon::ui {

// The whole text of a window, of any length.
std::string windowText(HWND hwnd);

class Control {
public:
    Control() noexcept = default;
    explicit Control(HWND hwnd) noexcept : hwnd_(hwnd) {}
    Control(HWND parent, int id) noexcept : hwnd_(GetDlgItem(parent, id)) {}

    HWND hwnd() const noexcept { return hwnd_; }
    explicit operator bool() const noexcept { return hwnd_ != nullptr; }
    int id() const noexcept { return GetDlgCtrlID(hwnd_); }
    // Whether a WM_NOTIFY came from this control.
    bool sent(const NMHDR& header) const noexcept { return header.hwndFrom == hwnd_; }

    std::string text() const { return windowText(hwnd_); }
    void setText(std::string_view text) const;
    void enable(bool on = true) const noexcept { EnableWindow(hwnd_, on ? TRUE : FALSE); }
    bool isEnabled() const noexcept { return IsWindowEnabled(hwnd_) != FALSE; }
    void show(bool on = true) const noexcept { ShowWindow(hwnd_, on ? SW_SHOW : SW_HIDE); }
    bool isVisible() const noexcept { return IsWindowVisible(hwnd_) != FALSE; }
    void focus() const noexcept { SetFocus(hwnd_); }
    // Position and size in pixels of the parent's client area.
    RECT bounds() const noexcept;
    void move(int x, int y, int width, int height) const noexcept;

protected:
    LRESULT send(UINT msg, WPARAM wp = 0, LPARAM lp = 0) const noexcept { return SendMessageW(hwnd_, msg, wp, lp); }
    template <typename T>
    LRESULT send(UINT msg, WPARAM wp, T* pointer) const noexcept {
        return SendMessageW(hwnd_, msg, wp, reinterpret_cast<LPARAM>(pointer));
    }

private:
    HWND hwnd_ = nullptr;
};

using Label = Control;

// Push buttons, check boxes and option buttons.
class Button : public Control {
public:
    using Control::Control;
    bool isChecked() const noexcept { return send(BM_GETCHECK) == BST_CHECKED; }
    void setChecked(bool on) const noexcept { send(BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED); }
    // As if the user clicked it: the parent gets BN_CLICKED.
    void click() const noexcept { send(BM_CLICK); }
};

class Edit : public Control {
public:
    using Control::Control;
    void setLimit(int characters) const noexcept { send(EM_LIMITTEXT, static_cast<WPARAM>(characters)); }
    void selectAll() const noexcept { send(EM_SETSEL, 0, -1); }
    void setReadOnly(bool on) const noexcept { send(EM_SETREADONLY, on ? TRUE : FALSE); }
};

}  // namespace quillon::ui
