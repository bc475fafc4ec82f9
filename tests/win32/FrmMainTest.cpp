// The main window driven in-process over the fakes.
#include <gtest/gtest.h>

#include "UiDriver.h"
#include "app/resource.h"
#include "shell/Settings.h"
#include "shell/frmMain.h"
#include "support/FakeMachine.h"
#include "support/RecordingOperations.h"
#include "ui/ComboBox.h"
#include "ui/Menu.h"
#include "ui/StatusBar.h"

namespace quillon::shell {
namespace {

using fakes::RecordingOperations;

std::vector<std::string> menuTexts(HMENU menu) {
    std::vector<std::string> texts;
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        char text[128] = {};
        GetMenuStringA(menu, static_cast<UINT>(i), text, sizeof text, MF_BYPOSITION);
        texts.emplace_back(text);
    }
    return texts;
}

class MainWindow : public ::testing::Test {
protected:
    fakes::FakeMachine m;
    RecordingOperations ops;
    Ports ports{m.registry, m.files, m.shell, m.desktop, m.prompter, m.clock};
    MainState state;
    std::unique_ptr<frmMain> window;

    void SetUp() override {
        m.files.addDrive('D', DriveType::Fixed, "DATA");
        m.files.addFolder("D:\\");
        m.files.addFile("C:\\Windows\\defrag.exe", "MZ");
        m.files.addFile("C:\\Program Files\\Quillon\\Cdbase.qdb", "", FileAttr::Hidden, {2026, 3, 4, 9, 8, 7});
        m.files.addFile("C:\\Lists\\Game.qdf");
        m.files.addFile("C:\\Lists\\Editor.qdf");
        const std::string sep(1, settings::ListSeparator);
        m.registry.setString(Hive::CurrentUser, settings::GeneralKey, "DefaultPath", "C:\\Program Files\\Quillon");
        m.registry.setString(Hive::CurrentUser, settings::GeneralKey, "DriveName", "(D:) DATA");
        m.registry.setString(Hive::CurrentUser, settings::GeneralKey, "SavedForDeletion",
                             "C:\\Lists\\Game.qdf" + sep + "C:\\Lists\\Gone.qdf" + sep + "C:\\Lists\\Editor.qdf" + sep);
        StartUpPorts startUp{m.registry, m.files, m.shell, m.desktop, m.clock};
        startMainProgram(startUp, "", ops, state);
        window = std::make_unique<frmMain>(ports, ops, state);
        ASSERT_TRUE(window->open(SW_SHOWNORMAL));
        ASSERT_TRUE(uitest::pumpUntil([&] { return IsWindowVisible(window->hwnd()) != FALSE; }));
    }
    void TearDown() override {
        if (window && IsWindow(window->hwnd())) DestroyWindow(window->hwnd());
        uitest::drainQuit();
    }
    HWND hwnd() const { return window->hwnd(); }
    void command(int id, int code = 0, HWND control = nullptr) {
        SendMessageA(hwnd(), WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(control));
    }
    std::string scanDate() const { return ui::Label(hwnd(), IDC_MAIN_LBLSCANDATE).text(); }
};

TEST_F(MainWindow, ShowsTheDrivesTheSelectedEntryAndItsSentence) {
    const ui::ComboBox drives(hwnd(), IDC_MAIN_CMBDRIVES);
    ASSERT_EQ(drives.count(), 3);
    EXPECT_EQ(drives.text(0), "(C:) SYSTEM");
    EXPECT_EQ(drives.text(1), "(D:) DATA");
    EXPECT_EQ(drives.text(2), "Local hard drives (C:,D:)");
    EXPECT_EQ(drives.selectedText(), "(D:) DATA");
    EXPECT_EQ(scanDate(), "This drive has not been scanned.");

    drives.select(2);
    command(IDC_MAIN_CMBDRIVES, CBN_SELCHANGE, drives.hwnd());
    EXPECT_EQ(scanDate(), "This drive was last scanned on 3/4/2026 9:08:07 AM");

    const ui::StatusBar bar(hwnd(), IDC_MAIN_STAFRMMAIN);
    EXPECT_EQ(bar.panelCount(), 3);
    EXPECT_EQ(bar.text(1), "1/1/2026");
    EXPECT_EQ(bar.text(2), "12:00:00 PM");
    EXPECT_EQ(ui::Control(hwnd(), IDC_MAIN_CMDUNINSTALL).text(), "View && delete changes");
}

TEST_F(MainWindow, RecentRemovalListsReplaceTheEmptyEntry) {
    HMENU uninstall = GetSubMenu(GetMenu(hwnd()), 1);
    EXPECT_EQ(menuTexts(uninstall), (std::vector<std::string>{"Game", "Editor"}));
    command(IDM_MAIN_NAME2);
    EXPECT_EQ(ops.calls, std::vector<std::string>{"uninstall C:\\Lists\\Editor.qdf"});
}

TEST_F(MainWindow, ToolsWithoutTheirProgramAreDisabledWhenTheMenuOpens) {
    HMENU tools = GetSubMenu(GetMenu(hwnd()), 2);
    SendMessageA(hwnd(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(tools), 2);
    const ui::Menu menu(GetMenu(hwnd()));
    struct Row { int id; bool enabled; };
    const Row rows[] = {{IDM_MAIN_CLEANUP, false},   {IDM_MAIN_SYSFILECHECKER, false}, {IDM_MAIN_DEFRAG, true},
                        {IDM_MAIN_SCANDISK, true},   {IDM_MAIN_DRVSPACE, false},       {IDM_MAIN_MAINTAINWIZ, false},
                        {IDM_MAIN_SYSCLEANUP, true}, {IDM_MAIN_OPTIONS, true}};
    for (const auto& r : rows) EXPECT_EQ(menu.isEnabled(r.id), r.enabled) << r.id;

    command(IDM_MAIN_DEFRAG);
    ASSERT_EQ(m.desktop.started().size(), 1u);
    EXPECT_EQ(m.desktop.started()[0].commandLine, "\"C:\\Windows\\defrag.exe\"");
    EXPECT_FALSE(m.desktop.started()[0].wait);
    command(IDM_MAIN_SCANDISK);  // no disk checker here: nothing starts
    EXPECT_EQ(m.desktop.started().size(), 1u);
}

TEST_F(MainWindow, ButtonsAndMenusStartTheirOperations) {
    uitest::postClick(hwnd(), IDC_MAIN_CMDFINDCHANGES);
    ASSERT_TRUE(uitest::pumpUntil([&] { return !ops.calls.empty(); }));
    for (int id : {IDM_MAIN_UPDATEDBASE, IDC_MAIN_CMDUNINSTALL, IDM_MAIN_SYSCLEANUP, IDC_MAIN_CMDOPTIONS}) command(id);
    EXPECT_EQ(ops.calls, (std::vector<std::string>{"find", "update", "review", "cleanup", "options"}));

    command(IDM_MAIN_HELPTOPICS);
    ASSERT_EQ(m.shell.helpCalls().size(), 1u);
    EXPECT_EQ(m.shell.helpCalls()[0].helpFile, "C:\\Program Files\\Quillon\\Quillon.hlp");
    EXPECT_EQ(m.shell.helpCalls()[0].command, HelpCommand::Finder);
    command(IDM_MAIN_WWW);
    ASSERT_EQ(m.shell.executed().size(), 1u);
    EXPECT_EQ(m.shell.executed()[0].file.rfind("https://", 0), 0u);
}

TEST_F(MainWindow, ClosingStoresTheSelectedDrive) {
    ui::ComboBox(hwnd(), IDC_MAIN_CMBDRIVES).select(2);
    PostMessageA(hwnd(), WM_CLOSE, 0, 0);
    ASSERT_TRUE(uitest::pumpUntil([&] { return !IsWindow(hwnd()); }));
    EXPECT_EQ(m.registry.stringValue(Hive::CurrentUser, settings::GeneralKey, "DriveName"), "Local hard drives (C:,D:)");
}

}  // namespace
}  // namespace quillon::shell
