#include "ui/FileFilter.h"

namespace quillon::ui {

std::string fileDialogFilter(std::string_view pipeSeparated) {
    if (pipeSeparated.empty()) return {};
    std::string filter(pipeSeparated);
    if (filter.back() == '|') filter.pop_back();  // a closing bar ends the last part already
    for (char& c : filter) {
        if (c == '|') c = '\0';
    }
    filter.push_back('\0');  // ends the last part; c_str() adds the closing NUL
    return filter;
}

}  // namespace quillon::ui
