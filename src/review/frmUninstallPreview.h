#pragma once
// The confirmation before an uninstall from a removal list: the question, how many entries of
// each kind the preview found, Yes, No and "Details..." for the entries themselves.
#include <windows.h>

#include "review/UninstallPreview.h"
#include "ui/Dialog.h"

namespace quillon::review {

class frmUninstallPreview final : public ui::Dialog {
public:
    frmUninstallPreview(UninstallPreview& preview, FileSystem& files, Prompter& prompter);

private:
    std::optional<LRESULT> onMessage(UINT msg, WPARAM wp, LPARAM lp) override;
    void onCommand(int id, int code, HWND control) override;
    void onClose() override;

    UninstallPreview& preview_;
    FileSystem& files_;
    Prompter& prompter_;
};

// The preview prompt of the uninstall, over one owner window (none: on its own).
class UninstallPreviewPrompt final : public PreviewPrompt {
public:
    UninstallPreviewPrompt(HWND owner, FileSystem& files, Prompter& prompter) noexcept
        : owner_(owner), files_(files), prompter_(prompter) {}
    bool confirm(UninstallPreview& preview) override;

private:
    HWND owner_;
    FileSystem& files_;
    Prompter& prompter_;  // the export's save dialog
};

}  // namespace quillon::review
