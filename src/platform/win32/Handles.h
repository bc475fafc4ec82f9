#pragma once
// Move-only owners of the system's handles, each with its own empty value and closer.
#include <windows.h>

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

using FileHandle = UniqueHandle<HANDLE, FileHandleTraits>;
using KernelHandle = UniqueHandle<HANDLE, KernelHandleTraits>;
using FindHandle = UniqueHandle<HANDLE, FindHandleTraits>;
using RegKey = UniqueHandle<HKEY, RegKeyTraits>;
using MenuHandle = UniqueHandle<HMENU, MenuTraits>;
using GdiObject = UniqueHandle<HGDIOBJ, GdiObjectTraits>;
using IconHandle = UniqueHandle<HICON, IconTraits>;

}  // namespace quillon::win32
