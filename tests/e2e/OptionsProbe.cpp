// Runs after the first run, in its prefix (see main_first_run.sh): opens the options dialog
// from the main window, changes one control of each kind with real input, presses OK and
// checks what was written; a second open shows it back, and Cancel writes nothing.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "Probe.h"
#include "app/resource.h"
#include "options/frmOptionsIds.h"
#include "platform/win32/Handles.h"

namespace {

using namespace quillon::probe;
const char* SchedulerKey = "Software\\Quillon\\Scheduler";
const char* ScanningKey = "Software\\Quillon\\Scanning";

void setString(const char* path, const char* name, const std::string& text) {
    quillon::win32::RegKey key;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, path, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, key.out(), nullptr), 0);
    RegSetValueExA(key.get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                   static_cast<DWORD>(text.size() + 1));
}

// Every value of a key, by name.
std::map<std::string, std::string> values(const char* path) {
    std::map<std::string, std::string> all;
    quillon::win32::RegKey key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, path, 0, KEY_READ, key.out()) != 0) return all;
    char name[256];
    BYTE data[4096];
    for (DWORD i = 0;; ++i) {
        DWORD nameSize = sizeof name;
        DWORD dataSize = sizeof data;
        if (RegEnumValueA(key.get(), i, name, &nameSize, nullptr, nullptr, data, &dataSize) != 0) break;
        all[name] = std::string(reinterpret_cast<char*>(data), dataSize ? dataSize - 1 : 0);
    }
    return all;
}

bool send(std::vector<INPUT> inputs) {
    return SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT)) == inputs.size();
}

