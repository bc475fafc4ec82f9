// Menus from tables, their item operations, and entries hidden by taking them out.
#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "ui/Menu.h"
#include "ui/Window.h"

namespace quillon::ui {
namespace {

enum : int {
    ID_UPDATE = 101,
    ID_FIND,
    ID_EXIT,
    ID_EMPTY,
    ID_NAME1,
    ID_NAME2,
    ID_NAME3,
    ID_NAME4,
    ID_TOPICS,
    ID_WWW,
    ID_SUPPORT,
    ID_ABOUT,
};

constexpr std::array mainMenu{
    MenuItemSpec{0, 0, "&File"},
    MenuItemSpec{1, ID_UPDATE, "&Update database"},
    MenuItemSpec{1, ID_FIND, "&Find changes..."},
    MenuItemSpec{1, 0, "-"},
    MenuItemSpec{1, ID_EXIT, "&Exit"},
    MenuItemSpec{0, 0, "&Uninstall"},
    MenuItemSpec{1, ID_EMPTY, "(Empty)"},
    MenuItemSpec{1, ID_NAME1, "1st user defined"},
    MenuItemSpec{1, ID_NAME2, "2nd user defined"},
    MenuItemSpec{1, ID_NAME3, "3rd user defined"},
    MenuItemSpec{1, ID_NAME4, "4th user defined"},
    MenuItemSpec{0, 0, "&Help"},
    MenuItemSpec{1, ID_TOPICS, "&Help Topics..."},
    MenuItemSpec{1, 0, "-"},
    MenuItemSpec{1, 0, "Quillon &Online"},
    MenuItemSpec{2, ID_WWW, "Quillon &Web Site"},
    MenuItemSpec{2, ID_SUPPORT, "&Support Pages"},
    MenuItemSpec{1, 0, "-"},
    MenuItemSpec{1, ID_ABOUT, "&About Quillon..."},
};

std::vector<int> ids(HMENU menu) {
    const Menu m(menu);
    std::vector<int> result;
    for (int i = 0; i < m.count(); ++i) result.push_back(m.subMenu(i) ? -1 : m.idAt(i));
    return result;
}

TEST(UiMenu, BuildsNestedMenusFromATable) {
    const win32::MenuHandle bar = buildMenuBar(mainMenu);
    ASSERT_TRUE(bar);
    const Menu menu(bar.get());
    ASSERT_EQ(menu.count(), 3);
    EXPECT_EQ(ids(menu.subMenu(0)), (std::vector<int>{ID_UPDATE, ID_FIND, 0, ID_EXIT}));
    EXPECT_EQ(ids(menu.subMenu(1)), (std::vector<int>{ID_EMPTY, ID_NAME1, ID_NAME2, ID_NAME3, ID_NAME4}));
    EXPECT_EQ(ids(menu.subMenu(2)), (std::vector<int>{ID_TOPICS, 0, -1, 0, ID_ABOUT}));
    EXPECT_EQ(ids(Menu(menu.subMenu(2)).subMenu(2)), (std::vector<int>{ID_WWW, ID_SUPPORT}));
    EXPECT_EQ(menu.text(ID_SUPPORT), "&Support Pages");
    EXPECT_EQ(menu.text(ID_EXIT), "&Exit");
}

TEST(UiMenu, RefusesMalformedTables) {
    const std::vector<std::vector<MenuItemSpec>> tables = {
        {{1, ID_EXIT, "&Exit"}},                              // starts below the top
        {{0, 0, "&File"}, {2, ID_EXIT, "&Exit"}},             // skips a level
        {{0, 0, "&Help"}, {1, 0, "On"}, {3, ID_WWW, "Web"}},  // skips one deeper down
    };
    for (const auto& table : tables) EXPECT_FALSE(buildMenuBar(table)) << "table starting " << table.front().text;
    EXPECT_TRUE(buildPopupMenu(std::vector<MenuItemSpec>{{0, ID_EXIT, "E&xit"}}));
}

TEST(UiMenu, EnablesChecksAndRenamesEntriesAtAnyDepth) {
    const win32::MenuHandle bar = buildMenuBar(mainMenu);
    const Menu menu(bar.get());
    struct Case {
        int id;
        bool enabled;
        bool checked;
        const char* text;
    };
    for (const Case& c : {Case{ID_UPDATE, false, true, "Update"}, Case{ID_WWW, false, false, "Web"},
                          Case{ID_WWW, true, true, "Web site"}, Case{ID_ABOUT, true, false, "About"}}) {
        SCOPED_TRACE(c.id);
        menu.enable(c.id, c.enabled);
        menu.check(c.id, c.checked);
        menu.setText(c.id, c.text);
        EXPECT_EQ(menu.isEnabled(c.id), c.enabled);
        EXPECT_EQ(menu.isChecked(c.id), c.checked);
        EXPECT_EQ(menu.text(c.id), c.text);
    }
}

TEST(UiMenu, HiddenEntriesAreGoneAndComeBackInPlace) {
    const win32::MenuHandle bar = buildMenuBar(mainMenu);
    const HMENU uninstall = Menu(bar.get()).subMenu(1);
    MenuVisibility visibility(uninstall);
    struct Step {
        int id;
        bool visible;
        std::vector<int> shown;
    };
    const Step steps[] = {
        {ID_NAME1, false, {ID_EMPTY, ID_NAME2, ID_NAME3, ID_NAME4}},
        {ID_NAME2, false, {ID_EMPTY, ID_NAME3, ID_NAME4}},
        {ID_NAME3, false, {ID_EMPTY, ID_NAME4}},
        {ID_NAME4, false, {ID_EMPTY}},
        {ID_NAME3, true, {ID_EMPTY, ID_NAME3}},
        {ID_NAME1, true, {ID_EMPTY, ID_NAME1, ID_NAME3}},
        {ID_EMPTY, false, {ID_NAME1, ID_NAME3}},
        {ID_NAME1, false, {ID_NAME3}},  // hiding twice changes nothing more
        {ID_NAME1, false, {ID_NAME3}},
        {ID_EMPTY, true, {ID_EMPTY, ID_NAME3}},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(testing::Message() << step.id << (step.visible ? " shown" : " hidden"));
        visibility.setVisible(step.id, step.visible);
        EXPECT_EQ(ids(uninstall), step.shown);
        EXPECT_EQ(visibility.isVisible(step.id), step.visible);
    }
}

TEST(UiMenu, AnEntryComesBackWithWhatItCarried) {
    const win32::MenuHandle bar = buildMenuBar(mainMenu);
    const Menu menu(bar.get());
    const HMENU help = menu.subMenu(2);
    const HMENU online = Menu(help).subMenu(2);
    const HMENU uninstall = menu.subMenu(1);

    menu.setText(ID_NAME1, "Paint Shop");
    menu.enable(ID_NAME1, false);
    MenuVisibility uninstallEntries(uninstall);
    uninstallEntries.setVisible(ID_NAME1, false);
    uninstallEntries.setVisible(ID_NAME1, true);
    EXPECT_EQ(menu.text(ID_NAME1), "Paint Shop");
    EXPECT_FALSE(menu.isEnabled(ID_NAME1));

    // A sub-menu entry (no id of its own) is tracked by position only: it cannot be hidden by id,
    // but hiding its neighbours leaves it whole.
    MenuVisibility helpEntries(help);
    helpEntries.setVisible(ID_TOPICS, false);
    EXPECT_EQ(ids(help), (std::vector<int>{0, -1, 0, ID_ABOUT}));
    helpEntries.setVisible(ID_TOPICS, true);
    EXPECT_EQ(Menu(help).subMenu(2), online);
    EXPECT_EQ(ids(online), (std::vector<int>{ID_WWW, ID_SUPPORT}));
}

class MenuWindow final : public Window {
public:
    bool open(HMENU menu) {
        WindowSpec desc;
        desc.className = "QuillonUiMenuWindow";
        desc.title = "Quillon menu test";
        desc.clientWidth = 200;
        desc.clientHeight = 100;
        desc.menu = menu;
        return create(desc);
    }
};

TEST(UiMenu, AWindowTakesItsMenuBar) {
    win32::MenuHandle bar = buildMenuBar(mainMenu);
    ASSERT_TRUE(bar);
    const HMENU handle = bar.get();
    MenuWindow window;
    ASSERT_TRUE(window.open(bar.release()));
    EXPECT_EQ(GetMenu(window.hwnd()), handle);
    EXPECT_EQ(Menu(GetMenu(window.hwnd())).count(), 3);
}

}  // namespace
}  // namespace quillon::ui
