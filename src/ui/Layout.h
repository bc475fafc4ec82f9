#pragma once
// Child controls laid out from tables in dialog units, so that a window built in code and a
// dialog from the .rc file measure alike and follow the font.
#include <windows.h>
#include <commctrl.h>

#include <span>

#include "platform/win32/Handles.h"

namespace quillon::ui {

// The usual Windows spacing, in dialog units; every window takes its margins from here.
namespace Metrics {
inline constexpr int margin = 7;         // window edge to controls
inline constexpr int gap = 4;            // between related controls
inline constexpr int groupGap = 7;       // between groups
inline constexpr int buttonWidth = 50;
inline constexpr int buttonHeight = 14;
inline constexpr int editHeight = 14;
inline constexpr int comboHeight = 12;   // closed; the table gives the dropped-down height
inline constexpr int labelHeight = 8;
inline constexpr int checkHeight = 10;
inline constexpr int labelOffset = 3;    // a label beside an edit or combo sits this much lower
}  // namespace Metrics

// Dialog units of a font: horizontal = a quarter of its average character width, vertical =
// an eighth of its height (the dialog manager's own rule).
class DialogUnits {
public:
    explicit DialogUnits(HFONT font) noexcept;
    // A dialog's own units; for any other window those of its font.
    static DialogUnits of(HWND window) noexcept;

    int x(int dlu) const noexcept { return MulDiv(dlu, baseX_, 4); }
    int y(int dlu) const noexcept { return MulDiv(dlu, baseY_, 8); }
    RECT rect(int x0, int y0, int width, int height) const noexcept;

private:
    DialogUnits(int baseX, int baseY) noexcept : baseX_(baseX), baseY_(baseY) {}
    int baseX_ = 1;
    int baseY_ = 1;
};

// One child control; WS_CHILD | WS_VISIBLE are added. Tables of these are usually built with
// the factories below. Positions are dialog units of the parent's client area.
struct ControlSpec {
    int id = 0;
    const char* className = nullptr;  // ASCII
    const char* text = "";            // UTF-8
    DWORD style = 0;
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    DWORD exStyle = 0;
};

constexpr ControlSpec label(int id, const char* text, int x, int y, int width, int height = Metrics::labelHeight) {
    return {id, "STATIC", text, SS_LEFT, x, y, width, height};
}
constexpr ControlSpec button(int id, const char* text, int x, int y, int width = Metrics::buttonWidth,
                             int height = Metrics::buttonHeight) {
    return {id, "BUTTON", text, BS_PUSHBUTTON | WS_TABSTOP, x, y, width, height};
}
constexpr ControlSpec defaultButton(int id, const char* text, int x, int y, int width = Metrics::buttonWidth,
                                    int height = Metrics::buttonHeight) {
    return {id, "BUTTON", text, BS_DEFPUSHBUTTON | WS_TABSTOP, x, y, width, height};
}
constexpr ControlSpec checkBox(int id, const char* text, int x, int y, int width,
                               int height = Metrics::checkHeight) {
    return {id, "BUTTON", text, BS_AUTOCHECKBOX | WS_TABSTOP, x, y, width, height};
}
// The first button of a group starts a new group and takes the tab stop.
constexpr ControlSpec radioButton(int id, const char* text, bool firstOfGroup, int x, int y, int width,
                                  int height = Metrics::checkHeight) {
    return {id, "BUTTON", text, BS_AUTORADIOBUTTON | (firstOfGroup ? WS_GROUP | WS_TABSTOP : 0u), x, y, width, height};
}
constexpr ControlSpec groupBox(int id, const char* text, int x, int y, int width, int height) {
    return {id, "BUTTON", text, BS_GROUPBOX, x, y, width, height};
}
constexpr ControlSpec edit(int id, int x, int y, int width, int height = Metrics::editHeight, DWORD extraStyle = 0) {
    return {id, "EDIT", "", ES_AUTOHSCROLL | WS_TABSTOP | extraStyle, x, y, width, height, WS_EX_CLIENTEDGE};
}
// A drop-down list without free text; height is that of the open list.
constexpr ControlSpec dropDownList(int id, int x, int y, int width, int height = 100) {
    return {id, "COMBOBOX", "", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, x, y, width, height};
}
// The common controls' classes go by their registered names (WC_LISTVIEW is "SysListView32"...).
// Report view. The list never destroys the image lists given to it: their owners do.
constexpr ControlSpec listView(int id, int x, int y, int width, int height, bool multiSelect) {
    return {id,
            "SysListView32",
            "",
            LVS_REPORT | LVS_SHOWSELALWAYS | LVS_SHAREIMAGELISTS | WS_TABSTOP | (multiSelect ? 0u : LVS_SINGLESEL),
            x,
            y,
            width,
            height,
            WS_EX_CLIENTEDGE};
}
// Report view over rows its parent keeps (see VirtualListView).
constexpr ControlSpec virtualListView(int id, int x, int y, int width, int height, bool multiSelect) {
    ControlSpec desc = listView(id, x, y, width, height, multiSelect);
    desc.style |= LVS_OWNERDATA;
    return desc;
}
constexpr ControlSpec tabControl(int id, int x, int y, int width, int height) {
    return {id, "SysTabControl32", "", WS_TABSTOP | WS_CLIPSIBLINGS, x, y, width, height};
}
// Places itself along the bottom edge; the position in the table is ignored.
constexpr ControlSpec statusBar(int id, bool sizeGrip) {
    return {id, "msctls_statusbar32", "", sizeGrip ? SBARS_SIZEGRIP : 0u, 0, 0, 0, 0};
}
constexpr ControlSpec progressBar(int id, int x, int y, int width, int height = 10) {
    return {id, "msctls_progress32", "", 0, x, y, width, height};
}
// Attaches itself to the control created just before it and shows its number.
constexpr ControlSpec upDown(int id) {
    return {id, "msctls_updown32", "", UDS_SETBUDDYINT | UDS_ALIGNRIGHT | UDS_AUTOBUDDY | UDS_ARROWKEYS | UDS_NOTHOUSANDS,
            0, 0, 0, 0};
}
constexpr ControlSpec animation(int id, int x, int y, int width, int height) {
    return {id, "SysAnimate32", "", ACS_CENTER | ACS_TRANSPARENT, x, y, width, height};
}

// Creates one control (null when the system refused) or a whole table, in table order, which
// is also the tab order; every control gets the parent's font.
HWND createControl(HWND parent, const ControlSpec& desc, const DialogUnits& units, HFONT font);
bool createControls(HWND parent, std::span<const ControlSpec> specs);

// The system's message font (the one dialogs and message boxes use): its description, false
// when the system gives none; and the font itself, or an empty handle.
bool messageFont(LOGFONTW& font);
win32::FontHandle createMessageFont();

// Gives every child window, at any depth, the font.
void applyFont(HWND parent, HFONT font);

// Shows or hides the listed children (the pages of a tab control).
void showControls(HWND parent, std::span<const int> ids, bool visible);

// A tab's page: the controls of one id range of a window's control table.
struct PageRange {
    const char* caption;
    int firstId;
    int lastId;
};
// Shows the controls of one page and hides those of every other page.
void showPage(HWND parent, std::span<const ControlSpec> controls, std::span<const PageRange> pages, int page);

}  // namespace quillon::ui
