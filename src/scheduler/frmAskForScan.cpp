#include "scheduler/frmAskForScan.h"

#include <array>

#include "ui/Control.h"

namespace quillon::scheduler {

namespace {

using Q = frmSetupQuestion;
constexpr int ButtonsTop = 90;

constexpr std::array<ui::ControlSpec, 6> Controls{{
    Q::text(IDC_ASK_LBLMESSAGE,
            "Quillon has detected that you are about to install a program on your computer. It is recommended "
            "that you update your scan database first before proceeding with the installation.",
            7, 34),
    Q::text(IDC_ASK_LBLCONTINUE, "Do you want to update the scan database now?", 46),
    Q::check(IDC_ASK_CHKIGNORETHIS, "Ignore this particular Setup only", 60),
    Q::check(IDC_ASK_CHKNOASK, "Turn off Automatic Setup Detection", 73),
    Q::yes(ButtonsTop),
    Q::no(ButtonsTop),
}};

}  // namespace

frmAskForScan::frmAskForScan(Desktop& desktop)
    : frmSetupQuestion(heightFor(ButtonsTop), Controls, desktop) {}

ScanAnswer frmAskForScan::ask(HWND owner) {
    answer_ = {};
    answer_.update = showModal(owner) == IDC_ASK_CMDYES;
    return answer_;
}

// The check boxes outlive their parent's WM_DESTROY, whichever way the dialog ends.
void frmAskForScan::onDestroy() {
    answer_.ignoreThisSetup = ui::Button(hwnd(), IDC_ASK_CHKIGNORETHIS).isChecked();
    answer_.turnOffDetection = ui::Button(hwnd(), IDC_ASK_CHKNOASK).isChecked();
}

}  // namespace quillon::scheduler
