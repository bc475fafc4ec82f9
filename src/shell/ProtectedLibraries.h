#pragma once
// The system's count of the programs that share a library, and the libraries no removal and no
// unused-library scan ever touches.
#include <string>
#include <string_view>

namespace quillon::shell {

// Where the system counts the programs that share a library (under HKEY_LOCAL_MACHINE).
inline constexpr std::string_view SharedDllsKey = "Software\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs";

// The program links its C++ runtime statically; this is the name that runtime would have as a
// separate library, kept so that nothing ever offers to remove it.
inline constexpr std::string_view OwnRuntimeLibrary = "libstdc++-6.dll";

// The protected files, joined by "^".
std::string protectedRuntimeList();

// The file name occurs in the protected list (case ignored): a part of a protected name counts.
bool isProtectedLibrary(std::string_view fileName);

}  // namespace quillon::shell
