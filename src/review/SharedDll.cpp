#include "review/SharedDll.h"

#include "platform/TextCompare.h"
#include "shell/modRegistry.h"

namespace quillon::review {

std::string protectedRuntimeList() {
    return "Comdlg32.ocx^Comctl32.ocx^Comct232.ocx^Tabctl32.ocx^ZaRuz16.exe^" + std::string(OwnRuntimeLibrary) +
           "^shfolder.dll^scrrun.dll";
}

bool isSharedDll(Registry& registry, std::string_view path) {
    const std::size_t slash = path.rfind('\\');
    const std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
    if (findNoCase(protectedRuntimeList(), name) != std::string::npos) return false;

    const shell::KeyPtr key = shell::openKey(registry, Hive::LocalMachine, SharedDllsKey);
    if (!key) return false;
    std::string valueName;
    RegValue value;
    for (std::uint32_t index = 0; succeeded(key->enumValue(index, valueName, value)); ++index) {
        // The count is compared as text: decimal counts of 2 and more all sort after "1".
        if (findNoCase(valueName, path) != std::string::npos && shell::valueText(value) > "1") return true;
    }
    return false;
}

}  // namespace quillon::review
