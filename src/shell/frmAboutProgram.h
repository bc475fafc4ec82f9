#pragma once
// The about box of both programs: name, version, the web page and the support e-mail.
#include "platform/Shell.h"
#include "ui/Dialog.h"

namespace quillon::shell {

class frmAboutProgram final : public ui::Dialog {
public:
    explicit frmAboutProgram(Shell& shell);

private:
    void onCreate() override;
    void onCommand(int id, int code, HWND control) override;

    Shell& shell_;
};

}  // namespace quillon::shell
