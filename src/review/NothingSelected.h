#pragma once
// The refusal the commands on selected rows share when nothing is selected.
#include <string_view>

#include "platform/Prompter.h"
#include "review/ChangeSet.h"

namespace quillon::review {

// True when a row is selected; otherwise tells the user, under `title`, to select one and
// click on `button`, and returns false.
bool somethingSelected(Prompter& prompter, const Selection& selection, std::string_view title,
                       std::string_view button);

}  // namespace quillon::review
