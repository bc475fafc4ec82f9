#pragma once
// What the end-to-end probes share: waiting on conditions, windows and list views of other processes,
// the installed programs started and answered, real input, and the registry and files they leave.
#include <windows.h>

#include <gtest/gtest.h>

#include <commctrl.h>

#include <algorithm>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/resource.h"
#include "platform/win32/Handles.h"
#include "platform/win32/Utf.h"
#include "review/frmFoundChangesIds.h"

namespace quillon::e2e {

using quillon::win32::KernelHandle;
using quillon::win32::RegKey;
using Rows = std::vector<std::vector<std::string>>;
using testing::AssertionFailure;
using testing::AssertionResult;
using testing::AssertionSuccess;

inline const std::string ProgramFolder = "C:\\Program Files\\Quillon\\";

// Asks the condition every 50 ms until it holds; false once the time is up.
inline bool waitUntil(DWORD timeoutMs, const std::function<bool()>& condition) {
    for (const DWORD start = GetTickCount(); !condition(); Sleep(50))
        if (GetTickCount() - start >= timeoutMs) return false;
    return true;
}

inline std::string fileText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

inline void writeFile(const std::string& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary);
    out << text;
    ASSERT_TRUE(out.good()) << path;
}

inline bool exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

inline std::optional<std::string> stringValue(HKEY hive, const char* path, const char* name) {
    char data[4096] = {};
    DWORD size = sizeof data - 1;
    if (RegGetValueA(hive, path, name, RRF_RT_REG_SZ, nullptr, data, &size) != ERROR_SUCCESS) return std::nullopt;
    return std::string(data);
}

// The drive entry a scan works on, as the main window's drive list spells it: "(X:) SMALL".
inline AssertionResult setDrive(const std::string& entry) {
    const LSTATUS s = RegSetKeyValueA(HKEY_CURRENT_USER, "Software\\Quillon\\General", "DriveName", REG_SZ,
                                      entry.c_str(), static_cast<DWORD>(entry.size() + 1));
    return s == ERROR_SUCCESS ? AssertionSuccess() : AssertionFailure() << "DriveName not written: error " << s;
}

// Creates the key, and sets the number when a name is given.
inline void setKey(HKEY hive, const char* path, const std::string& name = "", DWORD value = 0) {
    RegKey key;
    ASSERT_EQ(RegCreateKeyExA(hive, path, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, key.out(), nullptr), ERROR_SUCCESS);
    const LSTATUS set = name.empty() ? ERROR_SUCCESS : RegSetValueExA(key.get(), name.c_str(), 0, REG_DWORD,
                                                                      reinterpret_cast<const BYTE*>(&value), sizeof value);
    ASSERT_EQ(set, ERROR_SUCCESS) << name;
}

// The caption or text of a window of another process, in UTF-8 (the narrow message gives only what
// the code page holds); a window that hangs must not hang the probe.
inline std::string windowText(HWND window) {
    wchar_t text[1024] = {};
    DWORD_PTR copied = 0;
    if (!SendMessageTimeoutW(window, WM_GETTEXT, std::size(text), reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG,
                             5000, &copied))
        return {};
    return quillon::win32::utf8(std::wstring_view(text, std::min<std::size_t>(copied, std::size(text) - 1)));
}

using WindowSearch = std::pair<const std::function<bool(HWND)>*, HWND>;

// A named callback: on 32-bit Windows only a __stdcall function converts to WNDENUMPROC.
inline BOOL CALLBACK visitWindow(HWND window, LPARAM lp) noexcept {
    auto* s = reinterpret_cast<WindowSearch*>(lp);
    try {
        if (!(*s->first)(window)) return TRUE;
    } catch (...) {
        return FALSE;  // nothing found
    }
    s->second = window;
    return FALSE;
}

// The first window the match accepts: top-level windows when `parent` is null, else every
// window below `parent`. A match that never accepts visits them all.
inline HWND firstWindow(HWND parent, const std::function<bool(HWND)>& match) {
    WindowSearch search{&match, nullptr};
    if (parent) {
        EnumChildWindows(parent, visitWindow, reinterpret_cast<LPARAM>(&search));
    } else {
        EnumWindows(visitWindow, reinterpret_cast<LPARAM>(&search));
    }
    return search.second;
}

inline HWND descendant(HWND parent, int id) {
    return firstWindow(parent, [id](HWND child) { return GetDlgCtrlID(child) == id; });
}

