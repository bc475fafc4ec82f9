#pragma once
// The uninstall preview entry by entry, grouped by what the preview found, each with a check
// box: ticked entries go. Only entries that may go can be ticked; OK keeps the ticks.
#include <windows.h>

#include <vector>

#include "review/UninstallPreview.h"
#include "ui/Dialog.h"

namespace quillon::review {

class frmPreviewDetails final : public ui::Dialog {
public:
    // `readOnly`: a list under review, whose ticks decide nothing.
    frmPreviewDetails(UninstallPreview& preview, FileSystem& files, Prompter& prompter, bool readOnly = false);

private:
    std::optional<LRESULT> onMessage(UINT msg, WPARAM wp, LPARAM lp) override;
    std::optional<LRESULT> onNotify(const NMHDR& header) override;
    void onCommand(int id, int code, HWND control) override;

    // The ticks as the list shows them now.
    void ticksInto(UninstallPreview& preview) const;

    UninstallPreview& preview_;
    FileSystem& files_;
    Prompter& prompter_;
    bool readOnly_;
    bool filling_ = false;  // the window's own ticks while it fills the list
};

}  // namespace quillon::review
