#pragma once
// A tab strip; the pages are ordinary children of the parent that it shows and hides.
#include <optional>
#include <string>
#include <string_view>

#include "ui/Control.h"

namespace quillon::ui {

class TabControl : public Control {
public:
    using Control::Control;

    int addTab(std::string_view caption) const;
    void removeTab(int index) const noexcept { send(TCM_DELETEITEM, static_cast<WPARAM>(index)); }
    int count() const noexcept { return static_cast<int>(send(TCM_GETITEMCOUNT)); }
    std::string caption(int index) const;
    void setCaption(int index, std::string_view caption) const;
    int current() const noexcept { return static_cast<int>(send(TCM_GETCURSEL)); }
    // Like a click on the tab, but without the change notification.
    void setCurrent(int index) const noexcept { send(TCM_SETCURSEL, static_cast<WPARAM>(index)); }

    // Whether a WM_NOTIFY is this strip's report that the user chose another tab.
    bool isSelectionChange(const NMHDR& header) const noexcept {
        return sent(header) && header.code == static_cast<UINT>(TCN_SELCHANGE);
    }
    // The area below the tabs, in the parent's client coordinates: where the pages go.
    RECT pageArea() const noexcept;
    // Paints the page's own background into a control that lies on the page (its
    // WM_CTLCOLORSTATIC device context), where the dialog's colour would otherwise show as a
    // band. False when the strip is not drawn with a visual style: the page then has the
    // dialog's colour anyway.
    bool paintPageBehind(HWND control, HDC dc) const noexcept;
    // The parent's answer to WM_CTLCOLORSTATIC for the controls of ids firstId..lastId (those on
    // the pages): a hollow brush over the painted page; nullopt for any other control.
    std::optional<LRESULT> pageBackground(WPARAM wp, LPARAM lp, int firstId, int lastId) const noexcept;
};

}  // namespace quillon::ui
