#include "RegistryBench.h"

#include <windows.h>

#include <memory>
#include <vector>

#include "QuietRun.h"
#include "Stopwatch.h"
#include "platform/win32/Handles.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32Registry.h"
#include "snapshot/RegistryWalk.h"

namespace quillon::bench {

namespace {

std::uint64_t countLines(FileSystem& files, const std::string& path) {
    std::unique_ptr<TextReader> reader;
    if (!succeeded(files.openRead(path, reader))) return 0;
    std::uint64_t lines = 0;
    std::string line;
    while (reader->readLine(line)) ++lines;
    return lines;
}

}  // namespace

RegistryFigures snapshotRegistryWalk(const std::string& outputPath) {
    win32::Win32Registry registry;
    win32::Win32FileSystem files;
    QuietRun run;
    RegistryFigures figures;
    const Stopwatch watch;
    const snapshot::UpdateOutcome outcome =
        snapshot::walkRegistry(registry, files, run, Hive::LocalMachine, "", outputPath, "");
    figures.seconds = watch.seconds();
    figures.ok = outcome == snapshot::UpdateOutcome::Completed;
    figures.keys = countLines(files, outputPath);
    return figures;
}

RegistryFigures bareRegistryWalk() {
    RegistryFigures figures;
    const Stopwatch watch;
    std::vector<std::string> pending{""};
    char name[256];
    while (!pending.empty()) {
        const std::string path = std::move(pending.back());
        pending.pop_back();
        ++figures.keys;
        win32::RegKey key;
        if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ, key.out()) != ERROR_SUCCESS) continue;
        for (DWORD index = 0;; ++index) {
            DWORD length = sizeof name;
            if (RegEnumKeyExA(key.get(), index, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
                break;
            pending.push_back(path.empty() ? std::string(name, length) : path + "\\" + std::string(name, length));
        }
    }
    figures.seconds = watch.seconds();
    figures.ok = true;
    return figures;
}

}  // namespace quillon::bench
