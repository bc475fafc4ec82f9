// The benchmark's own operator new and delete, counting what is live: under Wine the process's
// memory counters do not follow the heap. Each block carries its size in front of it.
#include <atomic>
#include <cstddef>
#include <cstdlib>
#include <new>

#include "ViewerLoadFigures.h"

namespace {

constexpr std::size_t Front = 16;  // keeps the alignment malloc gives
// What the system heap spends on a block beside its bytes.
constexpr double HeapOverhead = 16;
std::atomic<long long> liveBytes{0};
std::atomic<long long> liveBlocks{0};

void* allocate(std::size_t n) {
    void* base = std::malloc(n + Front);
    if (!base) throw std::bad_alloc();
    *static_cast<std::size_t*>(base) = n;
    liveBytes += static_cast<long long>(n);
    ++liveBlocks;
    return static_cast<char*>(base) + Front;
}

void release(void* p) noexcept {
    if (!p) return;
    char* base = static_cast<char*>(p) - Front;
    liveBytes -= static_cast<long long>(*reinterpret_cast<std::size_t*>(base));
    --liveBlocks;
    std::free(base);
}

}  // namespace

void* operator new(std::size_t n) { return allocate(n); }
void* operator new[](std::size_t n) { return allocate(n); }
void* operator new(std::size_t n, const std::nothrow_t&) noexcept {
    try {
        return allocate(n);
    } catch (...) {
        return nullptr;
    }
}
void* operator new[](std::size_t n, const std::nothrow_t& tag) noexcept { return operator new(n, tag); }
void operator delete(void* p) noexcept { release(p); }
void operator delete[](void* p) noexcept { release(p); }
void operator delete(void* p, std::size_t) noexcept { release(p); }
void operator delete[](void* p, std::size_t) noexcept { release(p); }

namespace quillon::bench {

double heapBytes() {
    return static_cast<double>(liveBytes.load()) + HeapOverhead * static_cast<double>(liveBlocks.load());
}

}  // namespace quillon::bench
