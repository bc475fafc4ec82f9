// The value snapshot and the value comparison under wine64: a generated tree of KEYS keys with
// ten values each below HKEY_CURRENT_USER, walked by Update database's walk (keys and values)
// and by a bare walk of keys and values (RegEnumKeyExW, RegEnumValueW); then the comparison of
// value lists of the tree and of a tree twice as large, to show it grows linearly.
//   value_bench WORK-FOLDER [KEYS]   (default 20000)
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "QuietRun.h"
#include "Stopwatch.h"
#include "detection/ValueCompare.h"
#include "platform/win32/Handles.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32Registry.h"
#include "snapshot/RegistryWalk.h"

using namespace quillon;

namespace {

constexpr const char* BenchKey = "Software\\QuillonValueBench";

void makeTree(Registry& registry, int keys, const char* top) {
    using namespace std::string_literals;
    const RegValue values[] = {{RegType::Sz, "C:\\Program Files\\Bench\\bench.exe"},
                               {RegType::ExpandSz, "%ProgramFiles%\\Bench"},
                               {RegType::MultiSz, "first\0second\0\0"s},
                               {RegType::Dword, "\x2a\0\0\0"s},
                               {RegType::Binary, std::string(48, '\xa5')}};
    for (int k = 0; k < keys; ++k) {
        std::unique_ptr<RegistryKey> key;
        const std::string path =
            std::string(top) + "\\Group" + std::to_string(k % 100) + "\\Key" + std::to_string(k);
        if (!succeeded(registry.create(Hive::CurrentUser, path, key))) continue;
        for (int v = 0; v < 10; ++v)
            static_cast<void>(key->setValue("Value" + std::to_string(v), values[(k + v) % 5]));
    }
}

// Keys and values, counted: what any walk of the same tree must at least do.
std::uint64_t bareWalk(const std::wstring& top) {
    std::uint64_t items = 0;
    std::vector<std::wstring> pending{top};
    std::vector<BYTE> data(1 << 16);
    wchar_t name[16384];
    while (!pending.empty()) {
        const std::wstring path = std::move(pending.back());
        pending.pop_back();
        ++items;
        win32::RegKey key;
        if (RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, key.out()) != ERROR_SUCCESS) continue;
        for (DWORD index = 0;; ++index, ++items) {
            DWORD length = 16384, size = static_cast<DWORD>(data.size()), type = 0;
            if (RegEnumValueW(key.get(), index, name, &length, nullptr, &type, data.data(), &size) != ERROR_SUCCESS)
                break;
        }
        for (DWORD index = 0;; ++index) {
            DWORD length = 256;
            if (RegEnumKeyExW(key.get(), index, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
                break;
            pending.push_back(path + L"\\" + std::wstring(name, length));
        }
    }
    return items;
}

double walkTree(Registry& registry, FileSystem& files, const std::string& keys, const std::string& values,
                const char* top) {
    bench::QuietRun run;
    const bench::Stopwatch watch;
    const auto outcome = snapshot::walkRegistry(registry, files, run, Hive::CurrentUser, top, keys, "", nullptr, values);
    return outcome == snapshot::UpdateOutcome::Completed ? watch.seconds() : -1;
}

// Snapshot and fresh lists of a tree: one value in a hundred changed, one added, one removed.
double compareTrees(Registry& registry, FileSystem& files, const std::string& work, int keys) {
    static_cast<void>(registry.deleteTree(Hive::CurrentUser, BenchKey));
    makeTree(registry, keys, BenchKey);
    if (walkTree(registry, files, work + "oldKeys", work + "oldValues", BenchKey) < 0) return -1;
    for (int k = 0; k < keys; k += 100) {
        std::unique_ptr<RegistryKey> key;
        const std::string path = std::string(BenchKey) + "\\Group" + std::to_string(k % 100) + "\\Key" + std::to_string(k);
        if (!succeeded(registry.open(Hive::CurrentUser, path, RegAccess::ReadWrite, key))) continue;
        static_cast<void>(key->setValue("Value0", {RegType::Sz, "changed"}));
        static_cast<void>(key->setValue("Added", {RegType::Sz, "added"}));
        static_cast<void>(key->deleteValue("Value1"));
    }
    if (walkTree(registry, files, work + "freshKeys", work + "freshValues", BenchKey) < 0) return -1;
    bench::QuietRun run;
    const bench::Stopwatch watch;
    const std::string o = work + "oldKeys", ov = work + "oldValues", f = work + "freshKeys", fv = work + "freshValues",
                      out = work + "valueChanges";
    const auto outcome = detection::compareValueScan(files, run, {o, ov, f, fv, out}, {});
    return outcome == detection::RegistryOutcome::Completed ? watch.seconds() : -1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return 2;
    const std::string work = std::string(argv[1]) + "\\";
    const int keys = argc > 2 ? std::atoi(argv[2]) : 20000;
    win32::Win32Registry registry;
    win32::Win32FileSystem files;

    static_cast<void>(registry.deleteTree(Hive::CurrentUser, BenchKey));  // what an earlier run left
    makeTree(registry, keys, BenchKey);
    const std::wstring top = L"Software\\QuillonValueBench";
    double bare = 0;
    std::uint64_t items = 0;
    {
        const bench::ScopeTimer timer(bare);
        items = bareWalk(top);
    }
    const double walk = walkTree(registry, files, work + "keys", work + "values", BenchKey);
    std::printf("keys and values of the tree      %llu\n", static_cast<unsigned long long>(items));
    std::printf("bare walk of keys and values     %.3f s\n", bare);
    std::printf("snapshot walk with values        %.3f s\n", walk);
    std::printf("snapshot / bare                  %.3f\n", walk / bare);

    const double once = compareTrees(registry, files, work, keys / 2);
    const double twice = compareTrees(registry, files, work, keys);
    std::printf("value comparison, %d keys        %.3f s\n", keys / 2, once);
    std::printf("value comparison, %d keys        %.3f s\n", keys, twice);
    std::printf("twice the values / once          %.3f\n", twice / once);
    static_cast<void>(registry.deleteTree(Hive::CurrentUser, BenchKey));
    return walk < 0 || once < 0 || twice < 0 ? 1 : 0;
}
