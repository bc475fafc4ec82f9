#pragma once
// Modal windows. A dialog is built either from a template in the .rc file or from an empty
// template made here, whose controls onCreate() lays out from a table (Layout.h). Inputs are
// set before showModal(), results read after it: the controls are gone by then.
#include <string>

#include "ui/Window.h"

namespace quillon::ui {

// A dialog laid out in code: caption and client size in dialog units.
struct DialogSpec {
    std::string title;
    int width = 0;
    int height = 0;
    DWORD style = DS_MODALFRAME | DS_CENTER | WS_POPUP | WS_CAPTION | WS_SYSMENU;
    DWORD exStyle = 0;
};

class Dialog : public Window {
public:
    // Disables the owner, runs until endModal() or the window is gone, gives the owner back
    // its input and activation, and returns the endModal() value: -1 when the window could not
    // be made, IDCANCEL when a WM_QUIT ended the program's loop (the quit is posted again).
    int showModal(HWND owner);

protected:
    explicit Dialog(DialogSpec desc);
    explicit Dialog(int resourceId);

    // Ends the modal loop once the present message is handled.
    void endModal(int result);
    // The button Enter presses.
    void setDefaultButton(int id) const noexcept;

    // IDOK and IDCANCEL (Enter, Esc) end the dialog with their id.
    void onCommand(int id, int code, HWND control) override;
    // The close box ends it with IDCANCEL.
    void onClose() override;

private:
    static INT_PTR CALLBACK dialogProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) noexcept;
    HWND createIndirect(HWND owner);

    DialogSpec spec_;
    int resourceId_ = 0;
    bool running_ = false;
    int result_ = IDCANCEL;
};

}  // namespace quillon::ui
