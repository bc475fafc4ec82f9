// The real questions: message boxes, the input box, the folder browser, the file dialogs and the
// question before a shared DLL is deleted, each answered by posted clicks and keys while it waits.
#include <gtest/gtest.h>

#include <fstream>
#include <optional>
#include <string>

#include "UiDriver.h"
#include "app/resource.h"
#include "review/frmInUseDLL.h"
#include "ui/CommonControls.h"
#include "ui/Control.h"
#include "ui/InputBox.h"
#include "ui/Layout.h"
#include "ui/Win32Prompter.h"

namespace quillon::ui {
namespace {

using uitest::postClick;
using uitest::WindowScript;
using Answer = void (*)(HWND);

void pressKey(UINT key) {
    PostMessageA(GetFocus(), WM_KEYDOWN, key, 0);
    PostMessageA(GetFocus(), WM_KEYUP, key, 0xC0000000);
}

class UiPrompter : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(initCommonControls());
        ASSERT_TRUE(owner.open()) << "the owner window did not appear";
        ASSERT_TRUE(uitest::pumpUntil([&] { return GetActiveWindow() == owner.hwnd(); })) << "the owner is not active";
    }
    void TearDown() override { uitest::drainQuit(); }

    uitest::OwnerWindow owner;
    Win32Prompter prompter;
};

TEST_F(UiPrompter, MessageBoxShowsTheRequestOverTheActiveWindowAndReturnsTheClickedButton) {
    const MessageRequest request{"Delete the selected files?", "Quillon message test", MsgIcon::Exclamation,
                                 MsgButtons::YesNoCancel, 3};
    std::string texts = "\n";
    HICON icon = nullptr;
    HWND boxOwner = nullptr;
    int focused = 0;
    WindowScript script;
    script.when(request.title, [&](HWND box) {
        for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
            texts += windowText(child) + "\n";
            if ((GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON)
                icon = reinterpret_cast<HICON>(SendMessageA(child, STM_GETICON, 0, 0));
        }
        boxOwner = GetWindow(box, GW_OWNER);
        focused = GetDlgCtrlID(GetFocus());  // the default button starts with the focus
        postClick(box, IDNO);
    });
    script.start();
    EXPECT_EQ(prompter.message(request), MsgAnswer::No);
    ASSERT_TRUE(script.finished()) << script.failure();
    EXPECT_NE(texts.find("\n" + request.text + "\n"), std::string::npos) << texts;
    EXPECT_EQ(boxOwner, owner.hwnd());
    EXPECT_EQ(focused, IDCANCEL) << "the third button is the default";
    EXPECT_EQ(icon, LoadIconA(nullptr, IDI_EXCLAMATION));
}

TEST_F(UiPrompter, InputBoxReturnsTheTypedTextOnlyWhenConfirmed) {
    struct Case {
        const char* typed;  // null: the proposal stays
        Answer finish;
        std::optional<std::string> answer;
    };
    for (const Case& c : {Case{"My program", [](HWND d) { postClick(d, IDOK); }, "My program"},
                          Case{nullptr, [](HWND d) { postClick(d, IDOK); }, "Removal list 1"},
                          Case{"ignored", [](HWND d) { postClick(d, IDCANCEL); }, std::nullopt},
                          Case{"ignored", [](HWND d) { PostMessageA(d, WM_CLOSE, 0, 0); }, std::nullopt}}) {
        SCOPED_TRACE(c.answer.value_or("(no answer)"));
        std::string seen;
        WindowScript script;
        script.when("Quillon input test", [&](HWND box) {
            seen = windowText(GetDlgItem(box, InputBox::promptId)) + "|" + windowText(GetDlgItem(box, InputBox::editId)) +
                   (GetFocus() == GetDlgItem(box, InputBox::editId) ? "|typing goes to the box" : "") +
                   (IsWindowEnabled(owner.hwnd()) ? "" : "|modal");
            if (c.typed) SetDlgItemTextA(box, InputBox::editId, c.typed);
            c.finish(box);
        });
        script.start();
        EXPECT_EQ(prompter.inputBox("Name of the removal list:", "Quillon input test", "Removal list 1"), c.answer);
        ASSERT_TRUE(script.finished()) << script.failure();
        EXPECT_EQ(seen, "Name of the removal list:|Removal list 1|typing goes to the box|modal");
        EXPECT_TRUE(IsWindowEnabled(owner.hwnd()));
    }
}

