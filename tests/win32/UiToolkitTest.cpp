// The window toolkit against the real system: a top-level window with a list, tabs and a status
// bar, modal dialogs driven by posted messages, the message pump and the menus.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <stdexcept>
#include <string>
#include <vector>

#include "UiDriver.h"
#include "ui/Animation.h"
#include "ui/ComboBox.h"
#include "ui/CommonControls.h"
#include "ui/Dialog.h"
#include "ui/Layout.h"
#include "ui/ListView.h"
#include "ui/MessagePump.h"
#include "ui/ProgressBar.h"
#include "ui/StatusBar.h"
#include "ui/StatusHelp.h"
#include "ui/TabControl.h"
#include "ui/UpDown.h"
#include "ui/WaitCursor.h"
#include "ui/Window.h"

namespace quillon::ui {
namespace {

using uitest::drainQuit;
using uitest::postClick;
using uitest::pumpUntil;
using uitest::WindowScript;

enum : int {
    IDC_DRIVE_LABEL = 1000,
    IDC_DRIVES,
    IDC_SCAN,
    IDC_PROGRESS,
    IDC_DAYS,
    IDC_DAYS_SPIN,
    IDC_CLIP,
    IDC_TABS,
    IDC_LIST,
    IDC_STATUS,
};
constexpr UINT WM_COUNTED = WM_APP + 1;

constexpr int clientWidth = 300;
constexpr int clientHeight = 180;
constexpr std::array panelWidths{StatusBar::fill, 90, 60};

// A window like the program's own: a drive box and a button above a tab strip with a file
// list on its page, a status bar below. Closing it only raises its stop flag, as the windows
// of long operations do.
class TestWindow final : public Window {
public:
    bool open() {
        WindowSpec desc;
        desc.className = "QuillonUiTestWindow";
        desc.title = "Quillon toolkit test";
        desc.clientWidth = clientWidth;
        desc.clientHeight = clientHeight;
        if (!create(desc)) return false;
        ShowWindow(hwnd(), SW_SHOW);
        UpdateWindow(hwnd());
        return true;
    }

    ListView list() const { return ListView(hwnd(), IDC_LIST); }
    StatusBar status() const { return StatusBar(hwnd(), IDC_STATUS); }
    TabControl tabs() const { return TabControl(hwnd(), IDC_TABS); }
    ComboBox drives() const { return ComboBox(hwnd(), IDC_DRIVES); }
    ProgressBar progress() const { return ProgressBar(hwnd(), IDC_PROGRESS); }
    UpDown days() const { return UpDown(hwnd(), IDC_DAYS_SPIN); }

    StopFlag stop;
    int counted = 0;
    std::vector<int> tabChanges;
    bool throwOnCommand = false;
    int commands = 0;  // clicks of Scan Now

protected:
    void onCreate() override {
        using namespace Metrics;
        static constexpr std::array controls{
            label(IDC_DRIVE_LABEL, "Scan drive", margin, margin + labelOffset, 40),
            dropDownList(IDC_DRIVES, margin + 44, margin, 110),
            button(IDC_SCAN, "Scan &Now", margin + 160, margin),
            progressBar(IDC_PROGRESS, margin + 214, margin + 2, 30),
            edit(IDC_DAYS, margin + 248, margin, 38, editHeight, ES_NUMBER),
            upDown(IDC_DAYS_SPIN),
            animation(IDC_CLIP, 0, 0, 0, 0),
            tabControl(IDC_TABS, margin, margin + buttonHeight + gap, clientWidth - 2 * margin, 130),
            listView(IDC_LIST, 0, 0, 10, 10, true),
            statusBar(IDC_STATUS, true),
        };
        createControls(hwnd(), controls);
        for (const char* caption : {"Hard drive", "Registry", "Win.ini"}) tabs().addTab(caption);
        list().addColumn("Name", 110);
        list().addColumn("Size", 60, Align::Right);
        list().addColumn("Sort key", 0);
        list().setFullRowSelect(true);
        layOut();
    }

    void onSize(int, int) override { layOut(); }

    std::optional<LRESULT> onNotify(const NMHDR& header) override {
        if (tabs().isSelectionChange(header)) tabChanges.push_back(tabs().current());
        if (list().isHiddenColumnResize(header)) return TRUE;
        return std::nullopt;
    }

