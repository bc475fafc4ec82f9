#pragma once
// Decorators that add up the time a walk spends in each port, to find where it goes.
#include <cstdint>
#include <memory>

#include "ForwardingFileSystem.h"
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
class TimedFileSystem final : public ForwardingFileSystem {
public:
    TimedFileSystem(FileSystem& inner, PortTimes& times) : ForwardingFileSystem(inner), times_(times) {}

    Status list(std::string_view pattern, std::unique_ptr<DirectoryListing>& out) override;

private:
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
