// Ordinary windows for the scheduler's idle measurement: N visible top-level windows of the
// system's static class ("Notes 1", "Notes 2"...), none of them a setup window, until closed.
#include <windows.h>

#include <cstdlib>
#include <string>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    const int count = __argc > 1 ? std::atoi(__argv[1]) : 30;
    for (int i = 1; i <= count; ++i) {
        const std::string title = "Notes " + std::to_string(i);
        CreateWindowExA(0, "STATIC", title.c_str(), WS_OVERLAPPEDWINDOW | WS_VISIBLE, 20 * i, 15 * i, 300, 160, nullptr,
                        nullptr, instance, nullptr);
    }
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
    return 0;
}
