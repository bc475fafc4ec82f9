#include "review/frmInUseDLL.h"

#include <array>
#include <utility>

#include "app/resource.h"
#include "ui/Control.h"
#include "ui/Layout.h"

namespace quillon::review {

namespace {

using namespace ui::Metrics;

constexpr int W = 260;
constexpr int IconSize = 21;  // a 32-pixel icon in dialog units of the usual font
constexpr int TextX = margin + IconSize + groupGap;
constexpr int TextH = 48;     // room for a long path, broken over several lines
constexpr int ButtonY = margin + TextH + groupGap;
constexpr int H = ButtonY + buttonHeight + margin;
constexpr int FirstButtonX = W - margin - 3 * buttonWidth - 2 * gap;

constexpr int buttonX(int index) { return FirstButtonX + index * (buttonWidth + gap); }

ui::DialogSpec windowLayout() {
    ui::DialogSpec layout;
    layout.title = std::string(InUseCaption);
    layout.width = W;
    layout.height = H;
    return layout;
}

}  // namespace

frmInUseDLL::frmInUseDLL(std::string path) : Dialog(windowLayout()), path_(std::move(path)) {}

InUseAnswer frmInUseDLL::ask(HWND owner) { return inUseAnswerFor(showModal(owner)); }

std::optional<LRESULT> frmInUseDLL::onMessage(UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_INITDIALOG) {
        onCreate();
        // Enter must not delete a file other programs may need: the focus starts on Skip.
        SetFocus(item(IDC_INUSE_CMDSKIP));
        return FALSE;
    }
    return Dialog::onMessage(msg, wp, lp);
}

void frmInUseDLL::onCreate() {
    const std::string message = inUseMessage(path_);
    const std::array controls{
        ui::ControlSpec{IDC_INUSE_IMGWARNING, "STATIC", "", SS_ICON, margin, margin, IconSize, IconSize},
        ui::ControlSpec{IDC_INUSE_LBLMSG, "STATIC", message.c_str(), SS_LEFT | SS_NOPREFIX, TextX, margin,
                        W - margin - TextX, TextH},
        ui::button(IDC_INUSE_CMDDELETE, "&Delete", buttonX(0), ButtonY),
        ui::button(IDC_INUSE_CMDDELETEALL, "Delete &All", buttonX(1), ButtonY),
        ui::defaultButton(IDC_INUSE_CMDSKIP, "&Skip", buttonX(2), ButtonY),
    };
    ui::createControls(hwnd(), controls);
    // A shared system icon: nobody destroys it.
    SendMessageW(item(IDC_INUSE_IMGWARNING), STM_SETICON, reinterpret_cast<WPARAM>(LoadIconW(nullptr, ui::systemResource(IDI_WARNING))),
                 0);
    setDefaultButton(IDC_INUSE_CMDSKIP);
}

void frmInUseDLL::onCommand(int id, int code, HWND control) {
    switch (id) {
        case IDC_INUSE_CMDDELETE: endModal(static_cast<int>(InUseEndCode::Delete)); return;
        case IDC_INUSE_CMDDELETEALL: endModal(static_cast<int>(InUseEndCode::DeleteAll)); return;
        case IDC_INUSE_CMDSKIP: endModal(static_cast<int>(InUseEndCode::Skip)); return;
        default: Dialog::onCommand(id, code, control);
    }
}

void frmInUseDLL::onClose() { endModal(static_cast<int>(InUseEndCode::Skip)); }

InUseAnswer InUseDllPrompt::ask(std::string_view path) {
    frmInUseDLL window{std::string(path)};
    return window.ask(owner_);
}

}  // namespace quillon::review