    std::optional<LRESULT> onMessage(UINT msg, WPARAM wp, LPARAM lp) override {
        if (msg == WM_COUNTED) {
            ++counted;
            return 0;
        }
        return Window::onMessage(msg, wp, lp);
    }

    void onCommand(int id, int, HWND) override {
        if (id != IDC_SCAN) return;
        ++commands;
        if (throwOnCommand) throw std::runtime_error("handler failed");
    }

    void onClose() override { stop.request(); }

private:
    void layOut() const {
        if (!status() || !list()) return;
        status().fit();
        status().setPanels(panelWidths);
        const RECT page = tabs().pageArea();
        list().move(page.left, page.top, page.right - page.left, page.bottom - page.top);
    }
};

struct Row {
    const char* name;
    const char* size;
    const char* key;
};
constexpr std::array rows{
    Row{"setup.log", "2KB", "000000002"}, Row{"app.exe", "2MB", "000002048"}, Row{"Readme.txt", "1KB", "000000001"},
    Row{"data.bin", "1GB", "001048576"}, Row{"App.dll", "2KB", "000000002"},
};

class UiToolkit : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(initCommonControls());
        ASSERT_TRUE(window.open()) << "the test window did not appear";
        ASSERT_TRUE(pumpUntil([&] { return IsWindowVisible(window.hwnd()) != FALSE; }));
    }

    void TearDown() override {
        // QUILLON_UI_SHOWCASE_MS=n keeps the filled window on screen for a screenshot.
        if (const char* hold = std::getenv("QUILLON_UI_SHOWCASE_MS")) {
            fill();
            window.status().setText(0, "Ready");
            pumpUntil([] { return false; }, static_cast<DWORD>(std::atoi(hold)));
        }
        drainQuit();
    }

    void fill() {
        const ListView list = window.list();
        list.clear();
        for (const Row& row : rows) list.addRow({row.name, row.size, row.key});
    }

    std::vector<std::string> names() const {
        std::vector<std::string> result;
        for (int i = 0; i < window.list().count(); ++i) result.push_back(window.list().text(i));
        return result;
    }

    TestWindow window;
};

TEST_F(UiToolkit, ListHoldsRowsWithTheirSubItems) {
    fill();
    const ListView list = window.list();
    ASSERT_EQ(list.count(), 5);
    EXPECT_EQ(list.columnCount(), 3);
    EXPECT_EQ(list.columnWidth(2), 0) << "the sort-key column must stay hidden";
    EXPECT_GT(list.columnWidth(0), 0);
    for (int i = 0; i < 5; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(list.text(i, 0), rows[static_cast<size_t>(i)].name);
        EXPECT_EQ(list.text(i, 1), rows[static_cast<size_t>(i)].size);
        EXPECT_EQ(list.text(i, 2), rows[static_cast<size_t>(i)].key);
    }
    const std::string longText(1000, 'x');  // longer than the first read buffer
    list.setText(4, 1, longText);
    EXPECT_EQ(list.text(4, 1), longText);
    list.deleteRow(0);
    EXPECT_EQ(list.count(), 4);
    EXPECT_EQ(list.text(0), "app.exe");
}

TEST_F(UiToolkit, RowsShowImagesOfASmallImageListTheListDoesNotOwn) {
    win32::ImageListHandle images(ImageList_Create(16, 16, ILC_COLOR32 | ILC_MASK, 2, 0));
    ASSERT_TRUE(images);
    for (LPCSTR icon : {IDI_APPLICATION, IDI_WINLOGO}) ImageList_AddIcon(images.get(), LoadIconA(nullptr, icon));
    ASSERT_EQ(ImageList_GetImageCount(images.get()), 2);
    const ListView list = window.list();
    EXPECT_EQ(list.setSmallImages(images.get()), nullptr);
    const int row = list.addRow({"setup.log", "2KB"}, 1);
    EXPECT_EQ(list.imageIndex(row), 1);
    list.setImageIndex(row, 0);
    EXPECT_EQ(list.imageIndex(row), 0);
    DestroyWindow(window.hwnd());
    EXPECT_EQ(ImageList_GetImageCount(images.get()), 2) << "the list destroyed an image list it does not own";
}

