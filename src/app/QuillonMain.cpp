// Entry point of the main program.
#include <windows.h>

#include <exception>
#include <string>

#include "app/MainProgramOperations.h"
#include "app/Win32Platform.h"
#include "platform/win32/CommandLineSplit.h"
#include "platform/win32/Utf.h"
#include "shell/MainStartUp.h"
#include "shell/frmMain.h"
#include "ui/CommonControls.h"
#include "ui/MessagePump.h"

namespace {

// What follows the program's own name on the command line, read in UTF-16 so that a path given
// there keeps characters outside the code page.
std::string commandTail() {
    const wchar_t* line = GetCommandLineW();
    return line ? quillon::win32::utf8(quillon::win32::splitCommandLine(line).parameters) : std::string();
}

// A 32-bit program on 64-bit Windows reads HKLM\Software through WOW6432Node and System32 as
// SysWOW64, so it misses what 64-bit installers write; the user is told before relying on it.
void warnWhenUnderWow64() {
    BOOL wow64 = FALSE;
    if (!IsWow64Process(GetCurrentProcess(), &wow64) || !wow64) return;
    MessageBoxW(nullptr,
                L"This is the 32-bit Quillon, running on 64-bit Windows. It sees only part of the system: "
                L"Windows shows it HKEY_LOCAL_MACHINE\\Software\\WOW6432Node in place of "
                L"HKEY_LOCAL_MACHINE\\Software, and SysWOW64 in place of System32, so it misses what "
                L"64-bit installers write.\n\nPlease install the 64-bit Quillon (the \"win64\" installer or "
                L"zip) and use that one.",
                L"Quillon", MB_OK | MB_ICONWARNING);
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
        warnWhenUnderWow64();

        shell::frmMain main(ports, operations, state);
        if (!main.open(show)) return 1;
        operations.setOwner(main.hwnd(), [&main] { main.refreshLastScanned(); });
        return ui::runMessageLoop();
    } catch (const std::exception&) {
        return 1;
    }
}
