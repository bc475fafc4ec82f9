// Entry point of the scheduler. Until its tray window exists it shows a small window whose
// menu opens the about box.
#include <windows.h>

#include <array>
#include <exception>

#include "app/Win32Platform.h"
#include "app/resource.h"
#include "shell/frmAboutProgram.h"
#include "ui/CommonControls.h"
#include "ui/Menu.h"
#include "ui/MessagePump.h"
#include "ui/Window.h"

namespace {

constexpr int IdAbout = 1;
constexpr int IdExit = 2;

class SchedulerWindow final : public quillon::ui::Window {
public:
    explicit SchedulerWindow(quillon::Shell& shell) : shell_(shell) {}

    bool open(int show) {
        static constexpr std::array<quillon::ui::MenuItemSpec, 3> menu{
            {{0, 0, "&Help"}, {1, IdAbout, "&About Quillon Scheduler..."}, {1, IdExit, "E&xit"}}};
        quillon::ui::WindowSpec window;
        window.className = "QuillonSchedulerWindow";
        window.title = "Quillon Scheduler";
        window.style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
        window.clientWidth = 200;
        window.clientHeight = 60;
        window.menu = quillon::ui::buildMenuBar(menu).release();
        window.icon = LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_QUILLON));
        if (!create(window)) return false;
        ShowWindow(hwnd(), show);
        return true;
    }

private:
    void onCommand(int id, int code, HWND control) override {
        if (id == IdAbout) {
            quillon::shell::frmAboutProgram about(shell_);
            about.showModal(hwnd());
        } else if (id == IdExit) {
            DestroyWindow(hwnd());
        } else {
            Window::onCommand(id, code, control);
        }
    }
    void onDestroy() override { PostQuitMessage(0); }

    quillon::Shell& shell_;
};

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int show) {
    try {
        quillon::ui::initCommonControls();
        quillon::app::Win32Platform platform;
        SchedulerWindow window(platform.ports().shell);
        if (!window.open(show)) return 1;
        return quillon::ui::runMessageLoop();
    } catch (const std::exception&) {
        return 1;
    }
}
