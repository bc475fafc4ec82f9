#pragma once
// A file system that hands every call to another one: the measuring wrappers override only
// the calls they time.
#include <memory>

#include "platform/FileSystem.h"

namespace quillon::bench {

class ForwardingFileSystem : public FileSystem {
public:
    explicit ForwardingFileSystem(FileSystem& inner) : inner_(inner) {}

    Status list(std::string_view pattern, std::unique_ptr<DirectoryListing>& out) override {
        return inner_.list(pattern, out);
    }
    Status info(std::string_view path, FileInfo& out) override { return inner_.info(path, out); }
    Status setAttributes(std::string_view path, std::uint32_t attributes) override {
        return inner_.setAttributes(path, attributes);
    }
    Status openExclusive(std::string_view path) override { return inner_.openExclusive(path); }
    Status openRead(std::string_view path, std::unique_ptr<TextReader>& out) override {
        return inner_.openRead(path, out);
    }
    Status openWrite(std::string_view path, WriteMode mode, std::unique_ptr<TextWriter>& out) override {
        return inner_.openWrite(path, mode, out);
    }
    Status copyFile(std::string_view from, std::string_view to, bool replace) override {
        return inner_.copyFile(from, to, replace);
    }
    Status moveFile(std::string_view from, std::string_view to, bool replace) override {
        return inner_.moveFile(from, to, replace);
    }
    Status deleteFile(std::string_view path) override { return inner_.deleteFile(path); }
    Status createFolder(std::string_view path) override { return inner_.createFolder(path); }
    Status removeFolder(std::string_view path) override { return inner_.removeFolder(path); }
    std::uint32_t driveType(std::string_view root) override { return inner_.driveType(root); }
    Status volumeLabel(std::string_view root, std::string& label) override { return inner_.volumeLabel(root, label); }

protected:
    FileSystem& inner() { return inner_; }

private:
    FileSystem& inner_;
};

}  // namespace quillon::bench
