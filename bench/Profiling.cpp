#include "Profiling.h"

#include "Stopwatch.h"

namespace quillon::bench {

namespace {

class TimedListing final : public DirectoryListing {
public:
    TimedListing(std::unique_ptr<DirectoryListing> inner, PortTimes& times) : inner_(std::move(inner)), times_(times) {}

    bool next(FileInfo& entry) override {
        const ScopeTimer timer(times_.listNext);
        const bool more = inner_->next(entry);
        if (more) ++times_.entries;
        return more;
    }
    Status status() const override { return inner_->status(); }

private:
    std::unique_ptr<DirectoryListing> inner_;
    PortTimes& times_;
};

}  // namespace

Status TimedFileSystem::list(std::string_view pattern, std::unique_ptr<DirectoryListing>& out) {
    std::unique_ptr<DirectoryListing> inner;
    Status status;
    {
        const ScopeTimer timer(times_.listOpen);
        status = ForwardingFileSystem::list(pattern, inner);
    }
    out = inner ? std::make_unique<TimedListing>(std::move(inner), times_) : nullptr;
    return status;
}

Status TimedWriter::write(std::string_view bytes) {
    const ScopeTimer timer(times_.write);
    ++times_.writes;
    return inner_.write(bytes);
}

void TimedRun::yield() {
    const ScopeTimer timer(times_.yield);
    inner_.yield();
}

bool TimedRun::stopRequested() const {
    const ScopeTimer timer(times_.yield);
    return inner_.stopRequested();
}

}  // namespace quillon::bench
