#pragma once
// The question before an installation: update the scan database first? With the choices to
// pass over this setup program for good and to turn detection off.
#include "scheduler/SetupQuestions.h"
#include "scheduler/frmSetupQuestion.h"

namespace quillon::scheduler {

class frmAskForScan final : public frmSetupQuestion {
public:
    explicit frmAskForScan(Desktop& desktop);

    // Shows the question modally; the check boxes count however it was closed.
    ScanAnswer ask(HWND owner);

private:
    void onDestroy() override;

    ScanAnswer answer_;
};

}  // namespace quillon::scheduler
