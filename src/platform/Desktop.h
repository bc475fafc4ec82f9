#pragma once
// Desktop port: top-level windows, processes, starting programs, the running instance and
// the operating system.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Status.h"
#include "platform/WindowRef.h"

namespace quillon {

struct TopLevelWindow {
    WindowRef handle = 0;
    bool visible = false;
    std::string title;
    std::string className;
    std::uint32_t processId = 0;
};

struct ProcessEntry {
    std::uint32_t processId = 0;
    std::string exeFile;            // file name as the process list gives it
};

// Held for the program's lifetime; marks this instance as running.
class InstanceToken {
public:
    virtual ~InstanceToken() = default;
    virtual bool anotherWasRunning() const = 0;
};

class Desktop {
public:
    virtual ~Desktop() = default;

    virtual std::vector<TopLevelWindow> topLevelWindows() = 0;
    virtual std::vector<ProcessEntry> processes() = 0;
    // Full paths of the modules of a process; the first is its program file.
    virtual std::vector<std::string> modules(std::uint32_t processId) = 0;

    // Starts a command line with a normal, focused window. With wait, returns when it ended;
    // meanwhile the thread's messages are handled, and a quit request ends the wait early
    // (Cancelled) and stays queued for the program's loop.
    virtual Status startProgram(std::string_view commandLine, bool wait) = 0;

    // Claims the instance name; anotherWasRunning() tells whether an instance already had it.
    virtual std::unique_ptr<InstanceToken> claimInstance(std::string_view name) = 0;

    // Full path of the running program file.
    virtual std::string programPath() = 0;
    // Platform identifier 2.
    virtual bool isNtFamily() = 0;
    virtual void beep() = 0;
    virtual void bringToFront(WindowRef window) = 0;
};

}  // namespace quillon
