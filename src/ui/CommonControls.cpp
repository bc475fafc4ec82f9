#include "ui/CommonControls.h"

#include <windows.h>
#include <commctrl.h>

namespace quillon::ui {

bool initCommonControls() noexcept {
    INITCOMMONCONTROLSEX icc{};
    icc.dwSize = sizeof icc;
    icc.dwICC = ICC_WIN95_CLASSES | ICC_TAB_CLASSES | ICC_PROGRESS_CLASS | ICC_BAR_CLASSES | ICC_LISTVIEW_CLASSES;
    return InitCommonControlsEx(&icc) != FALSE;
}

}  // namespace quillon::ui
