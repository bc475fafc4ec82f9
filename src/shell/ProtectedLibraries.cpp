#include "shell/ProtectedLibraries.h"

#include "platform/TextCompare.h"

namespace quillon::shell {

std::string protectedRuntimeList() {
    return "Comdlg32.ocx^Comctl32.ocx^Comct232.ocx^Tabctl32.ocx^ZaRuz16.exe^" + std::string(OwnRuntimeLibrary) +
           "^shfolder.dll^scrrun.dll";
}

bool isProtectedLibrary(std::string_view fileName) {
    return findNoCase(protectedRuntimeList(), fileName) != std::string::npos;
}

}  // namespace quillon::shell
