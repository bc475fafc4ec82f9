#include "Probe.h"

#include <cstdlib>

namespace quillon::probe {

std::string programPath() {
    const char* path = std::getenv("QUILLON_PROGRAM");
    return path ? path : "C:\\Program Files\\Quillon\\Quillon.exe";
}

win32::KernelHandle startProgram(std::string_view arguments) {
    const std::string program = programPath();
    std::string commandLine = "\"" + program + "\"";
    if (!arguments.empty()) commandLine += " " + std::string(arguments);
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessA(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        return {};
    CloseHandle(pi.hThread);
    return win32::KernelHandle(pi.hProcess);
}

HWND waitForWindow(const char* className, const char* title, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < timeoutMs) {
        if (HWND w = FindWindowA(className, title); w && IsWindowVisible(w)) return w;
        Sleep(50);
    }
    return nullptr;
}

}  // namespace quillon::probe
