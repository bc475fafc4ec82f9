#include "ui/Dialog.h"

#include <string_view>
#include <utility>
#include <vector>

#include "platform/win32/Utf.h"
#include "ui/Layout.h"

namespace quillon::ui {

namespace {

constexpr int fallbackPointSize = 8;

void appendDword(std::vector<WORD>& t, DWORD value) {
    t.push_back(LOWORD(value));
    t.push_back(HIWORD(value));
}

// Template strings are UTF-16 whatever API reads them.
void appendText(std::vector<WORD>& t, std::wstring_view text) {
    for (wchar_t c : text) t.push_back(static_cast<WORD>(c));
    t.push_back(0);
}

// The message font, as Window uses for its children, so both kinds of window look alike.
std::pair<std::wstring, int> dialogFont() {
    LOGFONTW font{};
    if (!messageFont(font) || font.lfHeight == 0 || font.lfFaceName[0] == L'\0') {
        return {L"MS Shell Dlg", fallbackPointSize};
    }
    const win32::WindowDc screen;
    const int dpi = screen ? GetDeviceCaps(screen.get(), LOGPIXELSY) : 96;
    const int points = MulDiv(font.lfHeight < 0 ? -font.lfHeight : font.lfHeight, 72, dpi);
    return {font.lfFaceName, points > 0 ? points : fallbackPointSize};
}

std::vector<WORD> buildTemplate(const DialogSpec& desc) {
    std::vector<WORD> t;
    appendDword(t, (desc.style | DS_SETFONT) & ~DWORD{WS_VISIBLE});
    appendDword(t, desc.exStyle);
    t.push_back(0);  // no controls: they are made in onCreate
    t.push_back(0);  // x, y: DS_CENTER or the system
    t.push_back(0);
    t.push_back(static_cast<WORD>(desc.width));
    t.push_back(static_cast<WORD>(desc.height));
    t.push_back(0);  // no menu
    t.push_back(0);  // the dialog manager's class
    appendText(t, win32::wide(desc.title));
    const auto [face, points] = dialogFont();
    t.push_back(static_cast<WORD>(points));
    appendText(t, face);
    return t;
}

// Most messages answer through DWLP_MSGRESULT; these few return their value directly.
INT_PTR dialogResult(HWND hwnd, UINT msg, LRESULT value) noexcept {
    switch (msg) {
        case WM_INITDIALOG:
        case WM_CTLCOLORMSGBOX:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORLISTBOX:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLORDLG:
        case WM_CTLCOLORSCROLLBAR:
        case WM_CTLCOLORSTATIC:
        case WM_COMPAREITEM:
        case WM_VKEYTOITEM:
        case WM_CHARTOITEM:
        case WM_QUERYDRAGICON:
            return static_cast<INT_PTR>(value);
        default:
            SetWindowLongPtrW(hwnd, DWLP_MSGRESULT, value);
            return TRUE;
    }
}

}  // namespace

Dialog::Dialog(DialogSpec desc) : spec_(std::move(desc)) {}

Dialog::Dialog(int resourceId) : resourceId_(resourceId) {}

HWND Dialog::createIndirect(HWND owner) {
    const std::vector<WORD> t = buildTemplate(spec_);
    return CreateDialogIndirectParamW(GetModuleHandleW(nullptr), reinterpret_cast<LPCDLGTEMPLATEW>(t.data()), owner,
                                      dialogProc, reinterpret_cast<LPARAM>(this));
}

int Dialog::showModal(HWND owner) {
    if (hwnd()) return -1;
    if (owner) owner = GetAncestor(owner, GA_ROOT);
    result_ = IDCANCEL;
    running_ = true;
    HWND dialog = resourceId_ != 0
                      ? CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(resourceId_), owner, dialogProc,
                                           reinterpret_cast<LPARAM>(this))
                      : createIndirect(owner);
    if (!dialog) {
        running_ = false;
        return -1;
    }
    // An owner already disabled belongs to an outer modal window, which will enable it.
    const bool disableOwner = owner && IsWindowEnabled(owner);
    if (disableOwner) EnableWindow(owner, FALSE);
    if (hwnd()) ShowWindow(dialog, SW_SHOW);

    MSG msg;
    while (running_ && hwnd()) {
        const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0) {
            PostQuitMessage(static_cast<int>(msg.wParam));  // the program's loop must see it too
            result_ = IDCANCEL;
            break;
        }
        if (got == -1) {
            result_ = IDCANCEL;
            break;
        }
        if (!IsDialogMessageW(dialog, &msg)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    running_ = false;

    // The owner is enabled before the dialog goes, so the system activates it and not some
    // other program's window.
    if (disableOwner) EnableWindow(owner, TRUE);
    if (HWND h = hwnd()) DestroyWindow(h);
    if (owner && IsWindowEnabled(owner)) SetActiveWindow(owner);
    return result_;
}

void Dialog::endModal(int result) {
    result_ = result;
    running_ = false;
    if (hwnd()) PostMessageW(hwnd(), WM_NULL, 0, 0);  // wakes the loop if it waits
}

void Dialog::setDefaultButton(int id) const noexcept {
    SendMessageW(hwnd(), DM_SETDEFID, static_cast<WPARAM>(id), 0);
}

void Dialog::onCommand(int id, int, HWND) {
    if (id == IDOK || id == IDCANCEL) endModal(id);
}

void Dialog::onClose() { endModal(IDCANCEL); }

INT_PTR CALLBACK Dialog::dialogProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) noexcept {
    Window* self = nullptr;
    if (msg == WM_INITDIALOG) {
        self = reinterpret_cast<Dialog*>(lp);
        if (self) self->attach(hwnd);
    } else {
        self = fromHandle(hwnd);
    }
    if (!self) return FALSE;
    INT_PTR result = FALSE;
    try {
        if (auto handled = self->dispatch(msg, wp, lp)) result = dialogResult(hwnd, msg, *handled);
    } catch (...) {
        result = msg == WM_INITDIALOG ? TRUE : FALSE;  // a failing handler is passed over
    }
    // Let go at WM_DESTROY: from then on the window only takes itself apart.
    if (msg == WM_DESTROY) self->detach();
    return result;
}

}  // namespace quillon::ui
