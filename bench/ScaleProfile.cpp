#include "ScaleProfile.h"

#include <algorithm>
#include <cctype>
#include <string>

namespace quillon::bench {

namespace {

std::string lowerName(std::string_view path) {
    const std::size_t slash = path.find_last_of('\\');
    std::string name(slash == std::string_view::npos ? path : path.substr(slash + 1));
    std::transform(name.begin(), name.end(), name.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return name;
}

// Charges the time of one port call to the clock's phase at the time of the call.
class Charge {
public:
    Charge(PhaseClock& clock, PortKind kind) : clock_(clock), kind_(kind) {}
    Charge(const Charge&) = delete;
    Charge& operator=(const Charge&) = delete;
    ~Charge() { clock_.charge(kind_, watch_.seconds()); }

private:
    PhaseClock& clock_;
    PortKind kind_;
    Stopwatch watch_;
};

class PhasedListing final : public DirectoryListing {
public:
    PhasedListing(std::unique_ptr<DirectoryListing> inner, PhaseClock& clock) : inner_(std::move(inner)), clock_(clock) {}
    bool next(FileInfo& entry) override {
        const Charge charge(clock_, PortKind::Walk);
        return inner_->next(entry);
    }
    Status status() const override { return inner_->status(); }

private:
    std::unique_ptr<DirectoryListing> inner_;
    PhaseClock& clock_;
};

class PhasedReader final : public TextReader {
public:
    PhasedReader(std::unique_ptr<TextReader> inner, PhaseClock& clock) : inner_(std::move(inner)), clock_(clock) {}
    bool readLine(std::string& line) override {
        const Charge charge(clock_, PortKind::Read);
        return inner_->readLine(line);
    }
    Status status() const override { return inner_->status(); }
    std::uint64_t position() const override { return inner_->position(); }
    Status seek(std::uint64_t offset) override {
        const Charge charge(clock_, PortKind::Read);
        return inner_->seek(offset);
    }

private:
    std::unique_ptr<TextReader> inner_;
    PhaseClock& clock_;
};

class PhasedWriter final : public TextWriter {
public:
    PhasedWriter(std::unique_ptr<TextWriter> inner, PhaseClock& clock, PortKind kind)
        : inner_(std::move(inner)), clock_(clock), kind_(kind) {}
    Status write(std::string_view bytes) override {
        clock_.count(kind_);
        const Charge charge(clock_, kind_);
        return inner_->write(bytes);
    }
    Status close() override {
        const Charge charge(clock_, kind_);
        return inner_->close();
    }

private:
    std::unique_ptr<TextWriter> inner_;
    PhaseClock& clock_;
    PortKind kind_;
};

}  // namespace

Phase PhaseClock::phaseOf(std::string_view path) {
    const std::string name = lowerName(path);
    if (name.starts_with("hk") || name.starts_with("reg")) return Phase::Registry;
    if (name == "syschanges.qdb") return Phase::Config;
    if (name == "dbstemp.qdb" || (name.ends_with("current.qdb") && std::isdigit(static_cast<unsigned char>(name[0]))))
        return Phase::Scan;
    if (name.ends_with("current.qdb") || name.ends_with("dbase.qdb") || name == "changes.qdb") return Phase::Compare;
    return Phase::Count;
}

void PhaseClock::enter(Phase phase) {
    if (phase == Phase::Count || phase <= phase_) return;
    const double now = watch_.seconds();
    wall_[static_cast<std::size_t>(phase_)] += now - phaseStart_;
    phaseStart_ = now;
    phase_ = phase;
}

void PhaseClock::charge(PortKind kind, double seconds) {
    ports_[static_cast<std::size_t>(phase_)][static_cast<std::size_t>(kind)] += seconds;
}

void PhaseClock::finish() {
    const double now = watch_.seconds();
    wall_[static_cast<std::size_t>(phase_)] += now - phaseStart_;
    phaseStart_ = now;
}

double PhaseClock::port(PortKind kind) const {
    double total = 0;
    for (const auto& phase : ports_) total += phase[static_cast<std::size_t>(kind)];
    return total;
}

Status PhasedFileSystem::list(std::string_view pattern, std::unique_ptr<DirectoryListing>& out) {
    std::unique_ptr<DirectoryListing> inner;
    Status status;
    {
        const Charge charge(clock_, PortKind::Walk);
        status = ForwardingFileSystem::list(pattern, inner);
    }
    out = inner ? std::make_unique<PhasedListing>(std::move(inner), clock_) : nullptr;
    return status;
}

Status PhasedFileSystem::openRead(std::string_view path, std::unique_ptr<TextReader>& out) {
    clock_.enter(PhaseClock::phaseOf(path));
    std::unique_ptr<TextReader> inner;
    const Status status = ForwardingFileSystem::openRead(path, inner);
    out = inner ? std::make_unique<PhasedReader>(std::move(inner), clock_) : nullptr;
    return status;
}

Status PhasedFileSystem::openWrite(std::string_view path, WriteMode mode, std::unique_ptr<TextWriter>& out) {
    const Phase phase = PhaseClock::phaseOf(path);
    clock_.enter(phase);
    std::unique_ptr<TextWriter> inner;
    const Status status = ForwardingFileSystem::openWrite(path, mode, inner);
    const PortKind kind = phase == Phase::Scan ? PortKind::ScanWrite : PortKind::OtherWrite;
    out = inner ? std::make_unique<PhasedWriter>(std::move(inner), clock_, kind) : nullptr;
    return status;
}

void PhasedRun::yield() {
    clock_.count(PortKind::Yield);
    const Charge charge(clock_, PortKind::Yield);
    inner_.yield();
}

bool PhasedRun::stopRequested() const {
    const Charge charge(clock_, PortKind::Yield);
    return inner_.stopRequested();
}

}  // namespace quillon::bench
