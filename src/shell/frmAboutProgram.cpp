#include "shell/frmAboutProgram.h"

#include "Version.h"
#include "app/resource.h"
#include "shell/Addresses.h"
#include "ui/Control.h"

namespace quillon::shell {

frmAboutProgram::frmAboutProgram(Shell& shell) : Dialog(IDD_FRMABOUTPROGRAM), shell_(shell) {}

void frmAboutProgram::onCreate() {
    ui::Label(hwnd(), IDC_ABOUT_LBLVERSION).setText("Version " QUILLON_VERSION_TEXT);
}

void frmAboutProgram::onCommand(int id, int code, HWND control) {
    if (id == IDC_ABOUT_CMDWEB) {
        static_cast<void>(shell_.execute(ref(), "", addresses::WebSite, "", "", ShowCmd::Normal));  // the shell tells the user itself when it cannot open the address
    } else if (id == IDC_ABOUT_CMDEMAIL) {
        static_cast<void>(shell_.execute(ref(), "", addresses::SupportMail, "", "", ShowCmd::Normal));  // the shell tells the user itself when it cannot open the address
    } else {
        Dialog::onCommand(id, code, control);
    }
}

}  // namespace quillon::shell
