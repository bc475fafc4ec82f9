#pragma once
#include <cstdint>

namespace quillon {

// A window as logic sees it: the system's handle value, opaque outside the Win32 layer.
using WindowRef = std::uintptr_t;

}  // namespace quillon
