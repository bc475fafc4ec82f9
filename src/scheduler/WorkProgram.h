#pragma once
// The main program as the scheduler starts it for unattended work: "Quillon.exe \u" (update
// the snapshot) or "Quillon.exe \f" (find changes), from the data folder.
#include <string>
#include <string_view>

#include "platform/Desktop.h"

namespace quillon::scheduler {

inline constexpr std::string_view UpdateSwitch = "\\u";
inline constexpr std::string_view FindSwitch = "\\f";

// The program path is quoted: the data folder may hold blanks, and the main program takes
// everything after its path as its switch.
std::string workProgramCommand(std::string_view dataFolder, std::string_view programSwitch);

// With wait, returns once the main program has ended (the thread's messages keep being handled).
Status startWorkProgram(Desktop& desktop, std::string_view dataFolder, std::string_view programSwitch, bool wait);

}  // namespace quillon::scheduler
