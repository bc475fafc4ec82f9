#pragma once
// Menus built from tables, typed item operations, and entries that can be hidden.
#include <windows.h>

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/win32/Handles.h"

namespace quillon::ui {

// One entry of a menu table. Level 0 entries are the menu bar's (or a popup's own) entries;
// an entry followed by deeper ones opens a sub-menu holding them. Text "-" is a separator.
struct MenuItemSpec {
    int level = 0;
    int id = 0;
    const char* text = "";  // UTF-8
};

// Empty handle when the table is malformed (a level skipped) or the system refused.
win32::MenuHandle buildMenuBar(std::span<const MenuItemSpec> items);
win32::MenuHandle buildPopupMenu(std::span<const MenuItemSpec> items);

// A non-owning view of a menu; item ids are searched in its sub-menus too.
class Menu {
public:
    explicit Menu(HMENU menu) noexcept : menu_(menu) {}
    HMENU handle() const noexcept { return menu_; }

    void enable(int id, bool on) const noexcept;
    bool isEnabled(int id) const noexcept;
    void check(int id, bool on) const noexcept;
    bool isChecked(int id) const noexcept;
    void setText(int id, std::string_view text) const;
    std::string text(int id) const;
    // The sub-menu opened by the entry at a position, or null.
    HMENU subMenu(int position) const noexcept { return GetSubMenu(menu_, position); }
    int count() const noexcept { return GetMenuItemCount(menu_); }
    // The id of the entry at a position (0 for separators and sub-menus).
    int idAt(int position) const noexcept { return static_cast<int>(GetMenuItemID(menu_, position)); }

private:
    HMENU menu_;
};

// Hides and shows entries of one menu by taking them out and putting them back at their
// place, so a hidden entry is really gone (not just greyed). Everything an entry carries
// (text, state, sub-menu) comes back with it. Tracks the entries present when it was made.
class MenuVisibility {
public:
    explicit MenuVisibility(HMENU menu, HWND redrawWindow = nullptr);
    MenuVisibility(const MenuVisibility&) = delete;
    MenuVisibility& operator=(const MenuVisibility&) = delete;
    ~MenuVisibility();

    void setVisible(int id, bool visible);
    bool isVisible(int id) const noexcept;

private:
    struct Entry {
        int id = 0;
        bool visible = true;
        MENUITEMINFOW info{};  // as taken out
        std::wstring text;
    };
    Entry* find(int id) noexcept;
    UINT positionOf(const Entry& entry) const noexcept;

    HMENU menu_;
    HWND redrawWindow_;
    std::vector<Entry> entries_;
};

}  // namespace quillon::ui
