#pragma once
// Decorators that add up the time a walk spends in each port, to find where it goes.
#include <cstdint>
#include <memory>

#include "platform/FileSystem.h"
#include "platform/RunContext.h"

namespace quillon::bench {

struct PortTimes {
    double listOpen = 0;  // FileSystem::list: the find-first call
    double listNext = 0;  // DirectoryListing::next: find-next and the entry's conversion
    double write = 0;     // TextWriter::write
    double yield = 0;     // RunContext::yield and stopRequested
    std::uint64_t entries = 0;
    std::uint64_t writes = 0;
};

// Only list() is timed; everything else goes straight through.
class TimedFileSystem final : public FileSystem {
public:
    TimedFileSystem(FileSystem& inner, PortTimes& times) : inner_(inner), times_(times) {}

    Status list(std::string_view pattern, std::unique_ptr<DirectoryListing>& out) override;
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

private:
    FileSystem& inner_;
    PortTimes& times_;
};

class TimedWriter final : public TextWriter {
public:
    TimedWriter(TextWriter& inner, PortTimes& times) : inner_(inner), times_(times) {}
    Status write(std::string_view bytes) override;
    Status close() override { return inner_.close(); }

private:
    TextWriter& inner_;
    PortTimes& times_;
};

class TimedRun final : public RunContext {
public:
    TimedRun(RunContext& inner, PortTimes& times) : inner_(inner), times_(times) {}
    void yield() override;
    bool stopRequested() const override;

private:
    RunContext& inner_;
    PortTimes& times_;
};

}  // namespace quillon::bench
