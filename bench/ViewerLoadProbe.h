#pragma once
// Asks a window from another thread, at a steady pace, whether it still answers: a WM_NULL
// sent with a timeout (the time until its reply), and a repaint (the time until the window's
// update region is empty again). A window whose thread does not look at its queue fails both.
#include <windows.h>

#include <atomic>
#include <cstdint>
#include <thread>

namespace quillon::bench {

struct ProbeFigures {
    int replies = 0;           // WM_NULL probes answered
    int unanswered = 0;        // timed out or failed while the window was still there
    int slowReplies = 0;       // answered later than the limit
    double worstReply = 0;     // seconds
    double totalReply = 0;
    int repaints = 0;          // repaint probes that completed
    int slowRepaints = 0;
    double worstRepaint = 0;
};

class ResponseProbe {
public:
    // limitSeconds: what counts as slow; intervalMs: the pause between two probes.
    ResponseProbe(double limitSeconds, DWORD intervalMs);
    ResponseProbe(const ResponseProbe&) = delete;
    ResponseProbe& operator=(const ResponseProbe&) = delete;
    ~ResponseProbe();

    // Starts probing `window` (once; later calls are ignored).
    void watch(HWND window);
    // Ends the probing and waits for the thread; the figures are final afterwards.
    void stop();
    const ProbeFigures& figures() const noexcept { return figures_; }

private:
    void run(HWND window) noexcept;
    void probeReply(HWND window);
    void probeRepaint(HWND window);

    double limit_;
    DWORD interval_;
    std::atomic<bool> stopping_{false};
    std::thread thread_;
    ProbeFigures figures_;  // written by the thread only until stop() has joined it
};

}  // namespace quillon::bench
