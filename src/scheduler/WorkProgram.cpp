#include "scheduler/WorkProgram.h"

#include "shell/Settings.h"

namespace quillon::scheduler {

std::string workProgramCommand(std::string_view dataFolder, std::string_view programSwitch) {
    return "\"" + std::string(dataFolder) + std::string(settings::MainProgram) + "\" " + std::string(programSwitch);
}

Status startWorkProgram(Desktop& desktop, std::string_view dataFolder, std::string_view programSwitch, bool wait) {
    return desktop.startProgram(workProgramCommand(dataFolder, programSwitch), wait);
}

}  // namespace quillon::scheduler
