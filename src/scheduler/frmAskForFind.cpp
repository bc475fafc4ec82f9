#include "scheduler/frmAskForFind.h"

#include <array>

namespace quillon::scheduler {

namespace {

using Q = frmSetupQuestion;
constexpr int ButtonsTop = 62;

constexpr std::array<ui::ControlSpec, 4> Controls{{
    Q::text(IDC_ASK_LBLMESSAGE,
            "Quillon has detected that you have finished installing a program on your computer. It is "
            "recommended that you find changes made by the installation program on your PC.",
            7, 34),
    Q::text(IDC_ASK_LBLCONTINUE, "Do you want to find changes now?", 46),
    Q::yes(ButtonsTop),
    Q::no(ButtonsTop),
}};

}  // namespace

frmAskForFind::frmAskForFind(Desktop& desktop)
    : frmSetupQuestion(heightFor(ButtonsTop), Controls, desktop) {}

bool frmAskForFind::ask(HWND owner) { return showModal(owner) == IDC_ASK_CMDYES; }

}  // namespace quillon::scheduler