bool clickAt(int x, int y) {
    INPUT move{}, down{}, up{};
    move.type = down.type = up.type = INPUT_MOUSE;
    move.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    move.mi.dx = MulDiv(x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
    move.mi.dy = MulDiv(y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
    down.mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    up.mi.dwFlags = MOUSEEVENTF_LEFTUP;
    return send({move, down, up});
}

// A real click in the middle of a control (or `dy` pixels below its top).
bool click(HWND control, int dy = -1) {
    RECT r{};
    if (!control || !GetWindowRect(control, &r)) return false;
    return clickAt((r.left + r.right) / 2, dy < 0 ? (r.top + r.bottom) / 2 : r.top + dy);
}

bool keys(const std::vector<WORD>& vks) {
    std::vector<INPUT> inputs;
    for (WORD vk : vks)
        for (DWORD flags : {0UL, static_cast<DWORD>(KEYEVENTF_KEYUP)}) {
            INPUT key{};
            key.type = INPUT_KEYBOARD;
            key.ki.wVk = vk;
            key.ki.dwFlags = flags;
            inputs.push_back(key);
        }
    return send(inputs);
}

bool waitFor(const std::function<bool()>& done) {
    for (DWORD start = GetTickCount(); GetTickCount() - start < 15000; Sleep(50))
        if (done()) return true;
    return false;
}

bool checked(HWND dialog, int id) { return SendMessageA(descendant(dialog, id), BM_GETCHECK, 0, 0) == BST_CHECKED; }

class OptionsDialog : public ::testing::Test {
protected:
    void SetUp() override {
        setString(SchedulerKey, "WindowsToIgnore", "setup.exe\x7f" "1024\x7f");
        setString(SchedulerKey, "WindowsToIgnoreInfo", "C:\\Setup\\\x7f" "Monday, Dec 7 2026\x7f");
        process_ = startProgram("");
        ASSERT_TRUE(process_) << "could not start " << programPath();
        main_ = waitForWindow("QuillonMainWindow", "Quillon", 20000);
        ASSERT_NE(main_, nullptr) << "the main window never appeared";
    }
    void TearDown() override {
        if (process_ && WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT) TerminateProcess(process_.get(), 1);
    }
    HWND open() {
        const DWORD id = GetProcessId(process_.get());
        click(descendant(main_, IDC_MAIN_CMDOPTIONS));
        HWND dialog = waitForProcessWindow(id, "Options -Quillon", IDC_OPT_TABOPTIONS, 15000);
        EXPECT_NE(dialog, nullptr) << "the options dialog never appeared: " << describeProcessWindows(id);
        return dialog;
    }
    // Focuses the tab strip at its first tab, then moves right page by page.
    void showTab(HWND dialog, int page) {
        HWND tabs = descendant(dialog, IDC_OPT_TABOPTIONS);
        RECT r{};
        GetWindowRect(tabs, &r);
        clickAt(r.left + 15, r.top + 8);
        GUITHREADINFO gui{};
        gui.cbSize = sizeof gui;
        const DWORD thread = GetWindowThreadProcessId(tabs, nullptr);
        ASSERT_TRUE(waitFor([&] { return GetGUIThreadInfo(thread, &gui) && gui.hwndFocus == tabs; }))
            << "the tabs did not take the focus for page " << page;
        keys(std::vector<WORD>(page, VK_RIGHT));
        ASSERT_TRUE(waitFor([&] { return SendMessageA(tabs, TCM_GETCURSEL, 0, 0) == page; }));
    }
    void closeWith(HWND dialog, int button) {
        click(descendant(dialog, button));
        ASSERT_TRUE(waitFor([&] { return !IsWindow(dialog); })) << "the dialog did not close";
    }

    quillon::win32::KernelHandle process_;
    HWND main_ = nullptr;
};

TEST_F(OptionsDialog, OkWritesWhatTheUserChoseAndCancelWritesNothing) {
    HWND dialog = open();
    ASSERT_NE(dialog, nullptr);
    // General: a folder added through the folder browser.
    click(descendant(dialog, IDC_OPT_CMDADD));
    HWND browser = waitForProcessWindow(GetProcessId(process_.get()), "Browse for Folder", 0, 15000);
    ASSERT_NE(browser, nullptr) << "the folder browser never appeared";
    keys({VK_RETURN});  // the browser starts at the desktop folder
    ASSERT_TRUE(waitFor([&] { return !IsWindow(browser); }));
    ASSERT_TRUE(waitFor([&] { return listViewRows(descendant(dialog, IDC_OPT_LVWFOLDERSTOIGNORE), 1).size() == 8; }));
    // Advanced: an option button; Scheduler: a check box and the day box; Setup Detection: a row removed.
    showTab(dialog, 1);
    click(descendant(dialog, IDC_OPT_OPTSCANWINONLY));
    showTab(dialog, 2);
    click(descendant(dialog, IDC_OPT_CHKSCHSCANDISK));
    click(descendant(dialog, IDC_OPT_OPTWEEKLY));
    keys({VK_TAB, 'F'});  // the day box follows the option button
    ASSERT_TRUE(waitFor([&] { return SendMessageA(descendant(dialog, IDC_OPT_CMBDAYSOFWEEK), CB_GETCURSEL, 0, 0) == 5; }));
    showTab(dialog, 3);
    HWND programs = descendant(dialog, IDC_OPT_LVWEXESTOIGNORE);
    RECT header{};
    GetWindowRect(reinterpret_cast<HWND>(SendMessageA(programs, LVM_GETHEADER, 0, 0)), &header);
    clickAt(header.left + 30, header.bottom + 8);
    click(descendant(dialog, IDC_OPT_CMDREMOVEEXESETUP));
    ASSERT_TRUE(waitFor([&] { return SendMessageA(programs, LVM_GETITEMCOUNT, 0, 0) == 0; })) << "the row stayed";
    closeWith(dialog, IDOK);

    const auto scanning = values(ScanningKey);
    const auto scheduler = values(SchedulerKey);
    EXPECT_EQ(scanning.at("ScanMode"), "2");
    EXPECT_NE(scanning.at("FoldersToIgnore").find("\\Desktop\\\x7f"), std::string::npos) << scanning.at("FoldersToIgnore");
    EXPECT_EQ(scheduler.at("ScanDisk"), "1");
    EXPECT_EQ(scheduler.at("Weekly"), "6") << "Friday";
    EXPECT_EQ(scheduler.at("WindowsToIgnore"), "");
    EXPECT_EQ(scheduler.at("WindowsToIgnoreInfo"), "");

    dialog = open();
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(checked(dialog, IDC_OPT_OPTSCANWINONLY));
    EXPECT_TRUE(checked(dialog, IDC_OPT_CHKSCHSCANDISK));
    EXPECT_EQ(SendMessageA(descendant(dialog, IDC_OPT_CMBDAYSOFWEEK), CB_GETCURSEL, 0, 0), 5);
    showTab(dialog, 2);
    click(descendant(dialog, IDC_OPT_CHKSCHSCANDISK));
    ASSERT_FALSE(checked(dialog, IDC_OPT_CHKSCHSCANDISK));
    closeWith(dialog, IDCANCEL);
    EXPECT_EQ(values(ScanningKey), scanning);
    EXPECT_EQ(values(SchedulerKey), scheduler);
}

}  // namespace
