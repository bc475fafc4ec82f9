// The printed report of the viewer's selected rows, laid out by the recording printer.
#include <gtest/gtest.h>

#include "review/ChangeReport.h"
#include "support/FakeMachine.h"

namespace quillon::review {
namespace {

ChangeSet changes() {
    ChangeSet set;
    set.files = {{"setup.log", "C:\\Apps\\", "1KB", "Text Document"},
                 {"Tool", "C:\\Program Files\\A Vendor With A Long Name\\Tool\\", "12KB", "Folder"}};
    set.keys = {{"Foo", "HKEY_LOCAL_MACHINE\\Software\\"}, KeyRow::placeholder()};
    return set;
}

TEST(ChangeReport, PrintsTheSelectedRowsOfEachListUnderItsHeadingsAtTheirColumns) {
    // After a fresh "Find changes" the file name is empty. Ended lines start at the edge.
    const std::string header = "\n\n0*/14:File name: \n0*/14:File log creation date: 12/7/2026 10:00:00\n\n"
                               "0*/14:Quillon found the following changes to your system:\n\n";
    const std::string keys = "1000*:The following registry keys were added:\n\n1000*:Key name 6360*:In parent key\n";
    const std::string foo = "1000:Foo 6360:HKEY_LOCAL_MACHINE\\Software\\\n";
    struct Case {
        const char* what;
        Selection selection;
        std::string body;  // after the header; an empty line after each list
    };
    const Case cases[] = {
        // The folder column ends at 8800 - 3 * 120 twips, which the 39th character passes.
        {"a folder longer than its column", {.files = {1, 0}},
         "1000*:The following files and folders were added:\n\n1000*:Name 4000*:In folder 8800*:Size 10240*:Type\n"
         "1000:Tool 8800:12KB 10240:Folder 4000:C:\\Program Files\\A Vendor With A Long N\n4000:ame\\Tool\\\n"
         "1000:setup.log 8800:1KB 10240:Text Document 4000:C:\\Apps\\\n\n\n\n\n\n\n"},
        // Without a parent key the placeholder's line still ends.
        {"a selected placeholder", {.keys = {1, 0}}, "\n" + keys + "1000:Scanning not enabled.\n" + foo + "\n\n\n\n\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        fakes::FakeMachine m;
        EXPECT_EQ(printSelected(m.printer, m.prompter, changes(), c.selection, {"", "12/7/2026 10:00:00"}),
                  PrintOutcome::Printed);
        EXPECT_EQ(m.printer.page, header + c.body);
        EXPECT_EQ(m.printer.calls.back(), "end");
    }
}

TEST(ChangeReport, TellsTheUserWhenNothingIsSelectedOrThePrinterFails) {
    fakes::FakeMachine m;
    m.prompter.answer(MsgAnswer::Ok);
    m.prompter.answer(MsgAnswer::Ok);
    EXPECT_EQ(printSelected(m.printer, m.prompter, changes(), {}, {}), PrintOutcome::NothingSelected);
    EXPECT_TRUE(m.printer.calls.empty()) << "no page";
    m.printer.failing = true;
    EXPECT_EQ(printSelected(m.printer, m.prompter, changes(), {.files = {0}}, {}), PrintOutcome::NotPrinted);
    EXPECT_EQ(m.prompter.messages().size(), 2u) << "one message each";
}

}  // namespace
}  // namespace quillon::review
