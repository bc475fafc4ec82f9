#include "cleanup/UnusedDllScan.h"

#include <string>

#include "shell/ProtectedLibraries.h"
#include "shell/modRegistry.h"

namespace quillon::cleanup {

bool scanUnusedDlls(WalkPorts& ports, Registry& registry, ScanResults& results) {
    const shell::KeyPtr key = shell::openKey(registry, Hive::LocalMachine, shell::SharedDllsKey);
    if (!key) return true;
    std::string path;
    RegValue value;
    // Every value, however many: the count of values is not limited.
    for (std::uint32_t index = 0; succeeded(key->enumValue(index, path, value)); ++index) {
        const std::size_t slash = path.rfind('\\');
        const std::string name = path.substr(slash == std::string::npos ? 0 : slash + 1);
        FileInfo info;
        if (shell::valueText(value) == "0" && !shell::isProtectedLibrary(name) &&
            succeeded(ports.files.info(path, info)) && !(info.attributes & FileAttr::Directory)) {
            const std::uint32_t type = askType(ports.shell, results, typeText(name), path);
            results.add({name, path.substr(0, path.size() - name.size()), static_cast<double>(info.size), type});
        }
        ports.run.yield();
        if (ports.run.stopRequested()) return false;
    }
    return true;
}

}  // namespace quillon::cleanup
