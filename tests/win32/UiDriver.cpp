#include "UiDriver.h"

namespace quillon::uitest {

namespace {

constexpr UINT_PTR scriptTimer = 1;
constexpr UINT tickMs = 10;

struct TitleSearch {
    const std::string* title;
    HWND found;
};

BOOL CALLBACK matchTitle(HWND hwnd, LPARAM context) noexcept {
    auto& search = *reinterpret_cast<TitleSearch*>(context);
    char text[256] = {};
    GetWindowTextA(hwnd, text, sizeof text);
    // A window that waits on a modal one of its own is disabled: the modal one is answered.
    if (IsWindowVisible(hwnd) && IsWindowEnabled(hwnd) && *search.title == text) {
        search.found = hwnd;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

HWND findThreadWindow(const std::string& title) {
    TitleSearch search{&title, nullptr};
    EnumThreadWindows(GetCurrentThreadId(), matchTitle, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

void postClick(HWND dialog, int buttonId) { PostMessageA(GetDlgItem(dialog, buttonId), BM_CLICK, 0, 0); }

bool pumpUntil(const std::function<bool()>& condition, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    while (!condition()) {
        const DWORD spent = GetTickCount() - start;
        if (spent >= timeoutMs) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, timeoutMs - spent, QS_ALLINPUT);
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                PostQuitMessage(static_cast<int>(msg.wParam));
                return condition();
            }
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
    return true;
}

void drainQuit() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
}

WindowScript::WindowScript(DWORD stepTimeoutMs) : timeoutMs_(stepTimeoutMs) {
    ui::WindowSpec desc;
    desc.className = "QuillonWindowScript";
    desc.style = 0;
    desc.owner = HWND_MESSAGE;  // never shown, still gets its timer
    create(desc);
}

WindowScript::~WindowScript() {
    if (hwnd()) KillTimer(hwnd(), scriptTimer);
}

WindowScript& WindowScript::when(std::string title, Action action) {
    steps_.push_back(Step{std::move(title), std::move(action)});
    return *this;
}

void WindowScript::start() {
    stepStart_ = GetTickCount();
    if (!hwnd()) {
        failure_ = "the script's own window could not be made";
        return;
    }
    SetTimer(hwnd(), scriptTimer, tickMs, nullptr);
}

void WindowScript::onTimer(UINT_PTR) {
    if (finished() || !failure_.empty()) {
        KillTimer(hwnd(), scriptTimer);
        return;
    }
    Step& step = steps_[next_];
    if (HWND target = findThreadWindow(step.title)) {
        ++next_;
        stepStart_ = GetTickCount();
        step.action(target);
        return;
    }
    if (GetTickCount() - stepStart_ > timeoutMs_) {
        failure_ = "window \"" + step.title + "\" did not appear";
        KillTimer(hwnd(), scriptTimer);
        PostQuitMessage(0);
    }
}

}  // namespace quillon::uitest
