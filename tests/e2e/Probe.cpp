#include "Probe.h"

#include <cstdlib>
#include <fstream>
#include <sstream>

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

bool updateDatabase(std::string& failure) {
    const win32::KernelHandle process = startProgram("\\u");
    if (!process) {
        failure = "could not start " + programPath();
        return false;
    }
    HWND done = waitForWindow(nullptr, "Scan complete", 120000);
    HWND ok = done ? FindWindowExA(done, nullptr, "Button", "OK") : nullptr;
    if (!ok || !IsWindowVisible(ok) || !FindWindowExA(done, nullptr, "Static", "The scan database has been updated")) {
        TerminateProcess(process.get(), 1);
        failure = "the completion display of \\u never appeared";
        return false;
    }
    PostMessageA(ok, BM_CLICK, 0, 0);
    if (WaitForSingleObject(process.get(), 10000) != WAIT_OBJECT_0) {
        failure = "the program did not end after OK";
        return false;
    }
    return true;
}

std::string fileText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

}  // namespace quillon::probe
