#include "ui/StatusBar.h"

#include <vector>

#include "platform/win32/Utf.h"
#include "ui/Dpi.h"

namespace quillon::ui {

namespace {

constexpr int maxPanels = 255;
constexpr WPARAM simplePanel = 255;  // SB_SIMPLEID

}  // namespace

void StatusBar::setPanels(std::span<const int> widths) const {
    if (widths.empty() || widths.size() > maxPanels) return;
    RECT client{};
    GetClientRect(hwnd(), &client);
    const UINT dpi = dpiOf(hwnd());
    int fixed = 0;
    for (int w : widths) {
        if (w != fill) fixed += scaled(w, dpi);
    }
    const int rest = client.right - fixed > 0 ? client.right - fixed : 0;
    std::vector<int> edges;  // the bar wants the right edge of each panel
    int edge = 0;
    for (size_t i = 0; i < widths.size(); ++i) {
        edge += widths[i] == fill ? rest : scaled(widths[i], dpi);
        edges.push_back(i + 1 == widths.size() && widths[i] == fill ? -1 : edge);
    }
    send(SB_SETPARTS, edges.size(), edges.data());
}

void StatusBar::setText(int panel, std::string_view text) const {
    const std::wstring copy = win32::wide(text);
    send(SB_SETTEXTW, static_cast<WPARAM>(panel), copy.c_str());
}

std::string StatusBar::text(int panel) const {
    const auto length = LOWORD(send(SB_GETTEXTLENGTHW, static_cast<WPARAM>(panel)));
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    send(SB_GETTEXTW, static_cast<WPARAM>(panel), text.data());
    text.resize(length);
    return win32::utf8(text);
}

void StatusBar::setSimpleText(std::string_view text) const {
    const std::wstring copy = win32::wide(text);
    send(SB_SETTEXTW, simplePanel, copy.c_str());
}

int StatusBar::height() const noexcept {
    RECT r{};
    GetWindowRect(hwnd(), &r);
    return r.bottom - r.top;
}

}  // namespace quillon::ui
