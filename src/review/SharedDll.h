#pragma once
// Whether a DLL or OCX may be used by other programs, so that the user is asked before it goes.
#include <string_view>

#include "platform/Registry.h"
#include "shell/ProtectedLibraries.h"

namespace quillon::review {

using shell::SharedDllsKey;

// True when the file's name is not protected and a SharedDLLs entry naming the path counts
// two programs or more. A missing or unreadable SharedDLLs key means nothing is shared.
bool isSharedDll(Registry& registry, std::string_view path);

}  // namespace quillon::review
