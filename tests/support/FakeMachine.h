#pragma once
// A small Windows machine made of fakes: drive C: "SYSTEM" with the usual folders, the
// shell's special folders pointing into it, and the program in C:\Program Files\Quillon.
#include "support/fakes.h"

namespace quillon::fakes {

struct FakeMachine {
    FakeRegistry registry;
    FakeFileSystem files;
    FakeShell shell{files};
    FakeDesktop desktop;
    ScriptedPrompter prompter;
    ManualClock clock;
    RecordingPrinter printer;
    FakeRunContext run;

    static constexpr const char* ProgramFolder = "C:\\Program Files\\Quillon\\";

    FakeMachine() {
        files.addDrive('C', DriveType::Fixed, "SYSTEM");
        for (const char* folder : {"C:\\Windows", "C:\\Windows\\System32", "C:\\Windows\\Temp", "C:\\Program Files\\Quillon",
                                   "C:\\Users\\Ann\\AppData", "C:\\Users\\Ann\\Recent", "C:\\Users\\Ann\\Favorites",
                                   "C:\\Users\\Ann\\Cookies", "C:\\Users\\Ann\\Cache", "C:\\Users\\Ann\\History"})
            files.addFolder(folder);
        files.addFile("C:\\Program Files\\Quillon\\Quillon.exe", "MZ");
        shell.setSpecialFolder(Csidl::Windows, "C:\\Windows");
        shell.setSpecialFolder(Csidl::System, "C:\\Windows\\System32");
        shell.setSpecialFolder(Csidl::ProgramFiles, "C:\\Program Files");
        shell.setSpecialFolder(Csidl::AppData, "C:\\Users\\Ann\\AppData");
        shell.setSpecialFolder(Csidl::Recent, "C:\\Users\\Ann\\Recent");
        shell.setSpecialFolder(Csidl::Favorites, "C:\\Users\\Ann\\Favorites");
        shell.setSpecialFolder(Csidl::Cookies, "C:\\Users\\Ann\\Cookies");
        shell.setSpecialFolder(Csidl::InternetCache, "C:\\Users\\Ann\\Cache");
        shell.setSpecialFolder(Csidl::History, "C:\\Users\\Ann\\History");
        shell.setTempPath("C:\\WINDOWS\\TEMP\\", "C:\\Windows\\Temp\\");
    }
};

}  // namespace quillon::fakes
