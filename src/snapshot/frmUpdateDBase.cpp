#include "snapshot/frmUpdateDBase.h"

#include <array>

#include "app/resource.h"
#include "ui/Control.h"
#include "ui/Layout.h"
#include "ui/WaitCursor.h"

namespace quillon::snapshot {

namespace {

constexpr UINT_PTR StartTimer = 1;
constexpr int W = 260;

constexpr std::array<ui::ControlSpec, 3> Controls{{
    ui::label(IDC_UPDATE_LBLCURRENTDIR, "", 7, 10, W - 14, 20),
    ui::label(IDC_UPDATE_LBLOVER, "The scan database has been updated", 7, 36, W - 14),
    ui::defaultButton(IDC_UPDATE_CMDOK, "OK", (W - 50) / 2, 54),
}};

ui::DialogSpec windowLayout() {
    ui::DialogSpec layout;
    layout.title = "Updating database...";
    layout.width = W;
    layout.height = 76;
    return layout;
}

}  // namespace

frmUpdateDBase::frmUpdateDBase(Ports& ports, std::string driveToken, UpdateFolders folders,
                               std::function<void()> driveCompleted)
    : Dialog(windowLayout()),
      ports_(ports),
      driveToken_(std::move(driveToken)),
      folders_(std::move(folders)),
      driveCompleted_(std::move(driveCompleted)) {}

void frmUpdateDBase::onCreate() {
    ui::createControls(hwnd(), Controls);
    // The label shows paths: cut them at the end rather than wrapping into the next line.
    SetWindowLongPtrW(item(IDC_UPDATE_LBLCURRENTDIR), GWL_STYLE,
                      GetWindowLongPtrW(item(IDC_UPDATE_LBLCURRENTDIR), GWL_STYLE) | SS_PATHELLIPSIS);
    ui::Control(hwnd(), IDC_UPDATE_LBLOVER).show(false);
    ui::Control(hwnd(), IDC_UPDATE_CMDOK).show(false);
    stop_.clear();
    SetTimer(hwnd(), StartTimer, 1000, nullptr);
}

void frmUpdateDBase::onTimer(UINT_PTR id) {
    if (id != StartTimer) return;
    KillTimer(hwnd(), StartTimer);
    runUpdate();
}

void frmUpdateDBase::runUpdate() {
    running_ = true;
    {
        ui::WaitCursor hourglass(*this);
        ui::MessagePump pump(stop_, hwnd());
        UpdatePorts ports{ports_.registry, ports_.files, ports_.shell, ports_.prompter, pump};
        outcome_ = runUpdateDatabase(ports, *this, driveToken_, folders_);
    }
    running_ = false;
    if (outcome_ == UpdateOutcome::Completed) {
        showCompletion();
    } else {
        endModal(IDCANCEL);
    }
}

void frmUpdateDBase::showCompletion() {
    ports_.desktop.beep();
    setTitle("Scan complete");
    ui::Control(hwnd(), IDC_UPDATE_LBLCURRENTDIR).setText("");
    ui::Control(hwnd(), IDC_UPDATE_LBLOVER).show(true);
    const ui::Control ok(hwnd(), IDC_UPDATE_CMDOK);
    ok.show(true);
    ok.focus();
}

void frmUpdateDBase::onCommand(int id, int code, HWND control) {
    if (id == IDC_UPDATE_CMDOK || id == IDOK) {
        if (!running_) endModal(IDOK);
        return;
    }
    if (id == IDCANCEL) {
        onClose();
        return;
    }
    Dialog::onCommand(id, code, control);
}

void frmUpdateDBase::onClose() {
    if (!running_) {
        endModal(IDCANCEL);
        return;
    }
    // The run notices the flag at its next folder or key, cleans up and ends the window.
    stop_.request();
    ShowWindow(hwnd(), SW_HIDE);
}

void frmUpdateDBase::showStep(std::string_view text) { ui::Control(hwnd(), IDC_UPDATE_LBLCURRENTDIR).setText(text); }

void frmUpdateDBase::showFolder(std::string_view folder) {
    if (folderThrottle_.due(GetTickCount())) showStep(folder);
}

void frmUpdateDBase::driveCompleted() {
    if (driveCompleted_) driveCompleted_();
}

}  // namespace quillon::snapshot
