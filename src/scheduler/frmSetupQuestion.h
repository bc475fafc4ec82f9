#pragma once
// What both questions of setup detection share: made from a control table, they put themselves
// above every window and beep when they appear, and end with Yes or No (IDYES, IDNO).
#include <span>

#include "platform/Desktop.h"
#include "scheduler/frmSchedulerIds.h"
#include "ui/Dialog.h"
#include "ui/Layout.h"

namespace quillon::scheduler {

class frmSetupQuestion : public ui::Dialog {
public:
    static constexpr const char* Caption = "Quillon Setup detect";
    static constexpr int Width = 260;

    // A text across the dialog.
    static constexpr ui::ControlSpec text(int id, const char* text, int top, int height = ui::Metrics::labelHeight) {
        return ui::label(id, text, ui::Metrics::margin, top, Width - 2 * ui::Metrics::margin, height);
    }
    static constexpr ui::ControlSpec check(int id, const char* text, int top) {
        return ui::checkBox(id, text, ui::Metrics::margin, top, Width - 2 * ui::Metrics::margin);
    }
    static constexpr ui::ControlSpec yes(int top) {
        return ui::defaultButton(IDC_ASK_CMDYES, "&Yes",
                                 Width - ui::Metrics::margin - 2 * ui::Metrics::buttonWidth - ui::Metrics::gap, top);
    }
    static constexpr ui::ControlSpec no(int top) {
        return ui::button(IDC_ASK_CMDNO, "&No", Width - ui::Metrics::margin - ui::Metrics::buttonWidth, top);
    }
    // The dialog's height for buttons at that top.
    static constexpr int heightFor(int buttonsTop) { return buttonsTop + ui::Metrics::buttonHeight + ui::Metrics::margin; }

protected:
    frmSetupQuestion(int height, std::span<const ui::ControlSpec> controls, Desktop& desktop);

    void onCreate() override;
    void onCommand(int id, int code, HWND control) override;

private:
    std::span<const ui::ControlSpec> controls_;
    Desktop& desktop_;
};

}  // namespace quillon::scheduler
