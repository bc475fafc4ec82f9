#pragma once
// Opens the window of each operation the main program starts. Each window arrives with the
// subsystem that owns it; until then its entry returns at once.
#include <windows.h>

#include "platform/Ports.h"
#include "shell/MainOperations.h"

namespace quillon::app {

class MainProgramOperations final : public shell::MainOperations {
public:
    explicit MainProgramOperations(Ports& ports) : ports_(ports) {}
    // The window that owns the operations' windows (none while the program runs unattended).
    void setOwner(HWND owner) noexcept { owner_ = owner; }

    void updateDatabase() override;         // frmUpdateDBase
    void findChanges() override;            // frmFindingChanges
    void reviewRemovalList() override;      // the removal-list review in frmFoundChanges
    void uninstallFromDataFile(const std::string& removalList) override;
    void systemCleanUp() override;          // frmSysCleanUp
    void options() override;                // frmOptions

private:
    Ports& ports_;
    HWND owner_ = nullptr;
};

}  // namespace quillon::app
