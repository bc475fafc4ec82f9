// A stand-in installation program, "MySetup.exe": its window "Product Setup", when closed,
// installs a folder of files on X: and a registry key, and the program ends.
#include <windows.h>

#include <fstream>

#include "platform/win32/Handles.h"

namespace {

LRESULT CALLBACK windowProc(HWND window, UINT msg, WPARAM wp, LPARAM lp) noexcept {
    if (msg != WM_CLOSE) return DefWindowProcA(window, msg, wp, lp);
    CreateDirectoryA("X:\\ProductX", nullptr);
    for (const char* file : {"X:\\ProductX\\product.exe", "X:\\ProductX\\readme.txt"}) std::ofstream(file) << file;
    quillon::win32::RegKey key;
    RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\ProductX", 0, nullptr, 0, KEY_WRITE, nullptr, key.out(), nullptr);
    PostQuitMessage(0);
    return 0;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = windowProc;
    wc.hInstance = instance;
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = "StandInSetup";
    RegisterClassA(&wc);
    CreateWindowExA(0, wc.lpszClassName, "Product Setup", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40, 320, 200, nullptr,
                    nullptr, instance, nullptr);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
    return 0;
}
