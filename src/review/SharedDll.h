#pragma once
// Whether a DLL or OCX may be used by other programs, so that the user is asked before it goes.
#include <string>
#include <string_view>

#include "platform/Registry.h"

namespace quillon::review {

// The program links its C++ runtime statically; this is the name that runtime would have as a
// separate library, kept so a removal never asks about it.
inline constexpr std::string_view OwnRuntimeLibrary = "libstdc++-6.dll";

// Where the system counts the programs that share a library (under HKEY_LOCAL_MACHINE).
inline constexpr std::string_view SharedDllsKey = "Software\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs";

// The files removed without asking, joined by "^".
std::string protectedRuntimeList();

// True when the file's name is not protected and a SharedDLLs entry naming the path counts
// two programs or more. A missing or unreadable SharedDLLs key means nothing is shared.
bool isSharedDll(Registry& registry, std::string_view path);

}  // namespace quillon::review
