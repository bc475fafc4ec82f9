#include "scheduler/frmSetupQuestion.h"

#include "scheduler/frmSchedulerIds.h"

namespace quillon::scheduler {

namespace {

ui::DialogSpec questionLayout(int height) {
    ui::DialogSpec layout;
    layout.title = frmSetupQuestion::Caption;
    layout.width = frmSetupQuestion::Width;
    layout.height = height;
    return layout;
}

}  // namespace

frmSetupQuestion::frmSetupQuestion(int height, std::span<const ui::ControlSpec> controls, Desktop& desktop)
    : Dialog(questionLayout(height)), controls_(controls), desktop_(desktop) {}

void frmSetupQuestion::onCreate() {
    ui::createControls(hwnd(), controls_);
    setDefaultButton(IDC_ASK_CMDYES);
    // After the dialog manager's own choice (the first box), so that Space answers as Enter does.
    PostMessageW(hwnd(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(item(IDC_ASK_CMDYES)), TRUE);
    SetWindowPos(hwnd(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    desktop_.beep();
}

void frmSetupQuestion::onCommand(int id, int code, HWND control) {
    if (id == IDC_ASK_CMDYES || id == IDC_ASK_CMDNO) {
        endModal(id);
        return;
    }
    Dialog::onCommand(id, code, control);
}

}  // namespace quillon::scheduler
