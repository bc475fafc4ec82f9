#include "ViewerLoadProbe.h"

#include <algorithm>

#include "Stopwatch.h"

namespace quillon::bench {

namespace {

// Longer than any stall worth measuring, short enough that a hung window ends the run.
constexpr UINT ReplyTimeoutMs = 60000;
constexpr double RepaintGiveUpSeconds = 60;

}  // namespace

ResponseProbe::ResponseProbe(double limitSeconds, DWORD intervalMs) : limit_(limitSeconds), interval_(intervalMs) {}

ResponseProbe::~ResponseProbe() { stop(); }

void ResponseProbe::watch(HWND window) {
    if (thread_.joinable() || stopping_) return;
    thread_ = std::thread([this, window] { run(window); });
}

void ResponseProbe::stop() {
    stopping_ = true;
    if (thread_.joinable()) thread_.join();
}

void ResponseProbe::run(HWND window) noexcept {
    try {
        while (!stopping_ && IsWindow(window)) {
            probeReply(window);
            // A hidden window is not painted; the close request hides it while the load ends.
            if (!stopping_ && IsWindowVisible(window)) probeRepaint(window);
            Sleep(interval_);
        }
    } catch (...) {
        // Nothing here throws on purpose; a failure ends the probing with what was measured.
    }
}

void ResponseProbe::probeReply(HWND window) {
    const Stopwatch watch;
    DWORD_PTR result = 0;
    const LRESULT sent = SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, ReplyTimeoutMs, &result);
    const double seconds = watch.seconds();
    if (!sent) {
        if (IsWindow(window) && !stopping_) ++figures_.unanswered;
        return;
    }
    ++figures_.replies;
    figures_.totalReply += seconds;
    figures_.worstReply = std::max(figures_.worstReply, seconds);
    if (seconds > limit_) ++figures_.slowReplies;
}

void ResponseProbe::probeRepaint(HWND window) {
    if (!InvalidateRect(window, nullptr, FALSE)) return;
    const Stopwatch watch;
    // The update region empties once the window's thread has handled WM_PAINT.
    while (GetUpdateRect(window, nullptr, FALSE)) {
        if (stopping_ || !IsWindow(window) || !IsWindowVisible(window) || watch.seconds() > RepaintGiveUpSeconds)
            return;
        Sleep(1);
    }
    const double seconds = watch.seconds();
    ++figures_.repaints;
    figures_.worstRepaint = std::max(figures_.worstRepaint, seconds);
    if (seconds > limit_) ++figures_.slowRepaints;
}

}  // namespace quillon::bench
