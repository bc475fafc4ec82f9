#pragma once
// The viewer's "&Print selected": a report of the selected rows of the six lists on the default
// printer, one section per list that has a selected row.
#include <string>

#include "platform/Printer.h"
#include "platform/Prompter.h"
#include "review/ChangeSet.h"

namespace quillon::review {

// The two texts of the report's header: the removal list under review (empty after a fresh
// "Find changes") and the date of what the viewer shows.
struct ReportHeader {
    std::string fileName;
    std::string fileDate;
};

enum class PrintOutcome {
    NothingSelected,  // the user was told; nothing was printed
    Printed,
    NotPrinted,       // the printer failed; the user was told
};

PrintOutcome printSelected(Printer& printer, Prompter& prompter, const ChangeSet& changes, const Selection& selection,
                           const ReportHeader& header);

}  // namespace quillon::review
