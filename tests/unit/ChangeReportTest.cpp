// The printed report of the viewer's selected rows, laid out by the recording printer.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "review/ChangeReport.h"
#include "support/FakeMachine.h"

namespace quillon::review {
namespace {

using Lines = std::vector<std::string>;
constexpr const char* Deep = "C:\\Program Files\\A Vendor With A Long Name\\Tool\\";  // wraps after "Long N"

ChangeSet changes() {
    ChangeSet set;
    set.files = {{"setup.log", "C:\\Apps\\", "1KB", "Text Document"}, {"Tool", Deep, "12KB", "Folder"}};
    set.keys = {{"Foo", "HKEY_LOCAL_MACHINE\\Software\\"}, KeyRow::placeholder()};
    set.linesOf(ConfigList::SystemIni) = {{"device=a.386", " "}};
    return set;
}

// The header's seven lines come first, each list's gap after its rows.
TEST(ChangeReport, PrintsTheSelectedRowsOfEachListUnderItsHeadingsAtTheirColumns) {
    struct Case {
        const char* what;
        Selection selection;
        Lines body;  // the lines after the header
    };
    Selection key, folder, blank, placeholder;
    key.keys = {0};
    folder.files = {1, 0};
    blank.lines[1] = {0};
    placeholder.keys = {1, 0};
    const Case cases[] = {
        // The header and the five empty gaps, one after each list.
        {"one registry key alone", key,
         {"", "1000*:The following registry keys were added:", "", "1000*:Key name 6360*:In parent key",
          "1000:Foo 6360:HKEY_LOCAL_MACHINE\\Software\\", "", "", "", "", "", ""}},
        // The folder column ends at 8800 - 3 * 120 twips: the 39th character is the first past it.
        {"a folder longer than its column", folder,
         {"1000*:The following files and folders were added:", "",
          "1000*:Name 4000*:In folder 8800*:Size 10240*:Type",
          "1000:Tool 8800:12KB 10240:Folder 4000:C:\\Program Files\\A Vendor With A Long N", "4000:ame\\Tool\\",
          "1000:setup.log 8800:1KB 10240:Text Document 4000:C:\\Apps\\", "", "", "", "", "", "", ""}},
        {"a blank replaced line", blank,
         {"", "", "", "1000*:The following lines were added to the System.ini file:", "",
          "1000*:Line added 6360*:Replacing line", "1000:device=a.386 6360: ", "", "", "", ""}},
        // Without a parent key the placeholder's line still ends.
        {"a selected placeholder", placeholder,
         {"", "1000*:The following registry keys were added:", "", "1000*:Key name 6360*:In parent key",
          "1000:Scanning not enabled.", "1000:Foo 6360:HKEY_LOCAL_MACHINE\\Software\\", "", "", "", "", "", ""}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        fakes::FakeMachine m;
        EXPECT_EQ(printSelected(m.printer, m.prompter, changes(), c.selection, {"", "12/7/2026 10:00:00"}),
                  PrintOutcome::Printed);
        // After a fresh "Find changes" the file name is empty. Ended lines start at the edge.
        const Lines header{"", "", "0*/14:File name: ", "0*/14:File log creation date: 12/7/2026 10:00:00", "",
                           "0*/14:Quillon found the following changes to your system:", ""};
        ASSERT_GT(m.printer.lines.size(), header.size());
        EXPECT_EQ(Lines(m.printer.lines.begin(), m.printer.lines.begin() + 7), header);
        EXPECT_EQ(Lines(m.printer.lines.begin() + 7, m.printer.lines.end()), c.body);
        EXPECT_EQ(m.printer.calls.back(), "end");
        EXPECT_TRUE(m.prompter.messages().empty());
    }
}

TEST(ChangeReport, TellsTheUserWhenNothingIsSelectedOrThePrinterFails) {
    fakes::FakeMachine m;
    m.prompter.answer(MsgAnswer::Ok);
    m.prompter.answer(MsgAnswer::Ok);
    EXPECT_EQ(printSelected(m.printer, m.prompter, changes(), {}, {}), PrintOutcome::NothingSelected);
    EXPECT_TRUE(m.printer.calls.empty()) << "no page";
    m.printer.failing = true;
    Selection one;
    one.files = {0};
    EXPECT_EQ(printSelected(m.printer, m.prompter, changes(), one, {}), PrintOutcome::NotPrinted);
    ASSERT_EQ(m.prompter.messages().size(), 2u);
    const Lines texts{"No files or system changes selected. Select a file or a system change and then click on "
                      "Print selected.",
                      "The report could not be printed. Check that a default printer is installed and ready."};
    for (std::size_t i = 0; i < texts.size(); ++i) {
        EXPECT_EQ(m.prompter.messages()[i].text, texts[i]);
        EXPECT_EQ(m.prompter.messages()[i].title, "Error printing");
        EXPECT_EQ(m.prompter.messages()[i].icon, MsgIcon::Exclamation);
    }
}

}  // namespace
}  // namespace quillon::review
