#include "detection/frmFindingChanges.h"

#include <algorithm>
#include <array>

#include "app/resource.h"
#include "ui/Layout.h"
#include "ui/ProgressBar.h"
#include "ui/WaitCursor.h"

namespace quillon::detection {

namespace {

constexpr UINT_PTR StartTimer = 1;
constexpr int W = 240;

constexpr std::array<ui::ControlSpec, 2> Controls{{
    ui::label(IDC_FINDING_LBLSCANNING, "Please wait. Scanning for files added or changed...", 7, 10, W - 14),
    ui::progressBar(IDC_FINDING_PRGFINDING, 7, 28, W - 14),
}};

ui::DialogSpec windowLayout() {
    ui::DialogSpec layout;
    layout.title = "Finding changes...";
    layout.width = W;
    layout.height = 48;
    return layout;
}

}  // namespace

frmFindingChanges::frmFindingChanges(Ports& ports, std::string driveToken, FindFolders folders,
                                     ChangesHandOver handOver)
    : Dialog(windowLayout()),
      ports_(ports),
      driveToken_(std::move(driveToken)),
      folders_(std::move(folders)),
      handOver_(std::move(handOver)) {}

void frmFindingChanges::onCreate() {
    ui::createControls(hwnd(), Controls);
    maximum_ = 100;
    position_ = 0;
    ui::ProgressBar(hwnd(), IDC_FINDING_PRGFINDING).setRange(0, maximum_);
    stop_.clear();
    SetTimer(hwnd(), StartTimer, 1000, nullptr);
}

void frmFindingChanges::onTimer(UINT_PTR id) {
    if (id != StartTimer) return;
    KillTimer(hwnd(), StartTimer);
    runFindChanges();
}

void frmFindingChanges::runFindChanges() {
    running_ = true;
    {
        ui::WaitCursor hourglass(*this);
        ui::MessagePump pump(stop_, hwnd());
        FindPorts ports{ports_.registry, ports_.files, ports_.shell, ports_.prompter, pump};
        outcome_ = findChanges(ports, *this, driveToken_, folders_);
    }
    running_ = false;
    if (outcome_ == FindOutcome::Completed && handOver_) {
        ShowWindow(hwnd(), SW_HIDE);
        handOver_(GetWindow(hwnd(), GW_OWNER));
    }
    endModal(outcome_ == FindOutcome::Completed ? IDOK : IDCANCEL);
}

void frmFindingChanges::onCommand(int id, int code, HWND control) {
    if (id == IDCANCEL) {
        onClose();
        return;
    }
    Dialog::onCommand(id, code, control);
}

void frmFindingChanges::onClose() {
    if (!running_) {
        endModal(IDCANCEL);
        return;
    }
    // The run notices the flag at its next folder, line or key, deletes its files and ends.
    stop_.request();
    ShowWindow(hwnd(), SW_HIDE);
}

void frmFindingChanges::setMaximum(int maximum) {
    maximum_ = maximum;
    position_ = std::clamp(position_, 0, maximum_);
    ui::ProgressBar(hwnd(), IDC_FINDING_PRGFINDING).setRange(0, maximum);
}

void frmFindingChanges::setValue(int value) {
    position_ = std::clamp(value, 0, maximum_);
    showPosition();
}

void frmFindingChanges::advance(int by) {
    position_ = std::clamp(position_ + by, 0, maximum_);
    if (barThrottle_.due(GetTickCount())) showPosition();
}

void frmFindingChanges::showPosition() const { ui::ProgressBar(hwnd(), IDC_FINDING_PRGFINDING).setPosition(position_); }

}  // namespace quillon::detection