// The texts of every row of a report-view list of another process, column by column.
inline Rows listViewRows(HWND list, int columns) {
    Rows rows;
    DWORD processId = 0;
    GetWindowThreadProcessId(list, &processId);
    const KernelHandle process(OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, processId));
    constexpr SIZE_T TextSize = 1024;  // characters
    // Memory in the list's process: the list writes its texts there, not into ours. Read in UTF-16:
    // the narrow message would give only what the code page holds.
    const auto release = [&](char* p) { VirtualFreeEx(process.get(), p, 0, MEM_RELEASE); };
    const std::unique_ptr<char, decltype(release)> remote(
        static_cast<char*>(VirtualAllocEx(process.get(), nullptr, sizeof(LVITEMW) + TextSize * sizeof(wchar_t),
                                          MEM_COMMIT, PAGE_READWRITE)),
        release);
    if (!remote) return {{"<the list's memory cannot be reached>"}};
    const int count = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    for (int row = 0; row < count; ++row) {
        rows.emplace_back();
        for (int column = 0; column < columns; ++column) {
            LVITEMW item{};
            item.iSubItem = column;
            item.pszText = reinterpret_cast<wchar_t*>(remote.get() + sizeof(LVITEMW));
            item.cchTextMax = static_cast<int>(TextSize);
            wchar_t text[TextSize] = {};
            WriteProcessMemory(process.get(), remote.get(), &item, sizeof item, nullptr);
            SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(remote.get()));
            ReadProcessMemory(process.get(), remote.get() + sizeof(LVITEMW), text, (TextSize - 1) * sizeof(wchar_t),
                              nullptr);
            rows.back().emplace_back(quillon::win32::utf8(text));
        }
    }
    return rows;
}

// The full paths of a list of names (first column) in folders (second column), sorted.
inline std::vector<std::string> listedPaths(HWND list) {
    std::vector<std::string> paths;
    for (const auto& row : listViewRows(list, 2)) paths.push_back(row[1] + row[0]);
    std::sort(paths.begin(), paths.end());
    return paths;
}

inline int rowCount(HWND list) { return static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0)); }
inline int selectedCount(HWND list) { return static_cast<int>(SendMessageW(list, LVM_GETSELECTEDCOUNT, 0, 0)); }

