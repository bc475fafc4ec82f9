#pragma once
// Wall time from the performance counter, in seconds.
#include <windows.h>

namespace quillon::bench {

class Stopwatch {
public:
    Stopwatch() noexcept {
        QueryPerformanceFrequency(&frequency_);
        QueryPerformanceCounter(&start_);
    }
    double seconds() const noexcept {
        LARGE_INTEGER now;
        QueryPerformanceCounter(&now);
        return static_cast<double>(now.QuadPart - start_.QuadPart) / static_cast<double>(frequency_.QuadPart);
    }

private:
    LARGE_INTEGER frequency_{};
    LARGE_INTEGER start_{};
};

// Adds the time of each scope it covers to a running total.
class ScopeTimer {
public:
    explicit ScopeTimer(double& total) noexcept : total_(total) {}
    ScopeTimer(const ScopeTimer&) = delete;
    ScopeTimer& operator=(const ScopeTimer&) = delete;
    ~ScopeTimer() { total_ += watch_.seconds(); }

private:
    double& total_;
    Stopwatch watch_;
};

}  // namespace quillon::bench
