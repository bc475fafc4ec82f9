#include "review/frmPreviewDetails.h"

#include <commctrl.h>

#include <array>

#include "app/resource.h"
#include "ui/Layout.h"
#include "ui/ListView.h"
#include "ui/ScopeGuards.h"
#include "platform/ScopedFlag.h"

namespace quillon::review {
namespace {

using namespace ui::Metrics;

constexpr int W = 480;
constexpr int H = 250;
constexpr int HelpH = 2 * labelHeight;
constexpr int ListY = margin + HelpH + gap;
constexpr int ButtonY = H - margin - buttonHeight;
constexpr int ListH = ButtonY - groupGap - ListY;

constexpr std::array<ui::ColumnSpec, 4> Columns{{
    {"Entry", 38}, {"Found", 25}, {"Why", 25}, {"Kind", 12}}};

ui::DialogSpec windowLayout() {
    ui::DialogSpec layout;
    layout.title = "Uninstall preview -Quillon";
    layout.width = W;
    layout.height = H;
    return layout;
}

}  // namespace

frmPreviewDetails::frmPreviewDetails(UninstallPreview& preview, FileSystem& files, Prompter& prompter, bool readOnly)
    : Dialog(windowLayout()), preview_(preview), files_(files), prompter_(prompter), readOnly_(readOnly) {}

std::optional<LRESULT> frmPreviewDetails::onMessage(UINT msg, WPARAM wp, LPARAM lp) {
    if (msg != WM_INITDIALOG) return Dialog::onMessage(msg, wp, lp);
    const char* help = readOnly_ ? "What an uninstall of this removal list would do now: ticked entries would go, and "
                                   "shared or changed ones only when ticked in the uninstall's own preview."
                       : preview_.sharedAndChangedMayGo
                           ? "Ticked entries are removed. Entries another saved list also names, or that changed since "
                             "the list was saved, go only when you tick them."
                           : "Ticked entries are removed. Entries another saved list also names, or that changed since "
                             "the list was saved, stay: they are written back into the list with the reason.";
    const std::array controls{
        ui::label(IDC_DETAILS_LBLHELP, help, margin, margin, W - 2 * margin, HelpH),
        ui::listView(IDC_DETAILS_LVWENTRIES, margin, ListY, W - 2 * margin, ListH, true),
        ui::button(IDC_DETAILS_CMDEXPORT, "&Export...", margin, ButtonY),
        ui::defaultButton(IDOK, "OK", W - margin - 2 * buttonWidth - gap, ButtonY),
        ui::button(IDCANCEL, "Cancel", W - margin - buttonWidth, ButtonY),
    };
    ui::createControls(hwnd(), controls);
    const ui::ListView list(hwnd(), IDC_DETAILS_LVWENTRIES);
    list.addColumns(Columns);
    list.setFullRowSelect(true);
    list.setCheckBoxes(true);
    const ScopedFlag filling(filling_);
    const ui::RedrawPause pause(list.hwnd());
    for (const PreviewEntry& e : preview_.entries) {
        const int row = list.addRow({e.item, previewClassName(e.what), e.reason, previewKindName(e.kind)});
        list.setChecked(row, e.ticked && preview_.mayTick(e));
    }
    setDefaultButton(IDOK);
    return TRUE;
}

// A box the preview does not let the user tick stays as it is.
std::optional<LRESULT> frmPreviewDetails::onNotify(const NMHDR& header) {
    if (header.idFrom != IDC_DETAILS_LVWENTRIES || header.code != LVN_ITEMCHANGING || filling_)
        return Dialog::onNotify(header);
    const auto& change = reinterpret_cast<const NMLISTVIEW&>(header);
    const bool boxChanges = (change.uChanged & LVIF_STATE) && ((change.uNewState ^ change.uOldState) & LVIS_STATEIMAGEMASK);
    const auto row = static_cast<std::size_t>(change.iItem);
    if (boxChanges && (readOnly_ || (row < preview_.entries.size() && !preview_.mayTick(preview_.entries[row])))) return TRUE;
    return Dialog::onNotify(header);
}

void frmPreviewDetails::ticksInto(UninstallPreview& preview) const {
    const ui::ListView list(hwnd(), IDC_DETAILS_LVWENTRIES);
    for (std::size_t row = 0; row < preview.entries.size(); ++row)
        preview.entries[row].ticked = list.isChecked(static_cast<int>(row));
}

void frmPreviewDetails::onCommand(int id, int code, HWND control) {
    if (id == IDC_DETAILS_CMDEXPORT) {
        // What the window shows, ticks included; Cancel afterwards still keeps the ticks as they were.
        UninstallPreview shown = preview_;
        ticksInto(shown);
        exportTable(files_, prompter_, previewTable(shown), "Uninstall preview of " + preview_.program);
        return;
    }
    if (id == IDOK) ticksInto(preview_);
    Dialog::onCommand(id, code, control);
}

}  // namespace quillon::review
