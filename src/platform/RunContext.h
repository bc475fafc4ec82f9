#pragma once

namespace quillon {

// What a long operation sees of the window that runs it: a chance for the message loop at
// every item, and the window's stop flag.
class RunContext {
public:
    virtual ~RunContext() = default;
    virtual void yield() = 0;
    virtual bool stopRequested() const = 0;
};

}  // namespace quillon
