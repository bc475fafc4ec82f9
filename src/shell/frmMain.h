#pragma once
// The main program's window: drive list, last-scanned sentence, the operation buttons, the
// menus and the status bar with help texts, date and time.
#include <windows.h>

#include <memory>

#include "platform/Ports.h"
#include "shell/MainOperations.h"
#include "shell/MainStartUp.h"
#include "ui/ComboBox.h"
#include "ui/Menu.h"
#include "ui/StatusBar.h"
#include "ui/StatusHelp.h"
#include "ui/Window.h"

namespace quillon::shell {

class frmMain final : public ui::Window {
public:
    frmMain(Ports& ports, MainOperations& operations, MainState& state);
    bool open(int showCommand);
    // The selection handler: the last-scanned sentence of the selected entry.
    void refreshLastScanned();

private:
    void onCreate() override;
    void onCommand(int id, int code, HWND control) override;
    void onTimer(UINT_PTR id) override;
    void onClose() override;
    void onDestroy() override;
    void onDpiChanged() override;
    void setStatusPanels();
    std::optional<LRESULT> onMessage(UINT msg, WPARAM wp, LPARAM lp) override;

    void fillDrives();
    void showRecentRemovalLists();
    void disableMissingTools();
    void startTool(int menuId);
    void showDateAndTime();
    void openAddress(std::string_view address);

    Ports& ports_;
    MainOperations& operations_;
    MainState& state_;
    ui::ComboBox cmbDrives_;
    ui::StatusBar staFrmMain_;
    ui::StatusHelp help_;
    std::unique_ptr<ui::MenuVisibility> uninstallMenu_;
};

}  // namespace quillon::shell
