#pragma once
// Display scaling: pixel sizes chosen at 100% (96 dots per inch) turned into those of the monitor
// a window is on, so that fixed widths keep holding their text at 150% or 200%.
#include <windows.h>

namespace quillon::ui {

inline constexpr UINT DefaultDpi = 96;
inline constexpr UINT DpiChangedMessage = 0x02E0;  // WM_DPICHANGED, past the headers' Windows 7 level

// The window's dots per inch: its monitor's where the system says (Windows 10), else the screen's.
UINT dpiOf(HWND window) noexcept;

inline int scaled(int pixelsAt96, UINT dpi) noexcept { return MulDiv(pixelsAt96, static_cast<int>(dpi), DefaultDpi); }
inline int scaled(HWND window, int pixelsAt96) noexcept { return scaled(pixelsAt96, dpiOf(window)); }

}  // namespace quillon::ui
