#include "ui/TabControl.h"

#include <vssym32.h>

#include <iterator>

#include "platform/win32/Handles.h"
#include "platform/win32/Utf.h"

namespace quillon::ui {

int TabControl::addTab(std::string_view caption) const {
    std::wstring text = win32::wide(caption);
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = text.data();
    return static_cast<int>(send(TCM_INSERTITEMW, static_cast<WPARAM>(count()), &item));
}

std::string TabControl::caption(int index) const {
    wchar_t buffer[256] = {};
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = buffer;
    item.cchTextMax = static_cast<int>(std::size(buffer));
    if (!send(TCM_GETITEMW, static_cast<WPARAM>(index), &item)) return {};
    return win32::utf8(item.pszText);  // the control may point elsewhere
}

void TabControl::setCaption(int index, std::string_view caption) const {
    std::wstring text = win32::wide(caption);
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = text.data();
    send(TCM_SETITEMW, static_cast<WPARAM>(index), &item);
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
