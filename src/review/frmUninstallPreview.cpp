#include "review/frmUninstallPreview.h"

#include <algorithm>
#include <array>

#include "app/resource.h"
#include "review/frmPreviewDetails.h"
#include "ui/Control.h"
#include "ui/Layout.h"

namespace quillon::review {
namespace {

using namespace ui::Metrics;

constexpr int W = 280;
constexpr int IconSize = 21;  // a 32-pixel icon in dialog units of the usual font
constexpr int TextX = margin + IconSize + groupGap;
constexpr int DetailsWidth = 60;

// Room for each line of the question, and for the long ones to wrap once.
int textHeight(const std::string& question) {
    return (static_cast<int>(std::ranges::count(question, '\n')) + 3) * labelHeight;
}

ui::DialogSpec windowLayout(const UninstallPreview& preview) {
    ui::DialogSpec layout;
    layout.title = "Confirm Quillon Uninstall";
    layout.width = W;
    layout.height = margin + textHeight(previewQuestion(preview)) + groupGap + buttonHeight + margin;
    return layout;
}

}  // namespace

frmUninstallPreview::frmUninstallPreview(UninstallPreview& preview, FileSystem& files, Prompter& prompter)
    : Dialog(windowLayout(preview)), preview_(preview), files_(files), prompter_(prompter) {}

std::optional<LRESULT> frmUninstallPreview::onMessage(UINT msg, WPARAM wp, LPARAM lp) {
    if (msg != WM_INITDIALOG) return Dialog::onMessage(msg, wp, lp);
    const std::string question = previewQuestion(preview_);
    const int textH = textHeight(question);
    const int buttonY = margin + textH + groupGap;
    const std::array controls{
        ui::ControlSpec{IDC_PREVIEW_IMGICON, "STATIC", "", SS_ICON, margin, margin, IconSize, IconSize},
        ui::ControlSpec{IDC_PREVIEW_LBLQUESTION, "STATIC", question.c_str(), SS_LEFT | SS_NOPREFIX, TextX, margin,
                        W - margin - TextX, textH},
        ui::button(IDC_PREVIEW_CMDDETAILS, "&Details...", margin, buttonY, DetailsWidth),
        ui::defaultButton(IDYES, "&Yes", W - margin - 2 * buttonWidth - gap, buttonY),
        ui::button(IDNO, "&No", W - margin - buttonWidth, buttonY),
    };
    ui::createControls(hwnd(), controls);
    // A shared system icon: nobody destroys it.
    SendMessageW(item(IDC_PREVIEW_IMGICON), STM_SETICON,
                 reinterpret_cast<WPARAM>(LoadIconW(nullptr, ui::systemResource(IDI_INFORMATION))), 0);
    setDefaultButton(IDYES);
    SetFocus(item(IDYES));
    return FALSE;
}

void frmUninstallPreview::onCommand(int id, int code, HWND control) {
    switch (id) {
        case IDYES:
        case IDNO: endModal(id); return;
        case IDCANCEL: endModal(IDNO); return;
        case IDC_PREVIEW_CMDDETAILS: {
            frmPreviewDetails details(preview_, files_, prompter_);
            details.showModal(hwnd());
            return;
        }
        default: Dialog::onCommand(id, code, control);
    }
}

void frmUninstallPreview::onClose() { endModal(IDNO); }

bool UninstallPreviewPrompt::confirm(UninstallPreview& preview) {
    frmUninstallPreview window(preview, files_, prompter_);
    return window.showModal(owner_) == IDYES;
}

}  // namespace quillon::review
