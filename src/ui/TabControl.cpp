#include "ui/TabControl.h"

#include <vssym32.h>

#include "platform/win32/Handles.h"

namespace quillon::ui {

int TabControl::addTab(std::string_view caption) const {
    std::string text(caption);
    TCITEMA item{};
    item.mask = TCIF_TEXT;
    item.pszText = text.data();
    return static_cast<int>(send(TCM_INSERTITEMA, static_cast<WPARAM>(count()), &item));
}

std::string TabControl::caption(int index) const {
    char buffer[256] = {};
    TCITEMA item{};
    item.mask = TCIF_TEXT;
    item.pszText = buffer;
    item.cchTextMax = sizeof buffer;
    if (!send(TCM_GETITEMA, static_cast<WPARAM>(index), &item)) return {};
    return item.pszText ? std::string(item.pszText) : std::string();  // the control may point elsewhere
}

void TabControl::setCaption(int index, std::string_view caption) const {
    std::string text(caption);
    TCITEMA item{};
    item.mask = TCIF_TEXT;
    item.pszText = text.data();
    send(TCM_SETITEMA, static_cast<WPARAM>(index), &item);
}

RECT TabControl::pageArea() const noexcept {
    RECT r = bounds();
    send(TCM_ADJUSTRECT, FALSE, &r);
    return r;
}

bool TabControl::paintPageBehind(HWND control, HDC dc) const noexcept {
    const win32::ThemeHandle theme(OpenThemeData(hwnd(), L"TAB"));
    if (!theme) return false;
    RECT page = pageArea();
    MapWindowPoints(GetParent(hwnd()), control, reinterpret_cast<POINT*>(&page), 2);
    RECT area;
    GetClientRect(control, &area);
    DrawThemeBackground(theme.get(), dc, TABP_BODY, 0, &page, &area);
    SetBkMode(dc, TRANSPARENT);
    return true;
}

std::optional<LRESULT> TabControl::pageBackground(WPARAM wp, LPARAM lp, int firstId, int lastId) const noexcept {
    const auto control = reinterpret_cast<HWND>(lp);
    const int id = GetDlgCtrlID(control);
    if (id < firstId || id > lastId || !paintPageBehind(control, reinterpret_cast<HDC>(wp))) return std::nullopt;
    return reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH));
}

}  // namespace quillon::ui
