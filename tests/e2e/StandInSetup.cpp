// A stand-in installation program, "MySetup.exe": its window "Product Setup", when closed,
// installs a folder of files on X: and a registry key, and the program ends.
#include <windows.h>

#include <fstream>

#include "platform/win32/Handles.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    MessageBoxA(nullptr, "Closing this window installs Product X.", "Product Setup", MB_OK);
    CreateDirectoryA("X:\\ProductX", nullptr);
    for (const char* file : {"X:\\ProductX\\product.exe", "X:\\ProductX\\readme.txt"}) std::ofstream(file) << file;
    quillon::win32::RegKey key;
    RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\ProductX", 0, nullptr, 0, KEY_WRITE, nullptr, key.out(), nullptr);
    return 0;
}
