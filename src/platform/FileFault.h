#pragma once
// A file that could not be read or written, and the words that tell the user so.
#include <string>
#include <string_view>

#include "platform/Status.h"

namespace quillon {

struct FileFault {
    enum class Action { Read, Write, Copy };
    Action action = Action::Write;
    std::string path;
    Status status = Status::Ok;
};

// "the disk is full", "access was denied", "it was not found", or "error N".
std::string statusReason(Status status);

// "Quillon could not write C:\changes.qdb: the disk is full."
std::string faultSentence(const FileFault& fault);

}  // namespace quillon
