// The window toolkit as the system runs it: the message pump, a failing handler, menus, and the real
// questions (message boxes, the input box, the save dialog, the shared DLL's), answered while they wait.
#include <gtest/gtest.h>

#include <fstream>
#include <optional>
#include <stdexcept>
#include <string>
#include <tuple>
#include <vector>

#include "UiDriver.h"
#include "app/resource.h"
#include "review/frmInUseDLL.h"
#include "ui/CommonControls.h"
#include "ui/InputBox.h"
#include "ui/Menu.h"
#include "ui/Win32Prompter.h"

namespace quillon::ui {
namespace {

using uitest::postClick;
using uitest::WindowScript;
using Answer = void (*)(HWND);

// The questions' owner; its command handler throws.
class TestWindow final : public Window {
public:
    TestWindow() {
        WindowSpec desc;
        desc.className = "QuillonToolkitTest";
        desc.title = "Quillon toolkit test";
        create(desc);
    }
    int commands = 0;

protected:
    void onCommand(int, int, HWND) override {
        ++commands;
        throw std::runtime_error("handler failed");
    }
};

TEST(UiToolkit, PumpKeepsAQuitForTheProgramsLoopAndAFailingHandlerStaysInsideTheThunk) {
    StopFlag stop;
    MessagePump pump(stop);
    PostQuitMessage(7);
    pump.pumpNow();
    EXPECT_TRUE(pump.stopRequested());
    MSG quit{};
    ASSERT_TRUE(PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) << "kept for the program's loop";
    EXPECT_EQ(quit.wParam, 7u);

    TestWindow window;
    ASSERT_NE(window.hwnd(), nullptr);
    for (int i = 0; i < 2; ++i) SendMessageA(window.hwnd(), WM_COMMAND, MAKEWPARAM(1, BN_CLICKED), 0);
    EXPECT_EQ(window.commands, 2) << "an exception must stay inside the thunk";
}

// The program's own menu is built and hidden in place in the main window's test.
TEST(UiMenu, ATableSkippingALevelIsRefusedAndHiddenEntriesComeBackInPlaceWithWhatTheyCarried) {
    enum : int { ID_NAME1 = 101, ID_NAME2, ID_NAME3 };
    const MenuItemSpec skipsALevel[] = {{0, 0, "&Help"}, {1, 0, "On"}, {3, ID_NAME1, "Web"}};
    EXPECT_FALSE(buildMenuBar(skipsALevel));

    const win32::MenuHandle bar = buildMenuBar(std::vector<MenuItemSpec>{
        {0, 0, "&Uninstall"}, {1, ID_NAME1, "1st"}, {1, ID_NAME2, "2nd"}, {1, ID_NAME3, "3rd"}});
    ASSERT_TRUE(bar);
    const Menu menu(bar.get());
    const Menu entries(menu.subMenu(0));
    menu.enable(ID_NAME1, false);
    MenuVisibility visibility(menu.subMenu(0));
    // One entry hidden or shown at each step (the same twice changes nothing more), then the entries.
    const std::tuple<int, bool, std::vector<int>> steps[] = {
        {ID_NAME2, false, {ID_NAME1, ID_NAME3}}, {ID_NAME1, false, {ID_NAME3}}, {ID_NAME1, false, {ID_NAME3}},
        {ID_NAME2, true, {ID_NAME2, ID_NAME3}},  {ID_NAME3, false, {ID_NAME2}}, {ID_NAME1, true, {ID_NAME1, ID_NAME2}}};
    for (const auto& [id, visible, shown] : steps) {
        visibility.setVisible(id, visible);
        std::vector<int> ids;
        for (int i = 0; i < entries.count(); ++i) ids.push_back(entries.idAt(i));
        EXPECT_EQ(ids, shown) << id << (visible ? " shown" : " hidden");
    }
    EXPECT_EQ(menu.text(ID_NAME1), "1st");
    EXPECT_FALSE(menu.isEnabled(ID_NAME1)) << "a hidden entry comes back with what it carried";
}

void pressKey(UINT key) {
    PostMessageA(GetFocus(), WM_KEYDOWN, key, 0);
    PostMessageA(GetFocus(), WM_KEYUP, key, 0xC0000000);
}

class UiPrompter : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(initCommonControls());
        ShowWindow(owner.hwnd(), SW_SHOW);
        ASSERT_TRUE(uitest::pumpUntil([&] { return GetActiveWindow() == owner.hwnd(); })) << "the owner is not active";
    }
    void TearDown() override { uitest::drainQuit(); }

    TestWindow owner;
    Win32Prompter prompter;
};

