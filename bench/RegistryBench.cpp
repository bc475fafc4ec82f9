#include "RegistryBench.h"

#include <windows.h>

#include <memory>
#include <string>
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

RegistryFigures bareRegistryWalk(bool currentUserToo, bool values) {
    RegistryFigures figures;
    const Stopwatch watch;
    std::vector<wchar_t> name(16384), data(1 << 16);
    for (HKEY hive : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}) {
        if (hive == HKEY_CURRENT_USER && !currentUserToo) continue;
        std::vector<std::wstring> pending{L""};
        while (!pending.empty()) {
            const std::wstring path = std::move(pending.back());
            pending.pop_back();
            ++figures.keys;
            win32::RegKey key;
            if (RegOpenKeyExW(hive, path.c_str(), 0, KEY_READ, key.out()) != ERROR_SUCCESS) continue;
            for (DWORD index = 0; values; ++index) {
                DWORD length = static_cast<DWORD>(name.size()), size = static_cast<DWORD>(data.size() * sizeof(wchar_t));
                if (RegEnumValueW(key.get(), index, name.data(), &length, nullptr, nullptr,
                                  reinterpret_cast<BYTE*>(data.data()), &size) != ERROR_SUCCESS)
                    break;
                ++figures.values;
            }
            for (DWORD index = 0;; ++index) {
                DWORD length = static_cast<DWORD>(name.size());
                if (RegEnumKeyExW(key.get(), index, name.data(), &length, nullptr, nullptr, nullptr, nullptr) !=
                    ERROR_SUCCESS)
                    break;
                const std::wstring sub(name.data(), length);
                pending.push_back(path.empty() ? sub : path + L"\\" + sub);
            }
        }
    }
    figures.seconds = watch.seconds();
    figures.ok = true;
    return figures;
}

}  // namespace quillon::bench
