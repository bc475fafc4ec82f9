#pragma once
// The real adapters of one program run, owned in one place and handed out as ports.
#include "platform/Ports.h"
#include "platform/win32/Win32Clock.h"
#include "platform/win32/Win32Desktop.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32Printer.h"
#include "platform/win32/Win32Registry.h"
#include "platform/win32/Win32Shell.h"
#include "ui/Win32Prompter.h"

namespace quillon::app {

class Win32Platform {
public:
    Ports& ports() noexcept { return ports_; }

private:
    win32::Win32Registry registry_;
    win32::Win32FileSystem files_;
    win32::Win32Shell shell_;
    win32::Win32Desktop desktop_;
    ui::Win32Prompter prompter_;
    win32::Win32Clock clock_;
    win32::Win32Printer printer_;
    Ports ports_{registry_, files_, shell_, desktop_, prompter_, clock_, printer_};
};

}  // namespace quillon::app
