// The main window driven in-process over the fakes: what it shows and offers, what its commands
// start, and the drive it keeps at close.
#include <gtest/gtest.h>

#include "UiDriver.h"
#include "shell/frmMainIds.h"
#include "shell/Settings.h"
#include "shell/frmMain.h"
#include "support/FakeMachine.h"
#include "support/RecordingOperations.h"
#include "ui/ComboBox.h"
#include "ui/Dpi.h"
#include "ui/Menu.h"
#include "ui/StatusBar.h"

namespace quillon::shell {
namespace {

TEST(MainWindow, ShowsDrivesListsAndToolsStartsItsOperationsAndStoresTheDriveAtClose) {
    fakes::FakeMachine m;
    m.files.addDrive('D', DriveType::Fixed, "DATA");
    m.files.addFolder("D:\\");
    m.files.addFile("C:\\Windows\\defrag.exe", "MZ");
    m.files.addFile("C:\\Program Files\\Quillon\\Cdbase.qdb", "", FileAttr::Hidden, {2026, 3, 4, 9, 8, 7});
    m.files.addFile("C:\\Lists\\Игра 日本 \U0001F600.qdf");  // a name beyond the code page
    m.files.addFile("C:\\Lists\\Editor.qdf");
    const std::string sep(1, settings::ListSeparator);
    m.registry.setString(Hive::CurrentUser, settings::GeneralKey, "DefaultPath", "C:\\Program Files\\Quillon");
    m.registry.setString(Hive::CurrentUser, settings::GeneralKey, "DriveName", "(D:) DATA");
    m.registry.setString(Hive::CurrentUser, settings::GeneralKey, "SavedForDeletion", "C:\\Lists\\Игра 日本 \U0001F600.qdf" + sep +
                         "C:\\Lists\\Gone.qdf" + sep + "C:\\Lists\\Editor.qdf" + sep);
    fakes::RecordingOperations ops;
    MainState state;
    StartUpPorts startUp{m.registry, m.files, m.shell, m.desktop, m.clock};
    startMainProgram(startUp, "", ops, state);
    Ports ports{m.registry, m.files, m.shell, m.desktop, m.prompter, m.clock, m.printer};
    frmMain window(ports, ops, state);
    ASSERT_TRUE(window.open(SW_SHOWNORMAL));
    ASSERT_TRUE(uitest::pumpUntil([&] { return IsWindowVisible(window.hwnd()) != FALSE; })) << "no main window";
    const auto command = [&](int id, int code = 0, HWND control = nullptr) {
        SendMessageA(window.hwnd(), WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(control));
    };

    const ui::ComboBox drives(window.hwnd(), IDC_MAIN_CMBDRIVES);
    EXPECT_EQ(drives.selectedText(), "(D:) DATA");
    EXPECT_EQ(drives.find("Local hard drives (C:,D:)"), 2) << "the last entry";
    const ui::Label scanDate(window.hwnd(), IDC_MAIN_LBLSCANDATE);
    EXPECT_EQ(scanDate.text(), "This drive has not been scanned.");
    drives.select(2);
    command(IDC_MAIN_CMBDRIVES, CBN_SELCHANGE, drives.hwnd());
    EXPECT_EQ(scanDate.text(), "This drive was last scanned on 3/4/2026 9:08:07 AM");
    const ui::StatusBar bar(window.hwnd(), IDC_MAIN_STAFRMMAIN);
    EXPECT_EQ(bar.text(1) + " " + bar.text(2), "1/1/2026 12:00:00 PM");
    // The first panel takes what the fixed ones leave, the date's and the time's at the display's scaling.
    int firstEdge = 0;
    RECT client{};
    SendMessageA(bar.hwnd(), SB_GETPARTS, 1, reinterpret_cast<LPARAM>(&firstEdge));
    GetClientRect(bar.hwnd(), &client);
    EXPECT_EQ(firstEdge, client.right - ui::scaled(bar.hwnd(), 170));

    // The recent removal lists that still exist replace the empty entry.
    const ui::Menu uninstall(GetSubMenu(GetMenu(window.hwnd()), 1));
    ASSERT_EQ(uninstall.count(), 2);
    EXPECT_EQ(uninstall.text(uninstall.idAt(0)) + "|" + uninstall.text(uninstall.idAt(1)), "Игра 日本 \U0001F600|Editor");
    command(IDM_MAIN_NAME2);

    // Tools without their program are disabled when the menu opens.
    SendMessageA(window.hwnd(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(GetSubMenu(GetMenu(window.hwnd()), 2)), 2);
    const ui::Menu menu(GetMenu(window.hwnd()));
    for (const auto& [id, enabled] : {std::pair{IDM_MAIN_CLEANUP, false}, std::pair{IDM_MAIN_DEFRAG, true},
                                      std::pair{IDM_MAIN_SCANDISK, true}, std::pair{IDM_MAIN_SYSCLEANUP, true}})
        EXPECT_EQ(menu.isEnabled(id), enabled) << id;
    // "Undo last removal..." is greyed whenever the File menu opens with nothing to undo.
    for (const bool canUndo : {false, true}) {
        ops.canUndo = canUndo;
        SendMessageA(window.hwnd(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(GetSubMenu(GetMenu(window.hwnd()), 0)), 0);
        EXPECT_EQ(menu.isEnabled(IDM_MAIN_UNDO), canUndo);
    }

    uitest::postClick(window.hwnd(), IDC_MAIN_CMDFINDCHANGES);
    ASSERT_TRUE(uitest::pumpUntil([&] { return ops.calls.size() == 2; })) << "the button was not clicked";
    for (int id : {IDM_MAIN_UPDATEDBASE, IDC_MAIN_CMDUNINSTALL, IDM_MAIN_SYSCLEANUP, IDC_MAIN_CMDOPTIONS, IDM_MAIN_UNDO})
        command(id);
    EXPECT_EQ(ops.calls, (std::vector<std::string>{"uninstall C:\\Lists\\Editor.qdf", "find", "update", "review",
                                                   "cleanup", "options", "undo"}));

    PostMessageA(window.hwnd(), WM_CLOSE, 0, 0);
    ASSERT_TRUE(uitest::pumpUntil([&] { return !IsWindow(window.hwnd()); }));
    EXPECT_EQ(m.registry.stringValue(Hive::CurrentUser, settings::GeneralKey, "DriveName"), "Local hard drives (C:,D:)");
    uitest::drainQuit();  // the main window's WM_QUIT
}

}  // namespace
}  // namespace quillon::shell
