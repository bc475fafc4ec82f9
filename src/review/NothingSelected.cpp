#include "review/NothingSelected.h"

#include <string>

namespace quillon::review {

bool somethingSelected(Prompter& prompter, const Selection& selection, std::string_view title,
                       std::string_view button) {
    if (countSelectedChanges(selection) != 0) return true;
    prompter.message({"No files or system changes selected. Select a file or a system change and then click on " +
                          std::string(button) + ".",
                      std::string(title), MsgIcon::Exclamation, MsgButtons::Ok});
    return false;
}

}  // namespace quillon::review
