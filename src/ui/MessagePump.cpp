#include "ui/MessagePump.h"

#include <utility>

namespace quillon::ui {

namespace {

// Enough for a burst of input; what is left waits for the next look, so a window that keeps
// posting to itself cannot hold the operation.
constexpr int maxMessagesPerPump = 100;

void dispatch(HWND dialog, MSG& msg) {
    if (dialog && IsDialogMessageW(dialog, &msg)) return;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
}

}  // namespace

MessagePump::MessagePump(StopFlag& stop, HWND dialog)
    : MessagePump(stop, dialog, [] { return static_cast<std::uint32_t>(GetTickCount()); }) {}

MessagePump::MessagePump(StopFlag& stop, HWND dialog, TickSource ticks)
    : stop_(stop), dialog_(dialog), ticks_(std::move(ticks)) {}

void MessagePump::yield() {
    if (throttle_.due(ticks_())) pumpNow();
}

void MessagePump::pumpNow() {
    MSG msg;
    for (int handled = 0; handled < maxMessagesPerPump && PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE); ++handled) {
        if (msg.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            stop_.request();
            return;
        }
        dispatch(dialog_, msg);
    }
}

int runMessageLoop(HWND dialog) {
    MSG msg{};
    BOOL got;
    while ((got = GetMessageW(&msg, nullptr, 0, 0)) != 0) {
        if (got == -1) return -1;
        dispatch(dialog, msg);
    }
    return static_cast<int>(msg.wParam);
}

}  // namespace quillon::ui
