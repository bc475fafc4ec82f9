#pragma once
// A shell that hands every call to another one: the measuring wrappers override only the
// calls they count or time.
#include "platform/Shell.h"

namespace quillon::bench {

class ForwardingShell : public Shell {
public:
    explicit ForwardingShell(Shell& inner) : inner_(inner) {}

    Status specialFolder(int csidl, std::string& path) override { return inner_.specialFolder(csidl, path); }
    Status tempPath(std::string& path) override { return inner_.tempPath(path); }
    Status longPathName(std::string_view path, std::string& longPath) override {
        return inner_.longPathName(path, longPath);
    }
    FileOpResult fileOperation(const FileOperation& op) override { return inner_.fileOperation(op); }
    Status deleteAtRestart(std::string_view path) override { return inner_.deleteAtRestart(path); }
    Status emptyRecycleBin(WindowRef owner, std::string_view root, std::uint32_t flags) override {
        return inner_.emptyRecycleBin(owner, root, flags);
    }
    Status execute(WindowRef owner, std::string_view verb, std::string_view file, std::string_view parameters,
                   std::string_view folder, int show) override {
        return inner_.execute(owner, verb, file, parameters, folder, show);
    }
    Status fileType(std::string_view path, FileTypeInfo& out) override { return inner_.fileType(path, out); }
    Status help(WindowRef owner, std::string_view helpFile, std::uint32_t command, std::string_view keyword) override {
        return inner_.help(owner, helpFile, command, keyword);
    }

private:
    Shell& inner_;
};

}  // namespace quillon::bench
