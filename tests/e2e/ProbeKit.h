#pragma once
// What the end-to-end probes share: windows and lists of other processes, the programs started and answered.
#include <windows.h>

#include <gtest/gtest.h>

#include <commctrl.h>

#include <algorithm>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "app/resource.h"
#include "platform/win32/Handles.h"
#include "platform/win32/Utf.h"
#include "review/frmFoundChangesIds.h"

namespace quillon::e2e {

using quillon::win32::KernelHandle;
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

inline bool exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// The drive entry a scan works on, as the main window's drive list spells it: "(X:) SMALL".
inline AssertionResult setDrive(const std::string& entry) {
    const LSTATUS s = RegSetKeyValueA(HKEY_CURRENT_USER, "Software\\Quillon\\General", "DriveName", REG_SZ,
                                      entry.c_str(), static_cast<DWORD>(entry.size() + 1));
    return s == ERROR_SUCCESS ? AssertionSuccess() : AssertionFailure() << "DriveName not written: error " << s;
}

// Creates the key, and sets the number when a name is given.
inline void setKey(HKEY hive, const char* path, const std::string& name = "", DWORD value = 0) {
    quillon::win32::RegKey key;
    const LSTATUS s = name.empty() ? RegCreateKeyExA(hive, path, 0, nullptr, 0, KEY_WRITE, nullptr, key.out(), nullptr)
                                   : RegSetKeyValueA(hive, path, name.c_str(), REG_DWORD, &value, sizeof value);
    ASSERT_EQ(s, ERROR_SUCCESS) << path << " " << name;
}

inline DWORD processOf(HWND window) {
    DWORD id = 0;
    GetWindowThreadProcessId(window, &id);
    return id;
}

// The caption or text of a window of another process, in UTF-8 (the narrow message gives only what
// the code page holds); a window that hangs must not hang the probe.
inline std::string windowText(HWND window) {
    wchar_t text[1024] = {};
    SendMessageTimeoutW(window, WM_GETTEXT, std::size(text), reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 5000,
                        nullptr);
    return quillon::win32::utf8(text);
}

// The top-level windows when `parent` is null, else every window below `parent`.
inline std::vector<HWND> windowsUnder(HWND parent) {
    std::vector<HWND> windows;
    for (HWND w = GetWindow(parent ? parent : GetDesktopWindow(), GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT)) {
        windows.push_back(w);
        if (parent) std::ranges::copy(windowsUnder(w), std::back_inserter(windows));
    }
    return windows;
}

inline HWND firstWindow(HWND parent, const std::function<bool(HWND)>& match) {
    for (HWND window : windowsUnder(parent))
        if (match(window)) return window;
    return nullptr;
}

inline HWND descendant(HWND parent, int id) {
    return firstWindow(parent, [id](HWND child) { return GetDlgCtrlID(child) == id; });
}

inline int rowCount(HWND list) { return static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0)); }