TEST_F(UiToolkit, SelectionFollowsSelectAllAndInvert) {
    fill();
    const ListView list = window.list();
    struct Step {
        const char* what;
        void (*apply)(const ListView&);
        std::vector<int> selected;
    };
    const Step steps[] = {
        {"pick 1 and 3",
         [](const ListView& l) {
             l.setSelected(1, true);
             l.setSelected(3, true);
         },
         {1, 3}},
        {"invert", [](const ListView& l) { l.invertSelection(); }, {0, 2, 4}},
        {"select all", [](const ListView& l) { l.selectAll(); }, {0, 1, 2, 3, 4}},
        {"invert all", [](const ListView& l) { l.invertSelection(); }, {}},
        {"drop one",
         [](const ListView& l) {
             l.selectAll();
             l.setSelected(2, false);
         },
         {0, 1, 3, 4}},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.what);
        step.apply(list);
        EXPECT_EQ(list.selectedRows(), step.selected);
        EXPECT_EQ(list.selectedCount(), static_cast<int>(step.selected.size()));
        for (int i = 0; i < list.count(); ++i) {
            const bool expected = std::find(step.selected.begin(), step.selected.end(), i) != step.selected.end();
            EXPECT_EQ(list.isSelected(i), expected) << "row " << i;
        }
    }
}

TEST_F(UiToolkit, SortsByTheTextOfAColumnBothWays) {
    struct Case {
        int column;
        SortOrder order;
        std::vector<std::string> names;
    };
    // Case is ignored; equal keys (setup.log, App.dll) keep the order they had before.
    const Case cases[] = {
        {0, SortOrder::Ascending, {"App.dll", "app.exe", "data.bin", "Readme.txt", "setup.log"}},
        {0, SortOrder::Descending, {"setup.log", "Readme.txt", "data.bin", "app.exe", "App.dll"}},
        {2, SortOrder::Ascending, {"Readme.txt", "setup.log", "App.dll", "app.exe", "data.bin"}},
        {2, SortOrder::Descending, {"data.bin", "app.exe", "setup.log", "App.dll", "Readme.txt"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "column " << c.column
                                        << (c.order == SortOrder::Ascending ? " up" : " down"));
        fill();
        window.list().sortByColumn(c.column, c.order);
        EXPECT_EQ(names(), c.names);
        for (int i = 0; i < window.list().count(); ++i) {  // sub-items travel with their row
            const std::string name = window.list().text(i);
            for (const Row& row : rows) {
                if (name == row.name) {
                    EXPECT_EQ(window.list().text(i, 2), row.key) << name;
                }
            }
        }
    }
}

TEST_F(UiToolkit, StatusBarPanelsHoldTheirTexts) {
    const StatusBar bar = window.status();
    ASSERT_EQ(bar.panelCount(), 3);
    const char* texts[] = {"Ready", "12/06/2024", "18:02"};
    for (int i = 0; i < 3; ++i) bar.setText(i, texts[i]);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(bar.text(i), texts[i]) << "panel " << i;

    // The filling panel takes what the fixed ones leave; the last reaches the right edge.
    std::array<int, 3> edges{};
    SendMessageA(bar.hwnd(), SB_GETPARTS, edges.size(), reinterpret_cast<LPARAM>(edges.data()));
    RECT client{};
    GetClientRect(bar.hwnd(), &client);
    EXPECT_EQ(edges[0], client.right - 150);
    EXPECT_EQ(edges[1], client.right - 60);
    EXPECT_TRUE(edges[2] == -1 || edges[2] >= client.right) << edges[2];

    bar.setSimple(true);
    bar.setSimpleText("Scanning for unused DLL files...");
    bar.setSimple(false);
    EXPECT_EQ(bar.text(0), "Ready") << "the simple text must not overwrite the panels";
}

TEST_F(UiToolkit, StatusHelpShowsTheTextOfTheControlUnderTheMouse) {
    StatusHelp help(window.status(), 0);
    help.add(IDC_SCAN, "Scan the chosen drive");
    help.add(IDC_DRIVES, "Choose which drive to scan");
    help.setIdleText("");
    window.useStatusHelp(&help);
    window.status().setText(0, "Ready");

    auto mouseOver = [&](HWND under) {
        SendMessageA(window.hwnd(), WM_SETCURSOR, reinterpret_cast<WPARAM>(under), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    };
    struct Step {
        const char* what;
        HWND under;
        bool enabled;
        const char* panel;
    };
    const Step steps[] = {
        {"button", window.item(IDC_SCAN), true, "Scan the chosen drive"},
        {"control without a text keeps the panel", window.item(IDC_LIST), true, "Scan the chosen drive"},
        {"drive box", window.item(IDC_DRIVES), true, "Choose which drive to scan"},
        {"the window itself", window.hwnd(), true, ""},
        {"while switched off", window.item(IDC_SCAN), false, ""},
        {"on again", window.item(IDC_SCAN), true, "Scan the chosen drive"},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.what);
        help.setEnabled(step.enabled);
        mouseOver(step.under);
        EXPECT_EQ(window.status().text(0), step.panel);
    }
    help.showFor(IDC_DRIVES);
    EXPECT_EQ(window.status().text(0), "Choose which drive to scan");
    window.useStatusHelp(nullptr);
}

TEST_F(UiToolkit, EveryChildUsesTheMessageFontNotTheSystemFont) {
    NONCLIENTMETRICSA metrics{};
    metrics.cbSize = sizeof metrics;
    ASSERT_TRUE(SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0));
    const HFONT font = window.font();
    LOGFONTA chosen{};
    ASSERT_TRUE(GetObjectA(font, sizeof chosen, &chosen));
    EXPECT_STREQ(chosen.lfFaceName, metrics.lfMessageFont.lfFaceName);
    EXPECT_EQ(chosen.lfHeight, metrics.lfMessageFont.lfHeight);

    for (int id : {IDC_DRIVE_LABEL, IDC_DRIVES, IDC_SCAN, IDC_TABS, IDC_LIST, IDC_STATUS}) {
        const auto childFont = reinterpret_cast<HFONT>(SendMessageA(window.item(id), WM_GETFONT, 0, 0));
        EXPECT_EQ(childFont, font) << "control " << id;
    }
    // The client area has the size asked for in dialog units of that font.
    RECT client{};
    GetClientRect(window.hwnd(), &client);
    const DialogUnits units(font);
    EXPECT_EQ(client.right, units.x(clientWidth));
    EXPECT_EQ(client.bottom, units.y(clientHeight));
}

