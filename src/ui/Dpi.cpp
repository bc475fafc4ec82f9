#include "ui/Dpi.h"

#include "platform/win32/Handles.h"

namespace quillon::ui {

UINT dpiOf(HWND window) noexcept {
    using ForWindow = UINT(WINAPI*)(HWND);
    // Looked up, not linked: systems before Windows 10 lack it and would refuse to start the program.
    static const auto forWindow = reinterpret_cast<ForWindow>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
    if (forWindow && window) {
        if (const UINT dpi = forWindow(window)) return dpi;
    }
    const win32::WindowDc screen;
    const int dpi = screen ? GetDeviceCaps(screen.get(), LOGPIXELSX) : 0;
    return dpi > 0 ? static_cast<UINT>(dpi) : DefaultDpi;
}

}  // namespace quillon::ui
