#pragma once
// Move-only owners of the system's handles, each with its own empty value and closer.
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>
#include <uxtheme.h>

#include <utility>

namespace quillon::win32 {

template <typename H, typename Traits>
class UniqueHandle {
public:
    UniqueHandle() noexcept = default;
    explicit UniqueHandle(H h) noexcept : h_(h) {}
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    UniqueHandle(UniqueHandle&& o) noexcept : h_(std::exchange(o.h_, Traits::empty())) {}
    UniqueHandle& operator=(UniqueHandle&& o) noexcept {
        if (this != &o) reset(std::exchange(o.h_, Traits::empty()));
        return *this;
    }
    ~UniqueHandle() { reset(); }

    H get() const noexcept { return h_; }
    explicit operator bool() const noexcept { return h_ != Traits::empty(); }
    H release() noexcept { return std::exchange(h_, Traits::empty()); }
    void reset(H h = Traits::empty()) noexcept {
        if (h_ != Traits::empty()) Traits::close(h_);
        h_ = h;
    }
    // For APIs that hand a handle back through a pointer.
    H* out() noexcept {
        reset();
        return &h_;
    }

private:
    H h_ = Traits::empty();
};

struct FileHandleTraits {  // CreateFile: INVALID_HANDLE_VALUE
    static HANDLE empty() noexcept { return INVALID_HANDLE_VALUE; }
    static void close(HANDLE h) noexcept { CloseHandle(h); }
};
struct KernelHandleTraits {  // processes, mutexes, snapshots that return NULL on failure
    static HANDLE empty() noexcept { return nullptr; }
    static void close(HANDLE h) noexcept { CloseHandle(h); }
};
struct FindHandleTraits {
    static HANDLE empty() noexcept { return INVALID_HANDLE_VALUE; }
    static void close(HANDLE h) noexcept { FindClose(h); }
};
struct RegKeyTraits {
    static HKEY empty() noexcept { return nullptr; }
    static void close(HKEY h) noexcept { RegCloseKey(h); }
};
struct MenuTraits {
    static HMENU empty() noexcept { return nullptr; }
    static void close(HMENU h) noexcept { DestroyMenu(h); }
};
struct GdiObjectTraits {
    static HGDIOBJ empty() noexcept { return nullptr; }
    static void close(HGDIOBJ h) noexcept { DeleteObject(h); }
};
struct IconTraits {
    static HICON empty() noexcept { return nullptr; }
    static void close(HICON h) noexcept { DestroyIcon(h); }
};
struct FontTraits {
    static HFONT empty() noexcept { return nullptr; }
    static void close(HFONT h) noexcept { DeleteObject(h); }
};
struct DcTraits {  // CreateDC: printers
    static HDC empty() noexcept { return nullptr; }
    static void close(HDC h) noexcept { DeleteDC(h); }
};
struct ImageListTraits {
    static HIMAGELIST empty() noexcept { return nullptr; }
    static void close(HIMAGELIST h) noexcept { ImageList_Destroy(h); }
};
template <typename T>
struct CoTaskMemTraits {  // memory the shell hands out (item id lists)
    static T* empty() noexcept { return nullptr; }
    static void close(T* p) noexcept { CoTaskMemFree(p); }
};

struct ThemeTraits {  // visual-style data of a control class
    static HTHEME empty() noexcept { return nullptr; }
    static void close(HTHEME h) noexcept { CloseThemeData(h); }
};

using FileHandle = UniqueHandle<HANDLE, FileHandleTraits>;
using KernelHandle = UniqueHandle<HANDLE, KernelHandleTraits>;
using FindHandle = UniqueHandle<HANDLE, FindHandleTraits>;
using RegKey = UniqueHandle<HKEY, RegKeyTraits>;
using MenuHandle = UniqueHandle<HMENU, MenuTraits>;
using GdiObject = UniqueHandle<HGDIOBJ, GdiObjectTraits>;
using IconHandle = UniqueHandle<HICON, IconTraits>;
using FontHandle = UniqueHandle<HFONT, FontTraits>;
using DcHandle = UniqueHandle<HDC, DcTraits>;
using ImageListHandle = UniqueHandle<HIMAGELIST, ImageListTraits>;
using ThemeHandle = UniqueHandle<HTHEME, ThemeTraits>;
template <typename T>
using CoTaskMemPtr = UniqueHandle<T*, CoTaskMemTraits<T>>;

// A window's device context (GetDC), given back with ReleaseDC; null window = the screen.
class WindowDc {
public:
    explicit WindowDc(HWND window = nullptr) noexcept : window_(window), dc_(GetDC(window)) {}
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    ~WindowDc() {
        if (dc_) ReleaseDC(window_, dc_);
    }
    HDC get() const noexcept { return dc_; }
    explicit operator bool() const noexcept { return dc_ != nullptr; }

private:
    HWND window_;
    HDC dc_;
};

// Selects a GDI object into a DC and puts the previous one back.
class SelectedObject {
public:
    SelectedObject(HDC dc, HGDIOBJ object) noexcept : dc_(dc), previous_(SelectObject(dc, object)) {}
    SelectedObject(const SelectedObject&) = delete;
    SelectedObject& operator=(const SelectedObject&) = delete;
    ~SelectedObject() {
        if (previous_ && previous_ != HGDI_ERROR) SelectObject(dc_, previous_);
    }

private:
    HDC dc_;
    HGDIOBJ previous_;
};

}  // namespace quillon::win32
