#pragma once
// The progress window of "Update database": shows the folder or step at hand, runs the
// update once it has appeared, and ends with the completion display or closes on a cancel.
#include <windows.h>

#include <functional>
#include <string>

#include "platform/Desktop.h"
#include "platform/Ports.h"
#include "snapshot/UpdateDatabase.h"
#include "ui/Dialog.h"
#include "ui/MessagePump.h"

namespace quillon::snapshot {

class frmUpdateDBase final : public ui::Dialog, private UpdateProgress {
public:
    // driveCompleted: the main window's refresh of its last-scanned sentence (may be empty).
    frmUpdateDBase(Ports& ports, std::string driveToken, UpdateFolders folders,
                   std::function<void()> driveCompleted);

    // Set after the window has closed.
    UpdateOutcome outcome() const noexcept { return outcome_; }

private:
    void onCreate() override;
    void onTimer(UINT_PTR id) override;
    void onCommand(int id, int code, HWND control) override;
    void onClose() override;

    void showStep(std::string_view text) override;
    void showFolder(std::string_view folder) override;
    void driveCompleted() override;

    void runUpdate();
    void showCompletion();

    Ports& ports_;
    std::string driveToken_;
    UpdateFolders folders_;
    std::function<void()> driveCompleted_;
    // A drive of 50,000 folders would set the label 50,000 times, a second of the update under Wine.
    ui::PumpThrottle folderThrottle_;
    ui::StopFlag stop_;
    bool running_ = false;
    UpdateOutcome outcome_ = UpdateOutcome::Cancelled;
};

}  // namespace quillon::snapshot