// A message box, then the save dialog and its question before a file is replaced.
TEST_F(UiPrompter, QuestionsShowTheRequestOverTheActiveWindowAndGiveWhatWasChosen) {
    const MessageRequest request{"Delete Отчёт.txt, 日本語のファイル.doc and photo \U0001F600.jpg?", "Quillon message test",
                                 MsgIcon::Exclamation, MsgButtons::YesNoCancel, 3};
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    const std::string file = std::string(temp) + "QuillonReplaceTest.qdf";
    ASSERT_TRUE(std::ofstream(file) << "list");
    const FileDialogRequest save{"Quillon file test", "Removal lists (*.qdf)|*.qdf|All files|*.*", temp, "", "qdf"};
    WindowScript script;
    script.when(request.title, [&](HWND box) {
        EXPECT_EQ(windowText(GetDlgItem(box, 0xFFFF)), request.text);  // a message box's static text
        EXPECT_EQ(GetWindow(box, GW_OWNER), owner.hwnd());
        EXPECT_EQ(GetDlgCtrlID(GetFocus()), IDCANCEL) << "the third button is the default: it starts with the focus";
        postClick(box, IDNO);
    });
    script.when(save.title, [](HWND d) {  // into cmb13, or edt1 in the older layout
        if (!SetDlgItemTextA(d, 0x47c, "QuillonReplaceTest")) SetDlgItemTextA(d, 0x480, "QuillonReplaceTest");
        postClick(d, IDOK);
    });
    // The question comes with the dialog's title: it is answered once it, not the dialog, is found.
    const auto asked = [&] { return GetDlgItem(uitest::findThreadWindow(save.title), IDYES) != nullptr; };
    script.when(save.title, [](HWND box) { postClick(box, IDYES); }, asked);
    script.start();
    ASSERT_EQ(prompter.message(request), MsgAnswer::No) << script.failure();
    EXPECT_EQ(prompter.saveFile(save), file) << "with the extension added";
    EXPECT_TRUE(script.finished()) << script.failure();
    DeleteFileA(file.c_str());
}

TEST_F(UiPrompter, InputBoxReturnsTheTypedTextOnlyWhenConfirmed) {
    struct Case { Answer finish; std::optional<std::string> answer; };
    for (const Case& c : {Case{[](HWND d) { postClick(d, IDOK); }, "My program"},
                          Case{[](HWND d) { postClick(d, IDCANCEL); }, std::nullopt},
                          Case{[](HWND d) { PostMessageA(d, WM_CLOSE, 0, 0); }, std::nullopt}}) {
        SCOPED_TRACE(c.answer.value_or("(no answer)"));
        std::string seen;
        WindowScript script;
        script.when("Quillon input test", [&](HWND box) {
            seen = windowText(GetDlgItem(box, InputBox::promptId)) + "|" + windowText(GetDlgItem(box, InputBox::editId)) +
                   (GetFocus() == GetDlgItem(box, InputBox::editId) ? "|typing goes to the box" : "") +
                   (IsWindowEnabled(owner.hwnd()) ? "" : "|modal");
            SetDlgItemTextA(box, InputBox::editId, "My program");
            c.finish(box);
        });
        script.start();
        EXPECT_EQ(prompter.inputBox("Name of the removal list:", "Quillon input test", "Removal list 1"), c.answer);
        ASSERT_TRUE(script.finished()) << script.failure();
        EXPECT_EQ(seen, "Name of the removal list:|Removal list 1|typing goes to the box|modal");
        EXPECT_TRUE(IsWindowEnabled(owner.hwnd()));
    }
}

TEST_F(UiPrompter, DllInUseQuestionDeletesOnlyOnItsButtonsAndSkipsOnEveryOtherWayOut) {
    using review::InUseAnswer;
    struct Case { Answer answer; InUseAnswer expected; bool owned = true; };
    for (const Case& c : {Case{[](HWND d) { postClick(d, IDC_INUSE_CMDDELETE); }, InUseAnswer::Delete},
                          Case{[](HWND d) { postClick(d, IDC_INUSE_CMDDELETEALL); }, InUseAnswer::DeleteAll},
                          Case{[](HWND d) { postClick(d, IDC_INUSE_CMDSKIP); }, InUseAnswer::Skip},
                          Case{[](HWND d) { PostMessageA(d, WM_SYSCOMMAND, SC_CLOSE, 0); }, InUseAnswer::Skip},
                          Case{[](HWND) { pressKey(VK_ESCAPE); }, InUseAnswer::Skip},
                          Case{[](HWND) { pressKey(VK_RETURN); }, InUseAnswer::Skip},
                          Case{[](HWND d) { postClick(d, IDC_INUSE_CMDDELETEALL); }, InUseAnswer::DeleteAll, false}}) {
        SCOPED_TRACE(static_cast<int>(c.expected));
        std::string seen;
        WindowScript script;
        script.when("DLL file in use", [&](HWND prompt) {
            seen = Control(prompt, IDC_INUSE_LBLMSG).text() + "|" + Control(prompt, IDC_INUSE_CMDDELETEALL).text() +
                   (GetDlgCtrlID(GetFocus()) == IDC_INUSE_CMDSKIP ? "|Skip focused" : "") +
                   (GetWindow(prompt, GW_OWNER) == owner.hwnd() && !IsWindowEnabled(owner.hwnd()) ? "|modal" : "");
            c.answer(prompt);
        });
        script.start();
        EXPECT_EQ(review::InUseDllPrompt(c.owned ? owner.hwnd() : nullptr).ask("C:\\Shared Parts\\newapp32.dll"), c.expected);
        ASSERT_TRUE(script.finished()) << script.failure();
        EXPECT_EQ(seen, std::string("The DLL file C:\\Shared Parts\\newapp32.dll may be in use by other applications. "
                                    "Delete it?|Delete &All|Skip focused") + (c.owned ? "|modal" : ""));
        EXPECT_TRUE(IsWindowEnabled(owner.hwnd())) << "the owner gets its input back";
    }
}

}  // namespace
}  // namespace quillon::ui
