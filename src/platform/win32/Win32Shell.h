#pragma once
#include "platform/Shell.h"

namespace quillon::win32 {

class Win32Shell final : public Shell {
public:
    Status specialFolder(int csidl, std::string& path) override;
    Status tempPath(std::string& path) override;
    Status longPathName(std::string_view path, std::string& longPath) override;
    FileOpResult fileOperation(const FileOperation& op) override;
    Status deleteAtRestart(std::string_view path) override;
    Status emptyRecycleBin(WindowRef owner, std::string_view root, std::uint32_t flags) override;
    Status execute(WindowRef owner, std::string_view verb, std::string_view file, std::string_view parameters,
                   std::string_view folder, int show) override;
    Status fileType(std::string_view path, FileTypeInfo& out) override;
    Status help(WindowRef owner, std::string_view helpFile, std::uint32_t command,
                std::string_view keyword) override;
};

}  // namespace quillon::win32
