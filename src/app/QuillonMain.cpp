// Entry point of the main program.
#include <windows.h>

#include <exception>

#include "app/MainProgramOperations.h"
#include "app/Win32Platform.h"
#include "shell/MainStartUp.h"
#include "shell/frmMain.h"
#include "ui/CommonControls.h"
#include "ui/MessagePump.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int show) {
    using namespace quillon;
    try {
        ui::initCommonControls();
        app::Win32Platform platform;
        Ports& ports = platform.ports();
        shell::MainState state;
        app::MainProgramOperations operations(ports, state);
        shell::StartUpPorts startUpPorts{ports.registry, ports.files, ports.shell, ports.desktop, ports.clock};
        shell::startMainProgram(startUpPorts, commandLine ? commandLine : "", operations, state);
        if (state.endProgram) return 0;

        shell::frmMain main(ports, operations, state);
        if (!main.open(show)) return 1;
        operations.setOwner(main.hwnd(), [&main] { main.refreshLastScanned(); });
        return ui::runMessageLoop();
    } catch (const std::exception&) {
        return 1;
    }
}
