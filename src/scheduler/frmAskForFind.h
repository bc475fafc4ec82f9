#pragma once
// The question after an installation: find the changes it made now?
#include "scheduler/frmSetupQuestion.h"

namespace quillon::scheduler {

class frmAskForFind final : public frmSetupQuestion {
public:
    explicit frmAskForFind(Desktop& desktop);

    // Shows the question modally; true on Yes.
    bool ask(HWND owner);
};

}  // namespace quillon::scheduler