TEST_F(UiToolkit, TabsKeepCaptionsAndReportAClickedTab) {
    const TabControl tabs = window.tabs();
    ASSERT_EQ(tabs.count(), 3);
    EXPECT_EQ(tabs.caption(1), "Registry");
    tabs.setCaption(1, " Setup Detection");
    EXPECT_EQ(tabs.caption(1), " Setup Detection");
    EXPECT_EQ(tabs.current(), 0);

    RECT third{};
    ASSERT_TRUE(SendMessageA(tabs.hwnd(), TCM_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&third)));
    const LPARAM at = MAKELPARAM((third.left + third.right) / 2, (third.top + third.bottom) / 2);
    PostMessageA(tabs.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageA(tabs.hwnd(), WM_LBUTTONUP, 0, at);
    ASSERT_TRUE(pumpUntil([&] { return !window.tabChanges.empty(); })) << "no selection change was reported";
    EXPECT_EQ(window.tabChanges, std::vector<int>{2});

    tabs.setCurrent(0);
    EXPECT_EQ(tabs.current(), 0);
    tabs.removeTab(2);
    EXPECT_EQ(tabs.count(), 2);
}

TEST_F(UiToolkit, DropDownListSelectsByIndexAndExactText) {
    const ComboBox drives = window.drives();
    for (const char* entry : {"(C:) SYSTEM", "(D:) DATA", "Local hard drives (C:,D:)"}) drives.add(entry);
    EXPECT_EQ(drives.count(), 3);
    EXPECT_EQ(drives.selected(), -1);
    EXPECT_EQ(drives.selectedText(), "");
    struct Case {
        const char* text;
        int index;
    };
    for (const Case& c : {Case{"(D:) DATA", 1}, Case{"(d:) data", -1}, Case{"Local hard drives (C:,D:)", 2},
                          Case{"C:\\", -1}}) {
        EXPECT_EQ(drives.find(c.text), c.index) << c.text;
    }
    drives.select(2);
    EXPECT_EQ(drives.selected(), 2);
    EXPECT_EQ(drives.selectedText(), "Local hard drives (C:,D:)");
    drives.clear();
    EXPECT_EQ(drives.count(), 0);
}

TEST_F(UiToolkit, ProgressBarKeepsRangeAndPositionBeyondSixteenBits) {
    const ProgressBar bar = window.progress();
    bar.setRange(0, 100000);
    bar.setPosition(70000);
    EXPECT_EQ(bar.minimum(), 0);
    EXPECT_EQ(bar.maximum(), 100000);
    EXPECT_EQ(bar.position(), 70000);
}