TEST_F(UiPrompter, FileDialogsGiveWhatWasChosenAndAskBeforeReplacing) {
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    const std::string folder = std::string(temp) + "QuillonUiPrompterTest";
    CreateDirectoryA(folder.c_str(), nullptr);
    DeleteFileA((folder + "\\list.qdf").c_str());
    const FileDialogRequest request{"Quillon file test", "Removal lists (*.qdf)|*.qdf|All files|*.*", folder, "", "qdf"};
    const Answer typeList = [](HWND d) {  // into cmb13, or edt1 in the older layout
        if (!SetDlgItemTextA(d, 0x47c, "list")) SetDlgItemTextA(d, 0x480, "list");
        postClick(d, IDOK);
    };
    bool replaceAsked = false;
    WindowScript script;
    // The second time the file exists: the question comes with the same title, the dialog disabled.
    script.when(request.title, typeList).when(request.title, typeList).when(request.title, [&](HWND box) {
        replaceAsked = GetDlgItem(box, IDYES) != nullptr;  // a question, not the next dialog
        postClick(box, IDYES);
    });
    script.when(request.title, [](HWND d) { postClick(d, IDCANCEL); });
    script.start();
    EXPECT_EQ(prompter.saveFile(request), folder + "\\list.qdf") << "the extension is added";
    ASSERT_TRUE(std::ofstream(folder + "\\list.qdf") << "list");
    EXPECT_EQ(prompter.saveFile(request), folder + "\\list.qdf");
    EXPECT_TRUE(replaceAsked);
    EXPECT_EQ(prompter.openFile(request), std::nullopt);
    EXPECT_TRUE(script.finished()) << script.failure();
    DeleteFileA((folder + "\\list.qdf").c_str());
}

TEST_F(UiPrompter, DllInUseQuestionDeletesOnlyOnItsButtonsAndSkipsOnEveryOtherWayOut) {
    using review::InUseAnswer;
    struct Case {
        Answer answer;
        InUseAnswer expected;
        bool owned = true;
    };
    for (const Case& c : {Case{[](HWND d) { postClick(d, IDC_INUSE_CMDDELETE); }, InUseAnswer::Delete},
                          Case{[](HWND d) { postClick(d, IDC_INUSE_CMDDELETEALL); }, InUseAnswer::DeleteAll},
                          Case{[](HWND d) { postClick(d, IDC_INUSE_CMDSKIP); }, InUseAnswer::Skip},
                          Case{[](HWND d) { PostMessageA(d, WM_SYSCOMMAND, SC_CLOSE, 0); }, InUseAnswer::Skip},
                          Case{[](HWND) { pressKey(VK_ESCAPE); }, InUseAnswer::Skip},
                          Case{[](HWND) { pressKey(VK_RETURN); }, InUseAnswer::Skip},
                          Case{[](HWND d) { postClick(d, IDC_INUSE_CMDDELETEALL); }, InUseAnswer::DeleteAll, false}}) {
        SCOPED_TRACE(static_cast<int>(c.expected));
        std::string seen;
        HWND promptOwner = nullptr;
        WindowScript script;
        script.when("DLL file in use", [&](HWND prompt) {
            seen = Control(prompt, IDC_INUSE_LBLMSG).text() + "|" + Control(prompt, IDC_INUSE_CMDDELETEALL).text() +
                   (GetDlgCtrlID(GetFocus()) == IDC_INUSE_CMDSKIP ? "|Skip focused" : "") +
                   (IsWindowEnabled(owner.hwnd()) ? "" : "|modal");
            // The layout in code and the dialog manager agree on the dialog units.
            const auto font = reinterpret_cast<HFONT>(SendMessageA(prompt, WM_GETFONT, 0, 0));
            EXPECT_NEAR(DialogUnits(font).x(100), DialogUnits::of(prompt).x(100), 1);
            EXPECT_EQ(reinterpret_cast<HICON>(SendDlgItemMessageA(prompt, IDC_INUSE_IMGWARNING, STM_GETICON, 0, 0)),
                      LoadIconA(nullptr, IDI_WARNING));
            promptOwner = GetWindow(prompt, GW_OWNER);
            c.answer(prompt);
        });
        script.start();
        EXPECT_EQ(review::InUseDllPrompt(c.owned ? owner.hwnd() : nullptr).ask("C:\\Shared Parts\\newapp32.dll"), c.expected);
        ASSERT_TRUE(script.finished()) << script.failure();
        EXPECT_EQ(seen, std::string("The DLL file C:\\Shared Parts\\newapp32.dll may be in use by other applications. "
                                    "Delete it?|Delete &All|Skip focused") + (c.owned ? "|modal" : ""));
        EXPECT_EQ(promptOwner, c.owned ? owner.hwnd() : nullptr);
        EXPECT_TRUE(IsWindowEnabled(owner.hwnd())) << "the owner gets its input back";
        EXPECT_EQ(uitest::findThreadWindow("DLL file in use"), nullptr) << "the prompt is gone";
    }
}

}  // namespace
}  // namespace quillon::ui