// The texts of every row of a report-view list of another process, column by column.
inline Rows listViewRows(HWND list, int columns) {
    const KernelHandle process(OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE,
                                           processOf(list)));
    // The list writes its texts into memory of its own process, not ours; in UTF-16, as the narrow
    // message would give only what the code page holds.
    constexpr int Chars = 1024;
    const auto release = [&](void* p) { VirtualFreeEx(process.get(), p, 0, MEM_RELEASE); };
    const std::unique_ptr<void, decltype(release)> remote(
        VirtualAllocEx(process.get(), nullptr, sizeof(LVITEMW) + Chars * sizeof(wchar_t), MEM_COMMIT, PAGE_READWRITE),
        release);
    if (!remote) return {{"<the list's memory cannot be reached>"}};
    LVITEMW item{};
    item.pszText = reinterpret_cast<wchar_t*>(static_cast<char*>(remote.get()) + sizeof(LVITEMW));
    item.cchTextMax = Chars;
    Rows rows(rowCount(list));
    for (std::size_t row = 0; row < rows.size(); ++row)
        for (item.iSubItem = 0; item.iSubItem < columns; ++item.iSubItem) {
            wchar_t text[Chars] = {};
            WriteProcessMemory(process.get(), remote.get(), &item, sizeof item, nullptr);
            SendMessageW(list, LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(remote.get()));
            ReadProcessMemory(process.get(), item.pszText, text, (Chars - 1) * sizeof(wchar_t), nullptr);
            rows[row].push_back(quillon::win32::utf8(text));
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

// The installed program started with the arguments, or the program of a window another program
// started; ended by force when the test leaves it running.
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
    explicit RunningProgram(HWND window)
        : process_(OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION | PROCESS_TERMINATE, FALSE,
                               processOf(window))) {}
    ~RunningProgram() {
        if (process_ && WaitForSingleObject(process_.get(), 0) != WAIT_OBJECT_0) TerminateProcess(process_.get(), 1);
    }

    DWORD id() const { return GetProcessId(process_.get()); }
    // A visible top-level window of the program (of any program for processId 0) with that
    // caption (null: any) holding a control with that identifier (0: any); null once the time is up.
    static HWND find(DWORD processId, const char* title, int controlId, DWORD timeoutMs) {
        const auto match = [&](HWND w) {
            return (!processId || processOf(w) == processId) && IsWindowVisible(w) &&
                   (!title || windowText(w) == title) && (!controlId || descendant(w, controlId));
        };
        HWND found = nullptr;
        waitUntil(timeoutMs, [&] { return (found = firstWindow(nullptr, match)) != nullptr; });
        return found;
    }
    HWND window(const char* title, int controlId, DWORD timeoutMs) const { return find(id(), title, controlId, timeoutMs); }
    // The captions and texts of its visible windows and their children.
    std::string shows() const {
        std::string text;
        for (HWND w : windowsUnder(nullptr)) {
            if (processOf(w) != id() || !IsWindowVisible(w)) continue;
            text += "[" + windowText(w) + "]";
            for (HWND child : windowsUnder(w)) text += " \"" + windowText(child) + "\"";
            text += "\n";
        }
        return text.empty() ? "no visible window" : text;
    }
    AssertionResult noWindow(const char* what) const {
        return AssertionFailure() << what << " never appeared; the program shows:\n" << shows();
    }
    AssertionResult ends(const char* after) const {
        if (WaitForSingleObject(process_.get(), 20000) == WAIT_OBJECT_0) return AssertionSuccess();
        return AssertionFailure() << "the program did not end after " << after << "; it shows:\n" << shows();
    }
    // Closes the window as its close box does, which ends the program.
    AssertionResult closes(HWND window) const {
        PostMessageA(window, WM_CLOSE, 0, 0);
        return ends("its window was closed");
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

// Waits for the program's message box or dialog, presses its button `buttonId` and waits for it to
// close, so that the next question, though of the same title, is not taken for this one.
inline AssertionResult answer(const RunningProgram& program, const char* title, int buttonId, const char* caption) {
    HWND box = program.window(title, buttonId, 120000);
    if (!box) return program.noWindow(title);
    if (AssertionResult pressed = press(GetDlgItem(box, buttonId), caption); !pressed) return pressed;
    if (!waitUntil(20000, [&] { return !IsWindowVisible(box); })) return AssertionFailure() << title << " stays open";
    return AssertionSuccess();
}

// The first start on a new machine, which writes the defaults: the main window shown, then closed.
inline AssertionResult firstStart() {
    const RunningProgram main("");
    HWND window = main.window("Quillon", 0, 20000);
    return window ? main.closes(window) : main.noWindow("the main window");
}

// "\u" unattended: the snapshots taken and the completion display answered.
inline AssertionResult updateDatabase() {
    const RunningProgram update("\\u");
    if (AssertionResult answered = answer(update, "Scan complete", IDC_UPDATE_CMDOK, "OK"); !answered) return answered;
    return update.ends("OK");
}

// The viewer of Find changes once its load has ended, which its last step says by writing the total
// size; null after the time.
inline HWND loadedViewer(DWORD processId) {
    HWND viewer = RunningProgram::find(processId, "Changes found  -Quillon", IDC_FOUND_LVWREGADDED, 300000);
    const auto loaded = [&] { return windowText(descendant(viewer, IDC_FOUND_LBLFILESIZE)).starts_with("(Total size"); };
    return viewer && waitUntil(30000, loaded) ? viewer : nullptr;
}

// The viewer's Select All, then its rows saved through the common save dialog: the path typed into
// its file-name box (cmb13), then Save; done once the file is there and the viewer answers.
inline AssertionResult saveAll(const RunningProgram& program, HWND viewer, const std::string& path) {
    constexpr int FileNameCombo = 0x47c;
    if (!SendMessageTimeoutA(descendant(viewer, IDC_FOUND_CMDSELECTALL), BM_CLICK, 0, 0, SMTO_NORMAL, 20000, nullptr))
        return AssertionFailure() << "Select All did not return";
    if (AssertionResult pressed = press(descendant(viewer, IDC_FOUND_CMDSAVE), "&Save selected"); !pressed) return pressed;
    HWND dialog = program.window(nullptr, FileNameCombo, 60000);  // the shell's first load may be slow
    if (!dialog) return program.noWindow("the save dialog");
    // Its own controls only: the shell's file list inside it has a child numbered IDOK too.
    SendMessageTimeoutA(GetDlgItem(dialog, FileNameCombo), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()),
                        SMTO_NORMAL, 5000, nullptr);
    if (AssertionResult pressed = press(GetDlgItem(dialog, IDOK), "&Save"); !pressed) return pressed;
    if (!waitUntil(20000, [&] { return !IsWindow(dialog) && exists(path); }))
        return AssertionFailure() << "the save dialog stays open or wrote nothing:\n" << program.shows();
    // The viewer answers again once the save handler has returned, the file closed.
    if (!SendMessageTimeoutA(viewer, WM_NULL, 0, 0, SMTO_NORMAL, 20000, nullptr))
        return AssertionFailure() << "the viewer does not answer after the save";
    return AssertionSuccess();
}

// Chooses the first or the last entry of the menu that opens, by the keys a user would press: the
// menu's loop reads them from its thread's queue, so none is lost to a menu not yet taking input.
inline AssertionResult chooseFromMenu(bool last) {
    HWND menu = nullptr;
    if (!waitUntil(10000, [&] { return (menu = FindWindowA("#32768", nullptr)) && IsWindowVisible(menu); }))
        return AssertionFailure() << "the menu did not open";
    PostMessageA(menu, WM_KEYDOWN, last ? VK_UP : VK_DOWN, 0);
    PostMessageA(menu, WM_KEYDOWN, VK_RETURN, 0);
    if (!waitUntil(10000, [&] { return !IsWindowVisible(menu); })) return AssertionFailure() << "the menu stays open";
    return AssertionSuccess();
}

}  // namespace quillon::e2e
