// The viewer's report on the default printer of Wine, which report.sh makes a PDF queue (and
// takes away for the second case); the script reads the printed words back.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "app/resource.h"
#include "platform/win32/Win32Printer.h"
#include "review/frmFoundChanges.h"
#include "shell/Settings.h"
#include "support/FakeMachine.h"
#include "support/TextLines.h"
#include "win32/UiDriver.h"

namespace quillon::review {
namespace {

using Lines = std::vector<std::string>;

// Rows in every list; the files are enough for a second page, the folder row's folder wraps.
void stage(fakes::FakeMachine& m) {
    const std::string s(1, settings::ListSeparator);
    Lines changes{"C:\\Apps\\{"};
    for (int i = 1; i <= 70; ++i) {
        char name[16];
        std::snprintf(name, sizeof name, "file%02d.txt", i);
        changes.emplace_back(name);
        m.files.addFile(std::string("C:\\Apps\\") + name, std::string(1500, 'x'));
    }
    const std::string folder = "C:\\Program Files\\VendorWithAVeryLongName\\ToolsAndPlugins\\Version2\\Plugins";
    m.files.addFolder(folder);
    changes.insert(changes.end(), {"}", "!" + folder + "\\{", "}"});
    m.files.addFile("C:\\changes.qdb", fakes::crlfText(changes));
    Lines sections;
    for (const char* section : {"Win.ini{", "System.ini{", "Autoexec.bat{", "Config.sys{"})
        sections.insert(sections.end(), {section, "device=new.386" + s, "device=old.386" + s, "}"});
    m.files.addFile("C:\\sysChanges.qdb", fakes::crlfText(sections));
    m.files.addFile("C:\\hkcuchanges.qdb", "Software\\Vendor\\Tool\r\n");
    m.registry.createKey(Hive::CurrentUser, "Software\\Vendor\\Tool");
    for (auto setting : {settings::scanning::RegScan, settings::scanning::WinIniScan, settings::scanning::SystemIniScan,
                         settings::scanning::AutoexecScan, settings::scanning::ConfigSysScan})
        m.registry.setString(Hive::CurrentUser, settings::ScanningKey, setting, "1");
    m.shell.setFileType(".txt", "Text Document", -1);
}

// Opens the viewer on the staged rows, selects them all, prints and closes it.
void printAll(fakes::FakeMachine& m) {
    stage(m);
    win32::Win32Printer printer;
    Ports ports{m.registry, m.files, m.shell, m.desktop, m.prompter, m.clock, printer};
    frmFoundChanges viewer(ports, {"C:\\", "NewApp.qdf", "12/7/2026 10:00:00", "C:\\"});
    uitest::WindowScript script(20000);
    script.when("Changes found  -Quillon", [&](HWND dialog) {
        for (int button : {IDC_FOUND_CMDSELECTALL, IDC_FOUND_CMDPRINT, IDC_FOUND_CMDOK}) uitest::postClick(dialog, button);
    }, [&] { return viewer.isLoaded(); });
    script.start();
    viewer.showModal(nullptr);
    EXPECT_TRUE(script.finished()) << script.failure();
}

TEST(Report, PrintsEveryListOnTheDefaultPrinter) {
    fakes::FakeMachine m;
    printAll(m);
    for (const MessageRequest& message : m.prompter.messages()) ADD_FAILURE() << message.text;
}

TEST(Report, WithoutAPrinterSaysSo) {
    fakes::FakeMachine m;
    m.prompter.answer(MsgAnswer::Ok);
    printAll(m);
    ASSERT_EQ(m.prompter.messages().size(), 1u);
    EXPECT_EQ(m.prompter.messages()[0].title, "Error printing");
    EXPECT_EQ(m.prompter.messages()[0].text,
              "The report could not be printed. Check that a default printer is installed and ready.");
}

}  // namespace
}  // namespace quillon::review
