#pragma once
#include "platform/FileSystem.h"

namespace quillon::win32 {

// The file system through the wide Win32 API, paths of any length. Files read and written through it are opened
// so that our own reader does not block a writer and a file being written can still be read;
// the in-use test opens with no sharing at all.
class Win32FileSystem final : public FileSystem {
public:
    Status list(std::string_view pattern, std::unique_ptr<DirectoryListing>& out) override;
    Status info(std::string_view path, FileInfo& out) override;
    Status setAttributes(std::string_view path, std::uint32_t attributes) override;
    Status openExclusive(std::string_view path) override;
    Status openRead(std::string_view path, std::unique_ptr<TextReader>& out) override;
    Status openWrite(std::string_view path, WriteMode mode, std::unique_ptr<TextWriter>& out) override;
    Status copyFile(std::string_view from, std::string_view to, bool replace) override;
    Status moveFile(std::string_view from, std::string_view to, bool replace) override;
    Status deleteFile(std::string_view path) override;
    Status createFolder(std::string_view path) override;
    Status removeFolder(std::string_view path) override;
    std::uint32_t driveType(std::string_view root) override;
    Status volumeLabel(std::string_view root, std::string& label) override;
};

}  // namespace quillon::win32
