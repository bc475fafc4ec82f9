#include "platform/FileFault.h"

namespace quillon {

std::string statusReason(Status status) {
    switch (status) {
    case Status::DiskFull:
    case Status::HandleDiskFull: return "the disk is full";
    case Status::AccessDenied: return "access was denied";
    case Status::FileNotFound:
    case Status::PathNotFound: return "it was not found";
    default: break;
    }
    return "error " + std::to_string(code(status));
}

std::string faultSentence(const FileFault& fault) {
    std::string_view verb = "write";
    if (fault.action == FileFault::Action::Read) verb = "read";
    if (fault.action == FileFault::Action::Copy) verb = "copy";
    return "Quillon could not " + std::string(verb) + " " + fault.path + ": " + statusReason(fault.status) + ".";
}

}  // namespace quillon
