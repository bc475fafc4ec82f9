// The printed report of the viewer's selected rows. Its page is read back where it is printed on a
// real queue; here, what the logic alone decides.
#include <gtest/gtest.h>

#include "review/ChangeReport.h"
#include "support/FakeMachine.h"

namespace quillon::review {
namespace {

TEST(ChangeReport, PrintsAPlaceholderRowAndTellsWhenThePrinterFails) {
    fakes::FakeMachine m;
    ChangeSet changes;
    changes.keys = {{"Foo", "HKEY_LOCAL_MACHINE\\Software\\"}, KeyRow::placeholder()};
    EXPECT_EQ(printSelected(m.printer, m.prompter, changes, {.keys = {1, 0}}, {"", "12/7/2026 10:00:00"}),
              PrintOutcome::Printed);
    // Without a parent key the placeholder's line still ends.
    EXPECT_NE(m.printer.page.find("\n1000:Scanning not enabled.\n1000:Foo 6360:HKEY_LOCAL_MACHINE\\Software\\\n"),
              std::string::npos);

    // A selection of one line alone is a selection.
    fakes::FakeMachine failing;
    failing.prompter.answer(MsgAnswer::Ok);
    failing.printer.failing = true;
    changes.linesOf(ConfigList::SystemIni) = {{"load=x", " "}};
    EXPECT_EQ(printSelected(failing.printer, failing.prompter, changes, {.lines = {{{}, {0}, {}, {}}}}, {}),
              PrintOutcome::NotPrinted);
}

}  // namespace
}  // namespace quillon::review
