// The parts of the window toolkit no window test reaches on its own: the message pump, a failing
// handler, menus from malformed tables, the owner-data list's selection and search, names beyond
// the code page, and the test driver's own failure.
#include <gtest/gtest.h>

#include <cstddef>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "UiDriver.h"
#include "platform/win32/Utf.h"
#include "ui/Layout.h"
#include "ui/Menu.h"
#include "ui/MessagePump.h"
#include "ui/VirtualListView.h"
#include "ui/Win32Prompter.h"

namespace quillon::ui {
namespace {

// Closing it only raises its stop flag, as the windows of long operations do; its handler throws.
class BusyWindow final : public Window {
public:
    BusyWindow() {
        WindowSpec desc;
        desc.className = "QuillonBusyWindow";
        desc.title = "Quillon busy window";
        create(desc);
    }
    StopFlag stop;
    int commands = 0;

protected:
    void onCommand(int, int, HWND) override {
        ++commands;
        throw std::runtime_error("handler failed");
    }
    void onClose() override { stop.request(); }
};

bool queued(UINT message) {
    MSG msg;
    return PeekMessageA(&msg, nullptr, message, message, PM_NOREMOVE) != FALSE;
}

TEST(UiToolkit, PumpLooksAtTheQueueEveryFifteenMillisecondsAndStopsAtCloseAndQuit) {
    BusyWindow window;
    ASSERT_NE(window.hwnd(), nullptr);
    std::uint32_t now = 1000;
    MessagePump pump(window.stop, nullptr, [&] { return now; });
    // The first yield always looks; then not before 15 ms after the last look.
    for (const auto& [tick, looks] : {std::pair{1000u, true}, std::pair{1014u, false}, std::pair{1015u, true}}) {
        PostThreadMessageA(GetCurrentThreadId(), WM_APP, 0, 0);
        now = tick;
        pump.yield();
        EXPECT_EQ(queued(WM_APP), !looks) << tick;
    }
    PumpThrottle throttle;
    for (const auto& [tick, due] : {std::pair{0xFFFFFFF0u, true}, std::pair{0xFFFFFFFEu, false}, std::pair{0x0000000Eu, true}})
        EXPECT_EQ(throttle.due(tick), due) << std::hex << tick << " across the wrap";

    PostMessageA(window.hwnd(), WM_CLOSE, 0, 0);
    pump.pumpNow();
    EXPECT_TRUE(pump.stopRequested() && IsWindow(window.hwnd())) << "a close during the work only asks it to stop";
    window.stop.clear();
    PostQuitMessage(7);
    pump.pumpNow();
    EXPECT_TRUE(pump.stopRequested());
    MSG quit{};
    ASSERT_TRUE(PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) << "kept for the program's loop";
    EXPECT_EQ(quit.wParam, 7u);

    for (int i = 0; i < 2; ++i) SendMessageA(window.hwnd(), WM_COMMAND, MAKEWPARAM(1, BN_CLICKED), 0);
    EXPECT_EQ(window.commands, 2) << "an exception must stay inside the thunk";
}

// Few rows are selected one by one, most by selecting all and letting go of the others.
TEST(UiToolkit, OwnerDataListSelectsExactlyTheRowsAsked) {
    BusyWindow parent;
    const VirtualListView list(createControl(parent.hwnd(), virtualListView(1, 0, 0, 100, 100, true),
                                             DialogUnits::of(parent.hwnd()), nullptr));
    list.setRowCount(8);
    using Rows = std::vector<std::size_t>;
    const std::pair<Rows, Rows> cases[] = {{{5, 1, 5}, {1, 5}}, {{0, 1, 2, 4, 6, 7}, {0, 1, 2, 4, 6, 7}},
                                           {{7, 6, 5, 4, 3, 2, 1, 0}, {0, 1, 2, 3, 4, 5, 6, 7}}, {{}, {}}};
    for (const auto& [asked, selected] : cases) {
        list.selectOnly(asked);
        EXPECT_EQ(list.selectedIndices(), selected);
    }
}

// What the user types in the list finds the next row beginning with it, without case.
TEST(UiToolkit, OwnerDataListFindsTheRowTypedFromTheStartRow) {
    struct Names final : ListRows {
        std::vector<std::string> names{"alpha", "Beta", "bravo", "charlie"};
        std::string cell(std::size_t row, int) override { return names.at(row); }
        int image(std::size_t) override { return -1; }
    } rows;
    BusyWindow parent;
    const VirtualListView list(createControl(parent.hwnd(), virtualListView(1, 0, 0, 100, 100, true),
                                             DialogUnits::of(parent.hwnd()), nullptr));
    list.setRowCount(rows.names.size());
    struct Case { const wchar_t* typed; UINT flags; int start; LRESULT row; };
    const Case cases[] = {{L"b", LVFI_PARTIAL | LVFI_STRING, 0, 1}, {L"B", LVFI_PARTIAL | LVFI_STRING, 2, 2},
                          {L"al", LVFI_PARTIAL | LVFI_STRING | LVFI_WRAP, 3, 0}, {L"al", LVFI_PARTIAL | LVFI_STRING, 3, -1},
                          {L"bet", LVFI_STRING, 0, -1}, {L"BETA", LVFI_STRING, 0, 1}, {L"ALP", LVFI_PARTIAL | LVFI_WRAP, 2, 0}};
    for (const Case& c : cases) {
        NMLVFINDITEMW request{};
        request.hdr = {list.hwnd(), 1, static_cast<UINT>(LVN_ODFINDITEMW)};
        request.iStart = c.start;
        request.lvfi.flags = c.flags;
        request.lvfi.psz = c.typed;
        EXPECT_EQ(list.answer(request.hdr, rows), std::optional<LRESULT>(c.row)) << c.start;
    }
}

// A window text as the system holds it, in UTF-16.
std::wstring systemText(HWND window) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

// An owner-data list whose parent answers its requests, as the program's windows do.
class ListHost final : public Window, public ListRows {
public:
    ListHost() {
        WindowSpec desc;
        desc.className = "QuillonListHost";
        desc.title = "Quillon list host";
        if (create(desc))
            list = VirtualListView(createControl(hwnd(), virtualListView(1, 0, 0, 200, 100, false),
                                                 DialogUnits::of(hwnd()), nullptr));
    }
    std::string name;
    VirtualListView list;
    std::string cell(std::size_t, int) override { return name; }
    int image(std::size_t) override { return -1; }

protected:
    std::optional<LRESULT> onNotify(const NMHDR& header) override { return list.answer(header, *this); }
};

// Each name reaches the system in UTF-16 and comes back whole: a title, a row of the viewer's
// list type, a menu entry and a message box.
TEST(UiToolkit, NamesBeyondTheCodePageKeepEveryCharacter) {
    ListHost host;
    ASSERT_TRUE(host.list) << "the list did not appear";
    host.list.addColumn("Name", 200);
    host.list.setRowCount(1);
    Win32Prompter prompter;
    for (const char* name : {"Отчёт.txt", "日本語のファイル.doc", "photo \U0001F600.jpg", "Straße"}) {
        const std::wstring expected = win32::wide(name);
        host.setTitle(name);
        EXPECT_EQ(systemText(host.hwnd()), expected) << name;
        EXPECT_EQ(host.title(), name);

        host.name = name;
        wchar_t cell[256] = {};
        LVITEMW item{};
        item.pszText = cell;
        item.cchTextMax = 256;
        SendMessageW(host.list.hwnd(), LVM_GETITEMTEXTW, 0, reinterpret_cast<LPARAM>(&item));
        EXPECT_EQ(std::wstring(cell), expected) << name;

        const MenuItemSpec entries[] = {{0, 100, name}};
        const win32::MenuHandle menu = buildPopupMenu(entries);
        wchar_t entry[256] = {};
        GetMenuStringW(menu.get(), 100, entry, 256, MF_BYCOMMAND);
        EXPECT_EQ(std::wstring(entry), expected) << name;

        bool shown = false;
        uitest::WindowScript script;
        script.when("Quillon name check", [&](HWND box) {
            for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
                shown = shown || systemText(child) == expected;
            uitest::postClick(box, IDOK);
        });
        script.start();
        prompter.message({name, "Quillon name check", MsgIcon::Information, MsgButtons::Ok});
        ASSERT_TRUE(script.finished()) << script.failure();
        EXPECT_TRUE(shown) << name;
    }
}

TEST(UiToolkit, ScriptFailsAndEndsTheLoopWhenItsWindowNeverAppears) {
    uitest::WindowScript script(200);
    script.when("A window nobody opens", [](HWND) {});
    script.start();
    uitest::pumpUntil([&] { return !script.failure().empty(); }, 3000);
    EXPECT_EQ(script.failure(), "window \"A window nobody opens\" did not appear");
    MSG quit;
    EXPECT_TRUE(PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) << "the script must end the loop";
}

// The program's own menu is built and hidden in place in the main window's test.
TEST(UiMenu, MalformedTablesAreRefusedAndHiddenEntriesComeBackInPlaceWithWhatTheyCarried) {
    enum : int { ID_EXIT = 101, ID_NAME1, ID_NAME2, ID_NAME3 };
    const std::vector<MenuItemSpec> malformed[] = {
        {{1, ID_EXIT, "&Exit"}},                                // starts below the top
        {{0, 0, "&File"}, {2, ID_EXIT, "&Exit"}},               // skips a level
        {{0, 0, "&Help"}, {1, 0, "On"}, {3, ID_NAME1, "Web"}},  // skips one deeper down
    };
    for (const auto& bad : malformed) EXPECT_FALSE(buildMenuBar(bad)) << bad.back().text;

    const win32::MenuHandle bar = buildMenuBar(std::vector<MenuItemSpec>{
        {0, 0, "&Uninstall"}, {1, ID_NAME1, "1st"}, {1, ID_NAME2, "2nd"}, {1, ID_NAME3, "3rd"}});
    ASSERT_TRUE(bar);
    const Menu menu(bar.get());
    menu.setText(ID_NAME1, "Paint Shop");
    menu.enable(ID_NAME1, false);
    MenuVisibility visibility(menu.subMenu(0));
    visibility.setVisible(ID_NAME2, false);
    visibility.setVisible(ID_NAME1, false);
    visibility.setVisible(ID_NAME1, false);  // twice changes nothing more
    visibility.setVisible(ID_NAME2, true);
    visibility.setVisible(ID_NAME3, false);
    const Menu entries(menu.subMenu(0));
    ASSERT_EQ(entries.count(), 1);
    EXPECT_EQ(entries.idAt(0), ID_NAME2);
    visibility.setVisible(ID_NAME1, true);
    ASSERT_EQ(entries.count(), 2);
    EXPECT_EQ(entries.idAt(0), ID_NAME1) << "back in its place";
    EXPECT_EQ(menu.text(ID_NAME1), "Paint Shop");
    EXPECT_FALSE(menu.isEnabled(ID_NAME1));
}

}  // namespace
}  // namespace quillon::ui
