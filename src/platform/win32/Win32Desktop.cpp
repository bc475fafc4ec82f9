#include "platform/win32/Win32Desktop.h"

#include <windows.h>
#include <shellapi.h>
#include <tlhelp32.h>

#include "platform/win32/CommandLineSplit.h"
#include "platform/win32/Conversions.h"
#include "platform/win32/Handles.h"
#include "platform/win32/Utf.h"

namespace quillon::win32 {

namespace {

// Toolhelp snapshots are INVALID_HANDLE_VALUE on failure, as CreateFile handles are.
using SnapshotHandle = FileHandle;

struct WindowCollector {
    std::vector<TopLevelWindow> windows;
};

BOOL CALLBACK collectWindow(HWND hwnd, LPARAM param) noexcept {
    try {
        auto& out = *reinterpret_cast<WindowCollector*>(param);
        TopLevelWindow w;
        w.handle = reinterpret_cast<WindowRef>(hwnd);
        w.visible = IsWindowVisible(hwnd) != FALSE;
        wchar_t text[512];
        const int titleLength = GetWindowTextW(hwnd, text, 512);
        w.title = utf8(std::wstring_view(text, static_cast<std::size_t>(titleLength > 0 ? titleLength : 0)));
        const int classLength = GetClassNameW(hwnd, text, 512);
        w.className = utf8(std::wstring_view(text, static_cast<std::size_t>(classLength > 0 ? classLength : 0)));
        DWORD pid = 0;
        GetWindowThreadProcessId(hwnd, &pid);
        w.processId = pid;
        out.windows.push_back(std::move(w));
        return TRUE;
    } catch (...) {
        return FALSE;
    }
}

// Sleeps until the process ends or a message arrives, and handles the messages, so windows stay
// alive without the thread spinning. The handle is the one the start gave: an id would be
// reused by another process once this one ends.
Status waitHandlingMessages(HANDLE process) {
    for (;;) {
        const DWORD woke = MsgWaitForMultipleObjects(1, &process, FALSE, INFINITE, QS_ALLINPUT);
        if (woke == WAIT_OBJECT_0) return Status::Ok;
        if (woke != WAIT_OBJECT_0 + 1) return lastStatus();
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                PostQuitMessage(static_cast<int>(msg.wParam));
                return Status::Cancelled;
            }
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
}

class MutexToken final : public InstanceToken {
public:
    MutexToken(KernelHandle mutex, bool another) : mutex_(std::move(mutex)), another_(another) {}
    bool anotherWasRunning() const override { return another_; }

private:
    KernelHandle mutex_;
    bool another_;
};

}  // namespace

std::vector<TopLevelWindow> Win32Desktop::topLevelWindows() {
    WindowCollector collector;
    EnumWindows(collectWindow, reinterpret_cast<LPARAM>(&collector));
    return std::move(collector.windows);
}

std::vector<ProcessEntry> Win32Desktop::processes() {
    std::vector<ProcessEntry> out;
    const SnapshotHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot) return out;
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32FirstW(snapshot.get(), &entry); more; more = Process32NextW(snapshot.get(), &entry))
        out.push_back({entry.th32ProcessID, utf8(entry.szExeFile)});
    return out;
}

std::vector<std::string> Win32Desktop::modules(std::uint32_t processId) {
    std::vector<std::string> out;
    SnapshotHandle snapshot;
    // A process that is still loading its modules refuses a snapshot with ERROR_BAD_LENGTH
    // for a moment; a few retries get past it.
    for (int attempt = 0; attempt < 5 && !snapshot; ++attempt) {
        snapshot.reset(CreateToolhelp32Snapshot(TH32CS_SNAPMODULE | TH32CS_SNAPMODULE32, processId));
        if (!snapshot && GetLastError() != ERROR_BAD_LENGTH) break;
    }
    if (!snapshot) return out;
    MODULEENTRY32W entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Module32FirstW(snapshot.get(), &entry); more; more = Module32NextW(snapshot.get(), &entry))
        out.push_back(utf8(entry.szExePath));
    return out;
}

// Through the shell rather than CreateProcess: a program whose manifest asks for administrator
// rights then gets the elevation prompt instead of failing with ERROR_ELEVATION_REQUIRED, and the
// process handle still comes back for the wait.
Status Win32Desktop::startProgram(std::string_view commandLine, bool wait) {
    const std::wstring line = wide(commandLine);
    const SplitCommandLine split = splitCommandLine(line);
    const std::wstring program(split.program);
    const std::wstring parameters(split.parameters);
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;
    info.lpFile = program.c_str();
    info.lpParameters = parameters.empty() ? nullptr : parameters.c_str();
    info.nShow = SW_SHOWNORMAL;
    if (!ShellExecuteExW(&info)) return lastStatus();
    const KernelHandle process(info.hProcess);
    // No handle when the shell handed the start to a running program: nothing to wait for.
    return wait && process ? waitHandlingMessages(process.get()) : Status::Ok;
}

std::unique_ptr<InstanceToken> Win32Desktop::claimInstance(std::string_view name) {
    KernelHandle mutex(CreateMutexW(nullptr, FALSE, wide(name).c_str()));
    const bool another = GetLastError() == ERROR_ALREADY_EXISTS;
    return std::make_unique<MutexToken>(std::move(mutex), another);
}

std::string Win32Desktop::programPath() {
    std::wstring buf(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = GetModuleFileNameW(nullptr, buf.data(), static_cast<DWORD>(buf.size()));
        if (n == 0) return {};
        if (n < buf.size()) return utf8(std::wstring_view(buf.data(), n));
        buf.resize(buf.size() * 2);  // truncated
    }
}

bool Win32Desktop::isNtFamily() {
    OSVERSIONINFOW version{};
    version.dwOSVersionInfoSize = sizeof version;
    // Deprecated for its version numbers, which newer systems report falsely; the platform
    // identifier asked here is right on every system.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    const BOOL ok = GetVersionExW(&version);
#pragma GCC diagnostic pop
    return ok && version.dwPlatformId == VER_PLATFORM_WIN32_NT;
}

void Win32Desktop::beep() {
    if (!MessageBeep(MB_OK)) Beep(800, 200);
}

void Win32Desktop::bringToFront(WindowRef window) { SetForegroundWindow(reinterpret_cast<HWND>(window)); }

}  // namespace quillon::win32
