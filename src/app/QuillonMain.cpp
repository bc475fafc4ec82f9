// Entry point of the main program.
#include <windows.h>

#include <exception>
#include <string>

#include "app/MainProgramOperations.h"
#include "app/Win32Platform.h"
#include "platform/win32/Utf.h"
#include "shell/MainStartUp.h"
#include "shell/frmMain.h"
#include "ui/CommonControls.h"
#include "ui/MessagePump.h"

namespace {

// What follows the program's own name on the command line, read in UTF-16 so that a path given
// there keeps characters outside the code page. The name ends at its closing quote, or else at
// the first blank (the rule the startup code applies for WinMain's narrow command line).
std::string commandTail() {
    const wchar_t* p = GetCommandLineW();
    if (p == nullptr) return {};
    if (*p == L'"') {
        ++p;
        while (*p != L'\0' && *p != L'"') ++p;
        if (*p == L'"') ++p;
    } else {
        while (*p != L'\0' && *p != L' ' && *p != L'\t') ++p;
    }
    while (*p == L' ' || *p == L'\t') ++p;
    return quillon::win32::utf8(p);
}

}  // namespace

// The narrow command line WinMain gets is ignored: commandTail() reads the wide one.
int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int show) {
    using namespace quillon;
    try {
        ui::initCommonControls();
        app::Win32Platform platform;
        Ports& ports = platform.ports();
        shell::MainState state;
        app::MainProgramOperations operations(ports, state);
        shell::StartUpPorts startUpPorts{ports.registry, ports.files, ports.shell, ports.desktop, ports.clock};
        shell::startMainProgram(startUpPorts, commandTail(), operations, state);
        if (state.endProgram) return 0;

        shell::frmMain main(ports, operations, state);
        if (!main.open(show)) return 1;
        operations.setOwner(main.hwnd(), [&main] { main.refreshLastScanned(); });
        return ui::runMessageLoop();
    } catch (const std::exception&) {
        return 1;
    }
}