// The installed program started with the arguments; ended by force when the test leaves it running.
class RunningProgram {
public:
    explicit RunningProgram(const std::string& arguments, const std::string& program = ProgramFolder + "Quillon.exe") {
        std::string commandLine = "\"" + program + "\"" + (arguments.empty() ? "" : " " + arguments);
        STARTUPINFOA si{};
        si.cb = sizeof si;
        PROCESS_INFORMATION pi{};
        if (!CreateProcessA(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
            return;
        CloseHandle(pi.hThread);
        process_ = KernelHandle(pi.hProcess);
    }
    // The program of a window, one that another program started.
    explicit RunningProgram(HWND window) {
        DWORD id = 0;
        GetWindowThreadProcessId(window, &id);
        process_.reset(OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION | PROCESS_TERMINATE, FALSE, id));
    }
    ~RunningProgram() {
        if (process_ && WaitForSingleObject(process_.get(), 0) != WAIT_OBJECT_0) TerminateProcess(process_.get(), 1);
    }

    bool started() const { return static_cast<bool>(process_); }
    bool running() const { return process_ && WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT; }
    DWORD id() const { return GetProcessId(process_.get()); }
    // A visible top-level window of the program (of any program for processId 0) with that
    // caption (null: any) holding a control with that identifier (0: any); null once the time is up.
    static HWND find(DWORD processId, const char* title, int controlId, DWORD timeoutMs) {
        HWND found = nullptr;
        waitUntil(timeoutMs, [&] {
            found = firstWindow(nullptr, [&](HWND w) {
                DWORD owner = 0;
                GetWindowThreadProcessId(w, &owner);
                return (!processId || owner == processId) && IsWindowVisible(w) && (!title || windowText(w) == title) &&
                       (!controlId || descendant(w, controlId));
            });
            return found != nullptr;
        });
        return found;
    }
    HWND window(const char* title, int controlId, DWORD timeoutMs) const { return find(id(), title, controlId, timeoutMs); }
    // The captions and texts of its visible windows and their children.
    std::string shows() const {
        std::string text;
        firstWindow(nullptr, [&](HWND w) {
            DWORD owner = 0;
            GetWindowThreadProcessId(w, &owner);
            if (owner != id() || !IsWindowVisible(w)) return false;
            text += "[" + windowText(w) + "]";
            firstWindow(w, [&](HWND child) {
                text += " \"" + windowText(child) + "\"";
                return false;
            });
            text += "\n";
            return false;
        });
        return text.empty() ? "no visible window" : text;
    }
    AssertionResult noWindow(const char* what) const {
        return AssertionFailure() << what << " never appeared; the program shows:\n" << shows();
    }
    AssertionResult ends(const char* after) const {
        if (WaitForSingleObject(process_.get(), 20000) == WAIT_OBJECT_0) return AssertionSuccess();
        return AssertionFailure() << "the program did not end after " << after << "; it shows:\n" << shows();
    }

private:
    KernelHandle process_;
};

// Waits for the button to show, which may come after its window, and clicks it.
inline AssertionResult press(HWND button, const char* caption) {
    if (!waitUntil(10000, [&] { return IsWindowVisible(button); })) return AssertionFailure() << "no visible " << caption;
    if (windowText(button) != caption)
        return AssertionFailure() << "the button reads \"" << windowText(button) << "\", not " << caption;
    PostMessageA(button, BM_CLICK, 0, 0);
    return AssertionSuccess();
}

// Waits for the program's message box or dialog and presses its button `buttonId`.
inline AssertionResult answer(const RunningProgram& program, const char* title, int buttonId, const char* caption) {
    HWND box = program.window(title, buttonId, 60000);
    return box ? press(GetDlgItem(box, buttonId), caption) : program.noWindow(title);
}

// The first start on a new machine, which writes the defaults: the main window shown, then closed.
inline AssertionResult firstStart() {
    const RunningProgram main("");
    HWND window = main.window("Quillon", 0, 20000);
    if (!window) return main.noWindow("the main window");
    PostMessageA(window, WM_CLOSE, 0, 0);
    return main.ends("the main window was closed");
}

// "\u" unattended: the snapshots taken and the completion display answered.
inline AssertionResult updateDatabase() {
    const RunningProgram update("\\u");
    if (AssertionResult answered = answer(update, "Scan complete", IDC_UPDATE_CMDOK, "OK"); !answered) return answered;
    return update.ends("OK");
}

// The viewer of Find changes, once its registry list (filled last) holds a row; null after the time.
inline HWND filledViewer(DWORD processId) {
    HWND viewer = RunningProgram::find(processId, "Changes found  -Quillon", IDC_FOUND_LVWREGADDED, 180000);
    const auto filled = [&] { return rowCount(descendant(viewer, IDC_FOUND_LVWREGADDED)) > 0; };
    return viewer && waitUntil(20000, filled) ? viewer : nullptr;
}

// The viewer's Select All, then its rows saved through the common save dialog: the path typed into its
// file-name box (cmb13; edt1 in the older layout), then Save; done once the file is there and the
// viewer answers.
inline AssertionResult saveAll(const RunningProgram& program, HWND viewer, const std::string& path) {
    constexpr int FileNameCombo = 0x47c, FileNameEdit = 0x480;
    DWORD_PTR ignored = 0;
    if (!SendMessageTimeoutA(descendant(viewer, IDC_FOUND_CMDSELECTALL), BM_CLICK, 0, 0, SMTO_NORMAL, 20000, &ignored))
        return AssertionFailure() << "Select All did not return";
    if (HWND files = descendant(viewer, IDC_FOUND_LVWFILESADDED); selectedCount(files) != rowCount(files))
        return AssertionFailure() << "Select All left rows unselected";
    if (AssertionResult pressed = press(descendant(viewer, IDC_FOUND_CMDSAVE), "&Save selected"); !pressed) return pressed;
    HWND dialog = program.window(nullptr, FileNameCombo, 30000);
    if (!dialog) dialog = program.window(nullptr, FileNameEdit, 1000);
    if (!dialog) return program.noWindow("the save dialog");
    // Its own controls only: the shell's file list inside it has a child numbered IDOK too.
    HWND name = GetDlgItem(dialog, FileNameCombo) ? GetDlgItem(dialog, FileNameCombo) : GetDlgItem(dialog, FileNameEdit);
    SendMessageTimeoutA(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()), SMTO_NORMAL, 5000, &ignored);
    if (windowText(name) != path) return AssertionFailure() << "the file name box reads " << windowText(name);
    if (AssertionResult pressed = press(GetDlgItem(dialog, IDOK), "&Save"); !pressed) return pressed;
    if (!waitUntil(20000, [&] { return !IsWindow(dialog) && exists(path); }))
        return AssertionFailure() << "the save dialog stays open or wrote nothing:\n" << program.shows();
    // The viewer answers again once the save handler has returned, the file closed.
    if (!SendMessageTimeoutA(viewer, WM_NULL, 0, 0, SMTO_NORMAL, 20000, &ignored))
        return AssertionFailure() << "the viewer does not answer after the save";
    return AssertionSuccess();
}

// A real click, so the windows see what a user's mouse would send: the left button unless others are named.
inline bool clickAt(int x, int y, DWORD press = MOUSEEVENTF_LEFTDOWN, DWORD release = MOUSEEVENTF_LEFTUP) {
    INPUT inputs[3] = {};
    for (INPUT& input : inputs) input.type = INPUT_MOUSE;
    inputs[0].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    inputs[0].mi.dx = MulDiv(x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
    inputs[0].mi.dy = MulDiv(y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
    inputs[1].mi.dwFlags = press;
    inputs[2].mi.dwFlags = release;
    return SendInput(3, inputs, sizeof(INPUT)) == 3;
}

// Clicks the first or the last entry of the menu that opens; under load a menu can show before it
// takes input: it is clicked until it closes.
inline AssertionResult chooseFromMenu(bool last) {
    HWND menu = nullptr;
    if (!waitUntil(10000, [&] { return (menu = FindWindowA("#32768", nullptr)) && IsWindowVisible(menu); }))
        return AssertionFailure() << "the menu did not open";
    RECT r{};
    GetWindowRect(menu, &r);
    for (int tries = 0; tries < 3 && IsWindowVisible(menu); ++tries) {
        clickAt(r.left + 30, last ? r.bottom - 10 : r.top + 10);
        waitUntil(3000, [&] { return !IsWindowVisible(menu); });
    }
    if (IsWindowVisible(menu)) return AssertionFailure() << "the menu stays open after three clicks";
    return AssertionSuccess();
}

}  // namespace quillon::e2e
