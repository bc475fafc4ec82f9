// The question before a shared DLL is deleted, shown modally over an owner and answered by
// posted clicks and keys while it waits.
#include <gtest/gtest.h>

#include <string>

#include "UiDriver.h"
#include "app/resource.h"
#include "review/frmInUseDLL.h"
#include "ui/CommonControls.h"
#include "ui/Control.h"
#include "ui/Window.h"

namespace quillon::review {
namespace {

constexpr const char* DllPath = "C:\\Program Files\\NewApp\\Shared Parts\\newapp32.dll";

class OwnerWindow final : public ui::Window {
public:
    bool open() {
        ui::WindowSpec desc;
        desc.className = "QuillonInUseDllOwner";
        desc.title = "Quillon in-use owner";
        desc.clientWidth = 200;
        desc.clientHeight = 80;
        if (!create(desc)) return false;
        ShowWindow(hwnd(), SW_SHOW);
        return true;
    }
};

// What the window showed when it appeared.
struct Seen {
    std::string message;
    std::string deleteText, deleteAllText, skipText;
    HICON icon = nullptr;
    HWND owner = nullptr;
    int focused = 0;
    bool ownerDisabled = false;
};

Seen look(HWND prompt, HWND owner) {
    Seen seen;
    seen.message = ui::Control(prompt, IDC_INUSE_LBLMSG).text();
    seen.deleteText = ui::Control(prompt, IDC_INUSE_CMDDELETE).text();
    seen.deleteAllText = ui::Control(prompt, IDC_INUSE_CMDDELETEALL).text();
    seen.skipText = ui::Control(prompt, IDC_INUSE_CMDSKIP).text();
    seen.icon = reinterpret_cast<HICON>(SendDlgItemMessageA(prompt, IDC_INUSE_IMGWARNING, STM_GETICON, 0, 0));
    seen.owner = GetWindow(prompt, GW_OWNER);
    seen.focused = GetDlgCtrlID(GetFocus());
    seen.ownerDisabled = !IsWindowEnabled(owner);
    return seen;
}

void pressKey(UINT key) {
    PostMessageA(GetFocus(), WM_KEYDOWN, key, 0);
    PostMessageA(GetFocus(), WM_KEYUP, key, 0xC0000000);
}

class InUseDll : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(ui::initCommonControls());
        ASSERT_TRUE(owner.open()) << "the owner window did not appear";
        ASSERT_TRUE(uitest::pumpUntil([&] { return GetActiveWindow() == owner.hwnd(); }))
            << "the owner never became active";
    }
    void TearDown() override { uitest::drainQuit(); }

    OwnerWindow owner;
};

TEST_F(InUseDll, EachButtonGivesItsAnswerAndEveryOtherWayOutSkips) {
    struct Case {
        const char* what;
        void (*answer)(HWND);
        InUseAnswer expected;
    };
    const Case cases[] = {
        {"Delete", [](HWND d) { uitest::postClick(d, IDC_INUSE_CMDDELETE); }, InUseAnswer::Delete},
        {"Delete All", [](HWND d) { uitest::postClick(d, IDC_INUSE_CMDDELETEALL); }, InUseAnswer::DeleteAll},
        {"Skip", [](HWND d) { uitest::postClick(d, IDC_INUSE_CMDSKIP); }, InUseAnswer::Skip},
        {"close box", [](HWND d) { PostMessageA(d, WM_SYSCOMMAND, SC_CLOSE, 0); }, InUseAnswer::Skip},
        {"Esc", [](HWND) { pressKey(VK_ESCAPE); }, InUseAnswer::Skip},
        {"Enter", [](HWND) { pressKey(VK_RETURN); }, InUseAnswer::Skip},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Seen seen;
        uitest::WindowScript script;
        script.when("DLL file in use", [&](HWND prompt) {
            seen = look(prompt, owner.hwnd());
            c.answer(prompt);
        });
        script.start();
        InUseDllPrompt prompt(owner.hwnd());
        const InUseAnswer answer = prompt.ask(DllPath);
        ASSERT_TRUE(script.finished()) << script.failure();
        EXPECT_EQ(answer, c.expected);

        EXPECT_EQ(seen.message, std::string("The DLL file ") + DllPath +
                                    " may be in use by other applications. Delete it?");
        EXPECT_EQ(seen.deleteText, "&Delete");
        EXPECT_EQ(seen.deleteAllText, "Delete &All");
        EXPECT_EQ(seen.skipText, "&Skip");
        EXPECT_EQ(seen.icon, LoadIconA(nullptr, IDI_WARNING)) << "the warning picture";
        EXPECT_EQ(seen.owner, owner.hwnd());
        EXPECT_TRUE(seen.ownerDisabled) << "modal over its owner";
        EXPECT_EQ(seen.focused, IDC_INUSE_CMDSKIP) << "Enter must not delete";
        EXPECT_TRUE(IsWindowEnabled(owner.hwnd())) << "the owner gets its input back";
        EXPECT_EQ(uitest::findThreadWindow("DLL file in use"), nullptr) << "the prompt is gone";
    }
}

TEST_F(InUseDll, AskedWithoutOwnerItStillShowsAndAnswers) {
    bool ownerless = false;
    uitest::WindowScript script;
    script.when("DLL file in use", [&](HWND prompt) {
        ownerless = GetWindow(prompt, GW_OWNER) == nullptr;
        uitest::postClick(prompt, IDC_INUSE_CMDDELETEALL);
    });
    script.start();
    InUseDllPrompt prompt(nullptr);
    EXPECT_EQ(prompt.ask(DllPath), InUseAnswer::DeleteAll);
    ASSERT_TRUE(script.finished()) << script.failure();
    EXPECT_TRUE(ownerless);
    EXPECT_TRUE(IsWindowEnabled(owner.hwnd())) << "an unrelated window is left alone";
}

}  // namespace
}  // namespace quillon::review
