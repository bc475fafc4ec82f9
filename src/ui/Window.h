#pragma once
// Base of every window of the programs: one static thunk finds the object behind a handle and
// hands the message to its virtual handlers. Dialog (Dialog.h) shares all of it.
#include <windows.h>
#include <commctrl.h>

#include <optional>
#include <string>
#include <string_view>

#include "platform/WindowRef.h"
#include "platform/win32/Handles.h"

namespace quillon::ui {

class StatusHelp;

// The system's own cursors and icons (IDC_*, IDI_*) are numbers, spelt as narrow resource names
// unless the whole program is compiled for UNICODE; the wide loaders take the same numbers.
inline LPCWSTR systemResource(LPCSTR id) noexcept { return reinterpret_cast<LPCWSTR>(id); }

struct WindowSpec {
    const char* className = nullptr;  // ASCII; registered on first use, with the thunk as its procedure
    std::string title;
    DWORD style = WS_OVERLAPPEDWINDOW;
    DWORD exStyle = 0;
    int clientWidth = 0;              // dialog units of the window's font; 0 = the system's choice
    int clientHeight = 0;
    HWND owner = nullptr;
    HMENU menu = nullptr;             // the window destroys it
    HICON icon = nullptr;             // stays the caller's
};

class Window {
public:
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;
    virtual ~Window();

    HWND hwnd() const noexcept { return hwnd_; }
    WindowRef ref() const noexcept { return reinterpret_cast<WindowRef>(hwnd_); }
    HWND item(int id) const noexcept { return GetDlgItem(hwnd_, id); }
    // The font the window gives its children: the system's message font, or a dialog's own.
    HFONT font() const noexcept;

    std::string title() const;
    void setTitle(std::string_view text) const;

    // Keeps the status bar's help texts in step with the control under the mouse; the helper
    // must outlive the window or be detached with nullptr.
    void useStatusHelp(StatusHelp* help) noexcept { help_ = help; }

protected:
    Window() = default;

    // Registers the class when needed and creates the window; false when the system refused.
    bool create(const WindowSpec& desc);

    // Every message comes here first; nullopt lets the system's default handling run. The
    // default implementation takes the usual messages apart into the handlers below.
    virtual std::optional<LRESULT> onMessage(UINT msg, WPARAM wp, LPARAM lp);

    virtual void onCreate() {}  // WM_CREATE, or WM_INITDIALOG for a dialog
    virtual void onCommand(int id, int code, HWND control);
    virtual std::optional<LRESULT> onNotify(const NMHDR& header);
    virtual void onSize(int width, int height);
    virtual void onTimer(UINT_PTR id);
    virtual void onClose();     // default: destroy the window
    virtual void onDestroy() {}
    // After the window moved to a monitor of another scaling and its children followed.
    virtual void onDpiChanged() {}

private:
    friend class Dialog;
    friend class WaitCursor;

    static LRESULT CALLBACK windowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) noexcept;
    static Window* fromHandle(HWND hwnd) noexcept;
    void attach(HWND hwnd) noexcept;
    void detach() noexcept;
    // What both thunks do before the handlers: help texts, the hourglass, the font.
    std::optional<LRESULT> dispatch(UINT msg, WPARAM wp, LPARAM lp);
    std::optional<LRESULT> onSetCursor(HWND under, LPARAM lp);
    void followDpi(UINT dpi, const RECT& suggested);

    HWND hwnd_ = nullptr;
    win32::FontHandle font_;
    StatusHelp* help_ = nullptr;
    int waitDepth_ = 0;
    UINT dpi_ = 0;
};

}  // namespace quillon::ui
