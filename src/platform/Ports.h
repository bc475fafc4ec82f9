#pragma once
// Every port at once, for windows that reach several of them.
#include "platform/Clock.h"
#include "platform/Desktop.h"
#include "platform/FileSystem.h"
#include "platform/Printer.h"
#include "platform/Prompter.h"
#include "platform/Registry.h"
#include "platform/Shell.h"

namespace quillon {

struct Ports {
    Registry& registry;
    FileSystem& files;
    Shell& shell;
    Desktop& desktop;
    Prompter& prompter;
    Clock& clock;
    Printer& printer;
};

}  // namespace quillon
