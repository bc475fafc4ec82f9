#include "Probe.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <utility>
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

namespace {

// Memory in the list's process: the list writes its texts there, not into ours.
class RemoteBuffer {
public:
    RemoteBuffer(HANDLE process, SIZE_T size)
        : process_(process), address_(VirtualAllocEx(process, nullptr, size, MEM_COMMIT, PAGE_READWRITE)) {}
    ~RemoteBuffer() {
        if (address_) VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
    }
    RemoteBuffer(const RemoteBuffer&) = delete;
    RemoteBuffer& operator=(const RemoteBuffer&) = delete;
    char* get() const { return static_cast<char*>(address_); }

private:
    HANDLE process_;
    void* address_;
};

using WindowMatch = std::function<bool(HWND)>;

BOOL CALLBACK matchWindow(HWND window, LPARAM lp) {
    auto* search = reinterpret_cast<std::pair<const WindowMatch*, HWND>*>(lp);
    if (!(*search->first)(window)) return TRUE;
    search->second = window;
    return FALSE;
}

// The first window the match accepts: top-level windows when `parent` is null, else every
// window below `parent`. A match that never accepts visits them all.
HWND firstWindow(HWND parent, const WindowMatch& match) {
    std::pair<const WindowMatch*, HWND> search{&match, nullptr};
    if (parent) {
        EnumChildWindows(parent, matchWindow, reinterpret_cast<LPARAM>(&search));
    } else {
        EnumWindows(matchWindow, reinterpret_cast<LPARAM>(&search));
    }
    return search.second;
}

}  // namespace

std::vector<std::vector<std::string>> listViewRows(HWND list, int columns) {
    std::vector<std::vector<std::string>> rows;
    DWORD processId = 0;
    GetWindowThreadProcessId(list, &processId);
    const win32::KernelHandle process(
        OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, processId));
    if (!process) return rows;
    constexpr SIZE_T TextSize = 1024;
    const RemoteBuffer remote(process.get(), sizeof(LVITEMA) + TextSize);
    if (!remote.get()) return rows;
    const int count = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
    for (int row = 0; row < count; ++row) {
        std::vector<std::string> texts;
        for (int column = 0; column < columns; ++column) {
            LVITEMA item{};
            item.iSubItem = column;
            item.pszText = remote.get() + sizeof(LVITEMA);
            item.cchTextMax = static_cast<int>(TextSize);
            char text[TextSize] = {};
            SIZE_T moved = 0;
            WriteProcessMemory(process.get(), remote.get(), &item, sizeof item, &moved);
            SendMessageA(list, LVM_GETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(remote.get()));
            ReadProcessMemory(process.get(), remote.get() + sizeof(LVITEMA), text, TextSize - 1, &moved);
            texts.emplace_back(text);
        }
        rows.push_back(std::move(texts));
    }
    return rows;
}

HWND descendant(HWND parent, int id) {
    return firstWindow(parent, [id](HWND child) { return GetDlgCtrlID(child) == id; });
}

std::string fileText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string windowText(HWND window) {
    char text[1024] = {};
    DWORD_PTR copied = 0;
    // A window that hangs must not hang the probe.
    if (!SendMessageTimeoutA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 5000,
                             &copied))
        return {};
    return std::string(text, std::min<std::size_t>(copied, sizeof text - 1));
}

HWND findProcessWindow(DWORD processId, const char* title, int controlId) {
    return firstWindow(nullptr, [&](HWND window) {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        return owner == processId && IsWindowVisible(window) && (!title || windowText(window) == title) &&
               (!controlId || descendant(window, controlId));
    });
}

HWND waitForProcessWindow(DWORD processId, const char* title, int controlId, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < timeoutMs) {
        if (HWND w = findProcessWindow(processId, title, controlId)) return w;
        Sleep(50);
    }
    return nullptr;
}

std::string describeProcessWindows(DWORD processId) {
    std::string text;
    firstWindow(nullptr, [&](HWND window) {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner != processId || !IsWindowVisible(window)) return false;
        text += "[" + windowText(window) + "]";
        firstWindow(window, [&](HWND child) {
            char className[64] = {};
            GetClassNameA(child, className, sizeof className);
            if (std::string_view(className) == "Static" || std::string_view(className) == "Button")
                text += " \"" + windowText(child) + "\"";
            return false;
        });
        text += "\n";
        return false;
    });
    return text.empty() ? "no visible window" : text;
}

HWND childWithText(HWND parent, const char* className, const char* text) {
    return firstWindow(parent, [&](HWND child) {
        char name[64] = {};
        GetClassNameA(child, name, sizeof name);
        return (!className || lstrcmpiA(name, className) == 0) && windowText(child) == text;
    });
}

bool waitForEnd(HANDLE process, DWORD timeoutMs) { return WaitForSingleObject(process, timeoutMs) == WAIT_OBJECT_0; }

}  // namespace quillon::probe
