#pragma once
// The few file operations the comparisons use, over the local file system: paths are taken as
// they are. Everything else answers NotSupported.
#include "platform/FileSystem.h"

#ifdef _WIN32
#include "platform/win32/Win32FileSystem.h"
#endif

namespace quillon::bench {

class LocalFiles final : public FileSystem {
public:
    Status list(std::string_view, std::unique_ptr<DirectoryListing>&) override { return Status::NotSupported; }
    Status info(std::string_view path, FileInfo& out) override;
    Status setAttributes(std::string_view, std::uint32_t) override { return Status::NotSupported; }
    Status openExclusive(std::string_view) override { return Status::NotSupported; }
    Status openRead(std::string_view path, std::unique_ptr<TextReader>& out) override;
    Status openWrite(std::string_view path, WriteMode mode, std::unique_ptr<TextWriter>& out) override;
    Status copyFile(std::string_view, std::string_view, bool) override { return Status::NotSupported; }
    Status moveFile(std::string_view, std::string_view, bool) override { return Status::NotSupported; }
    Status deleteFile(std::string_view path) override;
    Status createFolder(std::string_view) override { return Status::NotSupported; }
    Status removeFolder(std::string_view) override { return Status::NotSupported; }
    std::uint32_t driveType(std::string_view) override { return DriveType::Unknown; }
    Status volumeLabel(std::string_view, std::string&) override { return Status::NotSupported; }
};

// The files the benchmarks read and write: under Wine through the program's own adapter.
#ifdef _WIN32
using BenchFiles = win32::Win32FileSystem;
#else
using BenchFiles = LocalFiles;
#endif

}  // namespace quillon::bench
