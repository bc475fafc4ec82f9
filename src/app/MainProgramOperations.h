#pragma once
// Opens the window of each operation the main program starts. Each window arrives with the
// subsystem that owns it; until then its entry returns at once.
#include <windows.h>

#include <functional>

#include "platform/Ports.h"
#include "shell/MainOperations.h"
#include "shell/MainStartUp.h"

namespace quillon::app {

class MainProgramOperations final : public shell::MainOperations {
public:
    MainProgramOperations(Ports& ports, shell::MainState& state) : ports_(ports), state_(state) {}
    // The window that owns the operations' windows (none while the program runs unattended),
    // and its refresh of the last-scanned sentence.
    void setOwner(HWND owner, std::function<void()> refreshLastScanned) {
        owner_ = owner;
        refreshLastScanned_ = std::move(refreshLastScanned);
    }

    void updateDatabase() override;         // frmUpdateDBase
    void findChanges() override;            // frmFindingChanges
    void reviewRemovalList() override;      // a removal list reviewed in frmFoundChanges, written back at its close
    void uninstallFromDataFile(const std::string& removalList, bool fromCommandLine) override;
    void systemCleanUp() override;          // frmSysCleanUp
    void options() override;                // frmOptions
    bool canUndoRemoval() override;
    void undoLastRemoval() override;

private:
    void handOverToViewer(HWND owner);

    Ports& ports_;
    shell::MainState& state_;
    HWND owner_ = nullptr;
    std::function<void()> refreshLastScanned_;
};

}  // namespace quillon::app
