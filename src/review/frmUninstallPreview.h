#pragma once
// The confirmation before an uninstall from a removal list: the question, how many entries of
// each kind the preview found, Yes, No and "Details..." for the entries themselves.
#include <windows.h>

#include "review/UninstallPreview.h"
#include "ui/Dialog.h"

namespace quillon::review {

class frmUninstallPreview final : public ui::Dialog {
public:
    explicit frmUninstallPreview(UninstallPreview& preview);

private:
    std::optional<LRESULT> onMessage(UINT msg, WPARAM wp, LPARAM lp) override;
    void onCommand(int id, int code, HWND control) override;
    void onClose() override;

    UninstallPreview& preview_;
};

// The preview prompt of the uninstall, over one owner window (none: on its own).
class UninstallPreviewPrompt final : public PreviewPrompt {
public:
    explicit UninstallPreviewPrompt(HWND owner) noexcept : owner_(owner) {}
    bool confirm(UninstallPreview& preview) override;

private:
    HWND owner_;
};

}  // namespace quillon::review