TEST_F(UiToolkit, UpDownShowsItsPositionInTheBoxBesideIt) {
    const UpDown days = window.days();
    days.setRange(1, 31);
    struct Case {
        int set;
        int position;
        const char* shown;
    };
    for (const Case& c : {Case{3, 3, "3"}, Case{31, 31, "31"}, Case{45, 31, "31"}, Case{0, 1, "1"}}) {
        days.setPosition(c.set);
        EXPECT_EQ(days.position(), c.position) << c.set;
        EXPECT_EQ(Edit(window.hwnd(), IDC_DAYS).text(), c.shown) << c.set;
    }
}

TEST_F(UiToolkit, AnimationRefusesAMissingClip) {
    const Animation clip(window.hwnd(), IDC_CLIP);
    ASSERT_TRUE(clip);
    EXPECT_FALSE(clip.open("C:\\no such folder\\scan.avi"));
    clip.close();
}

TEST_F(UiToolkit, HandlerExceptionsStayInsideTheThunk) {
    window.throwOnCommand = true;
    SendMessageA(window.hwnd(), WM_COMMAND, MAKEWPARAM(IDC_SCAN, BN_CLICKED), 0);
    window.throwOnCommand = false;
    SendMessageA(window.hwnd(), WM_COMMAND, MAKEWPARAM(IDC_SCAN, BN_CLICKED), 0);
    EXPECT_EQ(window.commands, 2) << "the window must go on handling messages after a failed handler";
    EXPECT_TRUE(IsWindow(window.hwnd()));
}

TEST_F(UiToolkit, WaitCursorHoldsTheHourglassOverItsWindow) {
    const HCURSOR wait = LoadCursorA(nullptr, IDC_WAIT);
    auto mouseOver = [&] {
        return SendMessageA(window.hwnd(), WM_SETCURSOR, reinterpret_cast<WPARAM>(window.hwnd()),
                            MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    };
    {
        const WaitCursor busy(window);
        SetCursor(LoadCursorA(nullptr, IDC_ARROW));  // as a move over another window would
        EXPECT_TRUE(mouseOver());
        EXPECT_EQ(GetCursor(), wait);
    }
    mouseOver();
    EXPECT_NE(GetCursor(), wait);
}

// --- modal dialogs -------------------------------------------------------------------------

constexpr int IDC_FINISH = 2001;

class FinishDialog final : public Dialog {
public:
    FinishDialog() : Dialog(DialogSpec{"Quillon modal test", 160, 60}) {}
    bool created = false;
    int unitsByFont = 0;
    int unitsByDialog = 0;

protected:
    void onCreate() override {
        using namespace Metrics;
        static constexpr std::array controls{
            label(-1, "Finish with 42?", margin, margin, 100),
            button(IDC_FINISH, "&Finish", margin, 60 - margin - buttonHeight),
            defaultButton(IDOK, "OK", 160 - 2 * (margin + buttonWidth) + margin, 60 - margin - buttonHeight),
            button(IDCANCEL, "Cancel", 160 - margin - buttonWidth, 60 - margin - buttonHeight),
        };
        created = createControls(hwnd(), controls);
        unitsByFont = DialogUnits(font()).x(100);
        unitsByDialog = DialogUnits::of(hwnd()).x(100);
    }
    void onCommand(int id, int code, HWND control) override {
        if (id == IDC_FINISH) {
            endModal(42);
            return;
        }
        Dialog::onCommand(id, code, control);
    }
};

TEST_F(UiToolkit, ModalDialogReturnsItsResultAndGivesTheOwnerBack) {
    struct Case {
        const char* what;
        void (*answer)(HWND);
        int result;
    };
    const Case cases[] = {
        {"own button", [](HWND d) { postClick(d, IDC_FINISH); }, 42},
        {"OK", [](HWND d) { postClick(d, IDOK); }, IDOK},
        {"Escape", [](HWND d) { PostMessageA(GetFocus() ? GetFocus() : d, WM_KEYDOWN, VK_ESCAPE, 0); }, IDCANCEL},
        {"close box", [](HWND d) { PostMessageA(d, WM_CLOSE, 0, 0); }, IDCANCEL},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        FinishDialog dialog;
        bool ownerWasDisabled = false;
        WindowScript script;
        script.when("Quillon modal test", [&](HWND d) {
            ownerWasDisabled = !IsWindowEnabled(window.hwnd());
            c.answer(d);
        });
        script.start();
        const int result = dialog.showModal(window.hwnd());
        EXPECT_TRUE(script.finished()) << script.failure();
        EXPECT_EQ(result, c.result);
        EXPECT_TRUE(dialog.created);
        EXPECT_TRUE(ownerWasDisabled) << "the owner must be disabled while the dialog runs";
        EXPECT_TRUE(IsWindowEnabled(window.hwnd())) << "the owner must be enabled again";
        EXPECT_EQ(GetActiveWindow(), window.hwnd()) << "the owner must be active again";
        EXPECT_EQ(dialog.hwnd(), nullptr) << "the dialog must be gone";
        EXPECT_NEAR(dialog.unitsByFont, dialog.unitsByDialog, 1) << "code layout and dialog manager must agree";
    }
}

TEST_F(UiToolkit, ScriptFailsWhenItsWindowNeverAppears) {
    WindowScript script(200);
    script.when("A window nobody opens", [](HWND) {});
    script.start();
    // The quit the script posts ends this wait just as it would end a modal loop.
    pumpUntil([&] { return !script.failure().empty(); }, 3000);
    EXPECT_FALSE(script.finished());
    EXPECT_EQ(script.failure(), "window \"A window nobody opens\" did not appear");
    MSG quit;
    EXPECT_TRUE(PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE)) << "the script must end the loop";
}

