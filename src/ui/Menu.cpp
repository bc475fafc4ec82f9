#include "ui/Menu.h"

#include <cstring>

#include "platform/win32/Utf.h"

namespace quillon::ui {

namespace {

bool isSeparator(const MenuItemSpec& item) noexcept { return std::strcmp(item.text, "-") == 0; }

// Appends items[index..] of `level` to `menu`; returns the index after them, or -1 on failure.
int appendLevel(HMENU menu, std::span<const MenuItemSpec> items, size_t index, int level) {
    while (index < items.size() && items[index].level >= level) {
        const MenuItemSpec& item = items[index];
        if (item.level != level) return -1;  // a level skipped
        const bool opensSubMenu = index + 1 < items.size() && items[index + 1].level > level;
        if (opensSubMenu) {
            win32::MenuHandle sub(CreatePopupMenu());
            if (!sub) return -1;
            const int next = appendLevel(sub.get(), items, index + 1, level + 1);
            if (next < 0) return -1;
            if (!AppendMenuW(menu, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(sub.get()), win32::wide(item.text).c_str())) return -1;
            sub.release();  // the parent menu destroys it now
            index = static_cast<size_t>(next);
            continue;
        }
        const BOOL added = isSeparator(item) ? AppendMenuW(menu, MF_SEPARATOR, 0, nullptr)
                                             : AppendMenuW(menu, MF_STRING, static_cast<UINT_PTR>(item.id),
                                                           win32::wide(item.text).c_str());
        if (!added) return -1;
        ++index;
    }
    return static_cast<int>(index);
}

win32::MenuHandle build(win32::MenuHandle menu, std::span<const MenuItemSpec> items) {
    if (!menu) return {};
    if (!items.empty() && items.front().level != 0) return {};
    if (appendLevel(menu.get(), items, 0, 0) != static_cast<int>(items.size())) return {};
    return menu;
}

UINT stateOf(HMENU menu, int id) noexcept {
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_STATE;
    return GetMenuItemInfoW(menu, static_cast<UINT>(id), FALSE, &info) ? info.fState : 0;
}

}  // namespace

win32::MenuHandle buildMenuBar(std::span<const MenuItemSpec> items) {
    return build(win32::MenuHandle(CreateMenu()), items);
}

win32::MenuHandle buildPopupMenu(std::span<const MenuItemSpec> items) {
    return build(win32::MenuHandle(CreatePopupMenu()), items);
}

void Menu::enable(int id, bool on) const noexcept {
    EnableMenuItem(menu_, static_cast<UINT>(id), MF_BYCOMMAND | (on ? MF_ENABLED : MF_GRAYED));
}

bool Menu::isEnabled(int id) const noexcept { return (stateOf(menu_, id) & MFS_DISABLED) == 0; }

void Menu::check(int id, bool on) const noexcept {
    CheckMenuItem(menu_, static_cast<UINT>(id), MF_BYCOMMAND | (on ? MF_CHECKED : MF_UNCHECKED));
}

bool Menu::isChecked(int id) const noexcept { return (stateOf(menu_, id) & MFS_CHECKED) != 0; }

void Menu::setText(int id, std::string_view text) const {
    std::wstring copy = win32::wide(text);
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_STRING;
    info.dwTypeData = copy.data();
    SetMenuItemInfoW(menu_, static_cast<UINT>(id), FALSE, &info);
}

std::string Menu::text(int id) const {
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_STRING;
    if (!GetMenuItemInfoW(menu_, static_cast<UINT>(id), FALSE, &info)) return {};
    std::wstring text(info.cch + 1, L'\0');
    info.dwTypeData = text.data();
    info.cch = static_cast<UINT>(text.size());
    if (!GetMenuItemInfoW(menu_, static_cast<UINT>(id), FALSE, &info)) return {};
    text.resize(info.cch);
    return win32::utf8(text);
}

MenuVisibility::MenuVisibility(HMENU menu, HWND redrawWindow) : menu_(menu), redrawWindow_(redrawWindow) {
    const int items = GetMenuItemCount(menu);
    for (int position = 0; position < items; ++position) {
        MENUITEMINFOW info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_ID;
        GetMenuItemInfoW(menu, static_cast<UINT>(position), TRUE, &info);
        entries_.push_back(Entry{static_cast<int>(info.wID), true, {}, {}});
    }
}

MenuVisibility::~MenuVisibility() {
    for (const Entry& entry : entries_) {
        if (!entry.visible && entry.info.hSubMenu) DestroyMenu(entry.info.hSubMenu);
    }
}

MenuVisibility::Entry* MenuVisibility::find(int id) noexcept {
    for (Entry& entry : entries_) {
        if (entry.id == id && id != 0) return &entry;
    }
    return nullptr;
}

bool MenuVisibility::isVisible(int id) const noexcept {
    for (const Entry& entry : entries_) {
        if (entry.id == id && id != 0) return entry.visible;
    }
    return false;
}

UINT MenuVisibility::positionOf(const Entry& entry) const noexcept {
    UINT position = 0;
    for (const Entry& other : entries_) {
        if (&other == &entry) break;
        if (other.visible) ++position;
    }
    return position;
}

void MenuVisibility::setVisible(int id, bool visible) {
    Entry* entry = find(id);
    if (!entry || entry->visible == visible) return;
    const UINT position = positionOf(*entry);
    if (!visible) {
        // Taken as it is now, so that what changed while it was shown comes back.
        MENUITEMINFOW info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_STRING;
        if (!GetMenuItemInfoW(menu_, position, TRUE, &info)) return;
        entry->text.assign(info.cch + 1, L'\0');
        info.fMask = MIIM_ID | MIIM_STRING | MIIM_FTYPE | MIIM_STATE | MIIM_SUBMENU | MIIM_DATA;
        info.dwTypeData = entry->text.data();
        info.cch = static_cast<UINT>(entry->text.size());
        if (!GetMenuItemInfoW(menu_, position, TRUE, &info)) return;
        entry->text.resize(info.cch);
        if (!RemoveMenu(menu_, position, MF_BYPOSITION)) return;
        entry->info = info;
    } else {
        MENUITEMINFOW info = entry->info;
        info.dwTypeData = entry->text.data();
        info.cch = static_cast<UINT>(entry->text.size());
        if (!InsertMenuItemW(menu_, position, TRUE, &info)) return;
        entry->info.hSubMenu = nullptr;  // the menu owns it again
    }
    entry->visible = visible;
    if (redrawWindow_) DrawMenuBar(redrawWindow_);
}

}  // namespace quillon::ui
