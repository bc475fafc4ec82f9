// The report of a viewer's rows in every list on Wine's default printer, a PDF queue that
// report.sh reads back; with QUILLON_NO_PRINTER set there is none.
#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/win32/Win32Printer.h"
#include "review/ChangeReport.h"
#include "support/ScriptedPrompter.h"

namespace quillon::review {
namespace {

// Files enough for a second page, and a folder row whose folder wraps.
TEST(Report, PrintsEveryListOnTheDefaultPrinterOrSaysWhyNot) {
    const bool noPrinter = std::getenv("QUILLON_NO_PRINTER") != nullptr;
    ChangeSet changes;
    Selection all{.keys = {0}, .lines = {{{0}, {0}, {0}, {0}}}};
    for (int i = 1; i <= 70; ++i)
        changes.files.push_back({"file" + std::to_string(100 + i).substr(1) + ".txt", "C:\\Apps\\", "1KB", "Text Document"});
    changes.files.push_back({"Plugins", "C:\\Program Files\\VendorWithAVeryLongName\\ToolsAndPlugins\\Version2\\", "0KB",
                             "Folder"});
    for (std::size_t i = 0; i < changes.files.size(); ++i) all.files.push_back(i);
    changes.keys = {{"Tool", "HKEY_CURRENT_USER\\Software\\Vendor\\"}};
    for (auto& lines : changes.lines) lines = {{"device=new.386", "device=old.386"}};
    fakes::ScriptedPrompter prompter;
    if (noPrinter) prompter.answer(MsgAnswer::Ok);
    win32::Win32Printer printer;
    EXPECT_EQ(printSelected(printer, prompter, changes, all, {"NewApp.qdf", "12/7/2026 10:00:00"}),
              noPrinter ? PrintOutcome::NotPrinted : PrintOutcome::Printed);
}

}  // namespace
}  // namespace quillon::review
