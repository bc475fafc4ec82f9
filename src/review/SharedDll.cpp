#include "review/SharedDll.h"

#include "platform/TextCompare.h"
#include "shell/modRegistry.h"

namespace quillon::review {

bool isSharedDll(Registry& registry, std::string_view path) {
    const std::size_t slash = path.rfind('\\');
    const std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
    if (shell::isProtectedLibrary(name)) return false;

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
