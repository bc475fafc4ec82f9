#pragma once
// Port decorators for timing the viewer's load: where the time of a load goes, and how long it
// runs without giving the message loop a chance.
#include <algorithm>
#include <cstdint>
#include <string>

#include "ForwardingFileSystem.h"
#include "ForwardingShell.h"
#include "Stopwatch.h"
#include "platform/FileSystem.h"
#include "platform/RunContext.h"
#include "platform/Shell.h"

namespace quillon::bench {

struct LoadTimes {
    double fileInfo = 0;   // FileSystem::info: the existence and size checks
    double fileType = 0;   // Shell::fileType: type name and icon
    std::uint64_t infoCalls = 0;
    std::uint64_t typeCalls = 0;
};

// Counts yields and keeps the longest stretch between two of them; the stretches before the
// first and after the last are reported apart.
class GapRun final : public RunContext {
public:
    void yield() override {
        const double now = watch_.seconds();
        if (yields_ > 0) longest_ = std::max(longest_, now - last_);
        else first_ = now;
        last_ = now;
        ++yields_;
    }
    bool stopRequested() const override { return false; }

    std::uint64_t yields() const noexcept { return yields_; }
    double longestGap() const noexcept { return longest_; }
    double untilFirst() const noexcept { return first_; }
    // The stretch after the last yield up to now.
    double sinceLast() const noexcept { return watch_.seconds() - last_; }

private:
    Stopwatch watch_;
    std::uint64_t yields_ = 0;
    double first_ = 0;
    double last_ = 0;
    double longest_ = 0;
};

// Times info(); everything else goes straight through.
class InfoTimedFiles final : public ForwardingFileSystem {
public:
    InfoTimedFiles(FileSystem& inner, LoadTimes& times) : ForwardingFileSystem(inner), times_(times) {}

    Status info(std::string_view path, FileInfo& out) override {
        ++times_.infoCalls;
        const ScopeTimer timer(times_.fileInfo);
        return inner().info(path, out);
    }

private:
    LoadTimes& times_;
};

// The shell with fileType() timed, or answered at once with a fixed type when `instant`:
// the difference between the two is what the shell's lookups cost.
class TypeTimedShell final : public ForwardingShell {
public:
    TypeTimedShell(Shell& inner, LoadTimes& times, bool instant)
        : ForwardingShell(inner), times_(times), instant_(instant) {}

    Status fileType(std::string_view path, FileTypeInfo& out) override {
        ++times_.typeCalls;
        const ScopeTimer timer(times_.fileType);
        if (!instant_) return ForwardingShell::fileType(path, out);
        out.typeName = "File";
        out.iconIndex = 0;
        return Status::Ok;
    }

private:
    LoadTimes& times_;
    bool instant_;
};

}  // namespace quillon::bench
