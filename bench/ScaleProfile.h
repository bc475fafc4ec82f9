#pragma once
// Where a whole "Update database" or "Find changes" run spends its time: the real adapters and
// the real message pump, wrapped so that every port call is timed and charged to the phase the
// run is in. The phase follows the work files the run opens (the scan, the comparison's files,
// the configuration changes, the registry lists), so the run itself needs no hooks.
#include <array>
#include <cstdint>
#include <memory>
#include <string_view>

#include "ForwardingFileSystem.h"
#include "Stopwatch.h"
#include "platform/FileSystem.h"
#include "platform/RunContext.h"

namespace quillon::bench {

enum class Phase { Scan, Compare, Config, Registry, Count };
enum class PortKind { Walk, ScanWrite, OtherWrite, Read, Yield, Count };

class PhaseClock {
public:
    // The phase a work file belongs to, or Count for a file that says nothing about it.
    static Phase phaseOf(std::string_view path);
    // Phases only go forward: a late look at an earlier file (a snapshot refreshed) stays put.
    void enter(Phase phase);
    void charge(PortKind kind, double seconds);
    void count(PortKind kind) { ++calls_[static_cast<std::size_t>(kind)]; }
    Phase phase() const { return phase_; }
    // Ends the current phase; the figures are final afterwards.
    void finish();

    double wall(Phase phase) const { return wall_[static_cast<std::size_t>(phase)]; }
    double port(Phase phase, PortKind kind) const {
        return ports_[static_cast<std::size_t>(phase)][static_cast<std::size_t>(kind)];
    }
    double port(PortKind kind) const;
    std::uint64_t calls(PortKind kind) const { return calls_[static_cast<std::size_t>(kind)]; }

private:
    static constexpr std::size_t Phases = static_cast<std::size_t>(Phase::Count);
    static constexpr std::size_t Kinds = static_cast<std::size_t>(PortKind::Count);
    Stopwatch watch_;
    Phase phase_ = Phase::Scan;
    double phaseStart_ = 0;
    std::array<double, Phases> wall_{};
    std::array<std::array<double, Kinds>, Phases> ports_{};
    std::array<std::uint64_t, Kinds> calls_{};
};

class PhasedFileSystem final : public ForwardingFileSystem {
public:
    PhasedFileSystem(FileSystem& inner, PhaseClock& clock) : ForwardingFileSystem(inner), clock_(clock) {}

    Status list(std::string_view pattern, std::unique_ptr<DirectoryListing>& out) override;
    Status openRead(std::string_view path, std::unique_ptr<TextReader>& out) override;
    Status openWrite(std::string_view path, WriteMode mode, std::unique_ptr<TextWriter>& out) override;

private:
    PhaseClock& clock_;
};

class PhasedRun final : public RunContext {
public:
    PhasedRun(RunContext& inner, PhaseClock& clock) : inner_(inner), clock_(clock) {}
    void yield() override;
    bool stopRequested() const override;

private:
    RunContext& inner_;
    PhaseClock& clock_;
};

}  // namespace quillon::bench
