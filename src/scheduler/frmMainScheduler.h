#pragma once
// The scheduler's hidden window "Quillon Scheduler (never displayed)": the notification-area
// icon with its popup menu, the timer of setup detection, whose questions it shows, and the
// timer of the scheduled tasks.
#include <windows.h>

#include <string>

#include "platform/win32/Handles.h"
#include "scheduler/ScheduledTasks.h"
#include "scheduler/SchedulerStartUp.h"
#include "scheduler/SetupDetection.h"
#include "scheduler/TaskSchedule.h"
#include "ui/TrayIcon.h"
#include "ui/Window.h"

namespace quillon::scheduler {

class frmMainScheduler final : public ui::Window, private SetupQuestions {
public:
    static constexpr const char* Caption = "Quillon Scheduler (never displayed)";
    static constexpr const char* TrayTip = "Quillon Scheduler";
    // Icon events arrive as this message of the window's own.
    static constexpr UINT TrayMessage = WM_APP + 1;

    frmMainScheduler(const SchedulerPorts& ports, const SchedulerStart& start, ScheduledTasks& tasks);

    // Creates the window (never shown), adds the icon and starts detection.
    bool open();

private:
    std::optional<LRESULT> onMessage(UINT msg, WPARAM wp, LPARAM lp) override;
    void onCreate() override;
    void onCommand(int id, int code, HWND control) override;
    void onTimer(UINT_PTR id) override;
    void onDestroy() override;

    ScanAnswer askForScan() override;
    bool askForFind() override;

    void onTrayEvent(UINT mouseMessage);
    void showIconAgain();
    void showPopupMenu();
    // Sets the window's timer and the menu's check mark to what detection says.
    void follow();

    SchedulerPorts ports_;
    std::string programFolder_;
    std::string dataFolder_;
    SetupDetection detection_;
    bool detectionOnAtStart_;
    ScheduledTasks& tasks_;
    TaskSchedule schedule_;
    win32::MenuHandle popup_;
    win32::IconHandle icon_;
    ui::TrayIcon tray_;
    UINT taskbarCreated_ = 0;
    int armedMs_ = 0;  // the interval the window's timer runs at; 0: stopped
};

}  // namespace quillon::scheduler
