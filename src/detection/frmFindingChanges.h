#pragma once
// The progress window of "Find changes": runs the checks and the run once it has appeared,
// then hands the changes over to the viewer. Closing it stops the run.
#include <windows.h>

#include <functional>
#include <string>

#include "detection/RunFindChanges.h"
#include "platform/Ports.h"
#include "ui/Dialog.h"
#include "ui/MessagePump.h"

namespace quillon::detection {

// Shows the changes files of the work folder, modally, owned by the given window.
using ChangesHandOver = std::function<void(HWND owner)>;

class frmFindingChanges final : public ui::Dialog, private FindProgress {
public:
    frmFindingChanges(Ports& ports, std::string driveToken, FindFolders folders, ChangesHandOver handOver);

    // Set after the window has closed.
    FindOutcome outcome() const noexcept { return outcome_; }

private:
    void onCreate() override;
    void onTimer(UINT_PTR id) override;
    void onCommand(int id, int code, HWND control) override;
    void onClose() override;

    void setMaximum(int maximum) override;
    void setValue(int value) override;
    void advance(int by) override;

    void runFindChanges();
    void showPosition() const;

    Ports& ports_;
    std::string driveToken_;
    FindFolders folders_;
    ChangesHandOver handOver_;
    ui::StopFlag stop_;
    bool running_ = false;
    FindOutcome outcome_ = FindOutcome::Stopped;
    // The bar's range and place kept here: the comparison advances it at every folder, and under
    // Wine each repaint of the bar costs most of a millisecond, so it is redrawn only now and then.
    int maximum_ = 100;
    int position_ = 0;
    ui::PumpThrottle barThrottle_;
};

}  // namespace quillon::detection
