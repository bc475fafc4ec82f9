// The question before an installation, driven in-process: topmost, and its boxes count however it closes.
#include <gtest/gtest.h>

#include <tuple>

#include "UiDriver.h"
#include "scheduler/frmAskForScan.h"
#include "support/FakeDesktop.h"

namespace quillon::scheduler {
namespace {

TEST(SetupQuestions, TheScanQuestionIsTopmostAndLeavesItsBoxesWhicheverWayItCloses) {
    struct Row { int box; int button; bool update, ignore, turnOff; };  // button 0: closed by its close box
    const Row rows[] = {{IDC_ASK_CHKIGNORETHIS, IDC_ASK_CMDNO, false, true, false},
                        {IDC_ASK_CHKNOASK, IDC_ASK_CMDYES, true, false, true},
                        {IDC_ASK_CHKNOASK, 0, false, false, true}};
    fakes::FakeDesktop desktop;
    uitest::OwnerWindow owner;
    ASSERT_TRUE(owner.open());
    for (const Row& r : rows) {
        bool topmost = false;
        uitest::WindowScript script;
        script.when(frmSetupQuestion::Caption, [&](HWND dialog) {
            topmost = (GetWindowLongA(dialog, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
            SendDlgItemMessageA(dialog, r.box, BM_CLICK, 0, 0);
            r.button ? uitest::postClick(dialog, r.button) : static_cast<void>(PostMessageA(dialog, WM_CLOSE, 0, 0));
        });
        script.start();
        const ScanAnswer a = frmAskForScan(desktop).ask(owner.hwnd());
        EXPECT_TRUE(script.finished() && topmost) << script.failure();
        EXPECT_EQ(std::tuple(a.update, a.ignoreThisSetup, a.turnOffDetection), std::tuple(r.update, r.ignore, r.turnOff));
    }
}

}  // namespace
}  // namespace quillon::scheduler