// --- the message pump ----------------------------------------------------------------------

TEST_F(UiToolkit, CloseHandledDuringYieldIsSeenAtTheNextItem) {
    MessagePump pump(window.stop, window.hwnd());
    PostMessageA(window.hwnd(), WM_CLOSE, 0, 0);
    int item = 0;
    int stoppedAt = -1;
    const DWORD start = GetTickCount();
    for (; GetTickCount() - start < 2000; ++item) {
        pump.yield();
        if (pump.stopRequested()) {
            stoppedAt = item;
            break;
        }
    }
    ASSERT_NE(stoppedAt, -1) << "the close was never handled";
    EXPECT_TRUE(IsWindow(window.hwnd())) << "closing a running window only asks it to stop";
}

TEST_F(UiToolkit, PumpLooksAtTheQueueOnlyEveryFifteenMilliseconds) {
    std::uint32_t now = 1000;
    MessagePump pump(window.stop, nullptr, [&] { return now; });
    struct Step {
        std::uint32_t tick;
        bool post;
        int counted;
    };
    const Step steps[] = {
        {1000, true, 1},   // the first yield always looks
        {1001, true, 1},   // too soon: the message waits
        {1014, false, 1},  //
        {1015, false, 2},  // 15 ms after the last look
        {1016, true, 2},   //
        {1040, false, 3},  // a late look takes what waited
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.tick);
        if (step.post) PostMessageA(window.hwnd(), WM_COUNTED, 0, 0);
        now = step.tick;
        pump.yield();
        EXPECT_EQ(window.counted, step.counted);
    }
}

TEST(PumpThrottle, CountsAcrossTheTickCounterWrap) {
    struct Step {
        std::uint32_t tick;
        bool due;
    };
    const Step steps[] = {{0xFFFFFFF0u, true}, {0xFFFFFFFEu, false}, {0xFFFFFFFFu, true},
                          {0x0000000Du, false}, {0x0000000Eu, true}};
    PumpThrottle throttle;
    for (const Step& step : steps) EXPECT_EQ(throttle.due(step.tick), step.due) << std::hex << step.tick;
}

TEST_F(UiToolkit, YieldIsCheapEnoughForEveryLineOfAFile) {
    MessagePump pump(window.stop, window.hwnd());
    const DWORD start = GetTickCount();
    for (int line = 0; line < 300000; ++line) pump.yield();
    // Looking at the queue every time would take about 9 s here.
    EXPECT_LT(GetTickCount() - start, 1500u);
}

TEST_F(UiToolkit, QuitDuringYieldStopsAndIsKeptForTheProgramsLoop) {
    MessagePump pump(window.stop, nullptr);
    PostQuitMessage(7);
    pump.pumpNow();
    EXPECT_TRUE(pump.stopRequested());
    MSG quit{};
    ASSERT_TRUE(PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(quit.wParam, 7u);
}

}  // namespace
}  // namespace quillon::ui
