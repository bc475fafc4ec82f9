#include "ui/Window.h"

#include "ui/Control.h"
#include "ui/Dpi.h"
#include "ui/Layout.h"
#include "ui/StatusHelp.h"
#include "platform/win32/Utf.h"

namespace quillon::ui {

Window::~Window() {
    if (hwnd_) {
        // Detached first: the derived parts are gone, so the system's defaults see the end.
        HWND h = hwnd_;
        detach();
        DestroyWindow(h);
    }
}

HFONT Window::font() const noexcept {
    if (hwnd_) {
        if (auto f = reinterpret_cast<HFONT>(SendMessageW(hwnd_, WM_GETFONT, 0, 0))) return f;
    }
    return font_ ? font_.get() : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

std::string Window::title() const { return windowText(hwnd_); }

void Window::setTitle(std::string_view text) const { SetWindowTextW(hwnd_, win32::wide(text).c_str()); }

bool Window::create(const WindowSpec& desc) {
    win32::MenuHandle menu(desc.menu);  // ours until the window takes it
    if (hwnd_ || !desc.className) return false;
    HINSTANCE instance = GetModuleHandleW(nullptr);
    const std::wstring className = win32::wide(desc.className);
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    if (!GetClassInfoExW(instance, className.c_str(), &wc)) {
        wc = {};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = windowProc;
        wc.hInstance = instance;
        wc.hCursor = LoadCursorW(nullptr, systemResource(IDC_ARROW));
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        wc.lpszClassName = className.c_str();
        if (!RegisterClassExW(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return false;
    }

    font_ = createMessageFont();
    int width = CW_USEDEFAULT;
    int height = CW_USEDEFAULT;
    if (desc.clientWidth > 0 && desc.clientHeight > 0) {
        const DialogUnits units(font());
        RECT r{0, 0, units.x(desc.clientWidth), units.y(desc.clientHeight)};
        AdjustWindowRectEx(&r, desc.style, menu ? TRUE : FALSE, desc.exStyle);
        width = r.right - r.left;
        height = r.bottom - r.top;
    }
    HWND h = CreateWindowExW(desc.exStyle, className.c_str(), win32::wide(desc.title).c_str(), desc.style, CW_USEDEFAULT,
                             CW_USEDEFAULT, width, height, desc.owner, menu.get(), instance, this);
    if (!h) {
        font_.reset();
        return false;
    }
    menu.release();
    dpi_ = dpiOf(h);
    if (desc.icon) {
        SendMessageW(h, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(desc.icon));
        SendMessageW(h, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(desc.icon));
    }
    return true;
}

std::optional<LRESULT> Window::onMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_CREATE:
            onCreate();
            return 0;
        case WM_INITDIALOG:
            onCreate();
            return TRUE;  // the dialog manager puts the focus on the first control
        case WM_COMMAND:
            onCommand(LOWORD(wp), HIWORD(wp), reinterpret_cast<HWND>(lp));
            return 0;
        case WM_NOTIFY:
            return onNotify(*reinterpret_cast<const NMHDR*>(lp));
        case WM_SIZE:
            onSize(LOWORD(lp), HIWORD(lp));
            return std::nullopt;
        case WM_TIMER:
            onTimer(wp);
            return 0;
        case WM_CLOSE:
            onClose();
            return 0;
        case WM_DESTROY:
            onDestroy();
            return std::nullopt;
        default:
            return std::nullopt;
    }
}

void Window::onCommand(int, int, HWND) {}

std::optional<LRESULT> Window::onNotify(const NMHDR&) { return std::nullopt; }

void Window::onSize(int, int) {}

void Window::onTimer(UINT_PTR) {}

void Window::onClose() { DestroyWindow(hwnd_); }

Window* Window::fromHandle(HWND hwnd) noexcept {
    return reinterpret_cast<Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
}

void Window::attach(HWND hwnd) noexcept {
    hwnd_ = hwnd;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

void Window::detach() noexcept {
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
    hwnd_ = nullptr;
    font_.reset();  // the children, the only users of the font, are gone by now
}

std::optional<LRESULT> Window::dispatch(UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_GETFONT && font_) return reinterpret_cast<LRESULT>(font_.get());
    if (msg == WM_SETCURSOR) {
        if (auto r = onSetCursor(reinterpret_cast<HWND>(wp), lp)) return r;
    }
    return onMessage(msg, wp, lp);
}

std::optional<LRESULT> Window::onSetCursor(HWND under, LPARAM lp) {
    // The high word is the mouse message that caused it: zero while a menu is open.
    if (help_ && HIWORD(lp) != 0) {
        if (under == hwnd_) {
            help_->pointAt(0);
        } else if (IsChild(hwnd_, under)) {
            help_->pointAt(GetDlgCtrlID(under));
        }
    }
    if (waitDepth_ > 0) {
        SetCursor(LoadCursorW(nullptr, systemResource(IDC_WAIT)));
        return TRUE;
    }
    return std::nullopt;
}

// A window built from code is not scaled by the system (dialogs are): its font and every child
// grow or shrink by the ratio of the scalings, and it takes the rectangle the system suggests.
void Window::followDpi(UINT dpi, const RECT& suggested) {
    if (dpi_ == 0 || dpi == dpi_) return;
    LOGFONTW description{};
    if (font_ && GetObjectW(font_.get(), sizeof description, &description)) {
        description.lfHeight = MulDiv(description.lfHeight, static_cast<int>(dpi), static_cast<int>(dpi_));
        if (win32::FontHandle larger(CreateFontIndirectW(&description)); larger) {
            applyFont(hwnd_, larger.get());
            font_ = std::move(larger);
        }
    }
    for (HWND child = GetWindow(hwnd_, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        RECT r = Control(child).bounds();
        const auto grow = [&](LONG v) { return MulDiv(v, static_cast<int>(dpi), static_cast<int>(dpi_)); };
        MoveWindow(child, grow(r.left), grow(r.top), grow(r.right - r.left), grow(r.bottom - r.top), TRUE);
    }
    dpi_ = dpi;
    SetWindowPos(hwnd_, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    onDpiChanged();
}

LRESULT CALLBACK Window::windowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) noexcept {
    Window* self = nullptr;
    if (msg == WM_NCCREATE) {
        self = static_cast<Window*>(reinterpret_cast<const CREATESTRUCTW*>(lp)->lpCreateParams);
        if (self) self->attach(hwnd);
    } else {
        self = fromHandle(hwnd);
    }
    std::optional<LRESULT> handled;
    if (self) {
        try {
            if (msg == DpiChangedMessage) {
                self->followDpi(HIWORD(wp), *reinterpret_cast<const RECT*>(lp));
                return 0;
            }
            handled = self->dispatch(msg, wp, lp);
        } catch (...) {
            handled.reset();  // a failing handler is passed over; the default handling runs
        }
    }
    const LRESULT result = handled ? *handled : DefWindowProcW(hwnd, msg, wp, lp);
    if (msg == WM_NCDESTROY && self) self->detach();
    return result;
}

}  // namespace quillon::ui
