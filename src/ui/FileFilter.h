#pragma once
#include <string>
#include <string_view>

namespace quillon::ui {

// "Text files|*.txt|All files|*.*" as the file dialogs want it: each part ended by a NUL and
// one more NUL after the last ("" stays empty: no filter). The result's c_str() is passed.
std::string fileDialogFilter(std::string_view pipeSeparated);

}  // namespace quillon::ui
