#include "ui/Layout.h"

#include <vector>

#include "platform/win32/Utf.h"

namespace quillon::ui {

namespace {

constexpr ATOM dialogClassAtom = 32770;  // "#32770", the dialog manager's class

BOOL CALLBACK setFontProc(HWND child, LPARAM font) noexcept {
    SendMessageW(child, WM_SETFONT, static_cast<WPARAM>(font), FALSE);
    return TRUE;
}

}  // namespace

DialogUnits::DialogUnits(HFONT font) noexcept {
    const win32::WindowDc dc;
    if (!dc) return;
    const win32::SelectedObject selected(dc.get(), font ? font : GetStockObject(DEFAULT_GUI_FONT));
    TEXTMETRICW tm{};
    SIZE size{};
    static constexpr wchar_t letters[] = L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
    if (GetTextMetricsW(dc.get(), &tm) && GetTextExtentPoint32W(dc.get(), letters, 52, &size)) {
        baseX_ = (size.cx / 26 + 1) / 2;  // the average width, rounded
        baseY_ = tm.tmHeight;
    }
}

DialogUnits DialogUnits::of(HWND window) noexcept {
    if (GetClassLongPtrW(window, GCW_ATOM) == dialogClassAtom) {
        RECT r{0, 0, 4, 8};
        if (MapDialogRect(window, &r)) return DialogUnits(r.right, r.bottom);
    }
    return DialogUnits(reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0)));
}

RECT DialogUnits::rect(int x0, int y0, int width, int height) const noexcept {
    return {x(x0), y(y0), x(x0 + width), y(y0 + height)};
}

HWND createControl(HWND parent, const ControlSpec& desc, const DialogUnits& units, HFONT font) {
    const RECT r = units.rect(desc.x, desc.y, desc.width, desc.height);
    HWND h = CreateWindowExW(desc.exStyle, win32::wide(desc.className ? desc.className : "").c_str(),
                             win32::wide(desc.text ? desc.text : "").c_str(), WS_CHILD | WS_VISIBLE | desc.style,
                             r.left, r.top, r.right - r.left, r.bottom - r.top, parent,
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(desc.id)), GetModuleHandleW(nullptr),
                             nullptr);
    if (h && font) SendMessageW(h, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return h;
}

bool createControls(HWND parent, std::span<const ControlSpec> specs) {
    const DialogUnits units = DialogUnits::of(parent);
    const auto font = reinterpret_cast<HFONT>(SendMessageW(parent, WM_GETFONT, 0, 0));
    bool all = true;
    for (const ControlSpec& desc : specs) {
        if (!createControl(parent, desc, units, font)) all = false;
    }
    return all;
}

bool messageFont(LOGFONTW& font) {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0)) {
        // Systems before Vista know the structure without its last field.
        metrics.cbSize = sizeof metrics - sizeof metrics.iPaddedBorderWidth;
        if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0)) return false;
    }
    font = metrics.lfMessageFont;
    return true;
}

win32::FontHandle createMessageFont() {
    LOGFONTW font{};
    if (!messageFont(font)) return {};
    return win32::FontHandle(CreateFontIndirectW(&font));
}

void applyFont(HWND parent, HFONT font) { EnumChildWindows(parent, setFontProc, reinterpret_cast<LPARAM>(font)); }

void showControls(HWND parent, std::span<const int> ids, bool visible) {
    for (int id : ids) {
        if (HWND h = GetDlgItem(parent, id)) ShowWindow(h, visible ? SW_SHOW : SW_HIDE);
    }
}

void showPage(HWND parent, std::span<const ControlSpec> controls, std::span<const PageRange> pages, int page) {
    for (std::size_t i = 0; i < pages.size(); ++i) {
        std::vector<int> ids;
        for (const ControlSpec& control : controls)
            if (control.id >= pages[i].firstId && control.id <= pages[i].lastId) ids.push_back(control.id);
        showControls(parent, ids, static_cast<int>(i) == page);
    }
}

}  // namespace quillon::ui
