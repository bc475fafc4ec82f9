// What the undo record adds to a removal, under wine64: a key tree of KEYS keys with ten values
// of every kind, a configuration file of LINES lines and FILES file entries, written and read back,
// against the deletion of the same tree alone.
//   undo_record_bench DATA-FOLDER [KEYS] [LINES] [FILES]
#include <cstdio>
#include <cstdlib>
#include <string>

#include "QuietRun.h"
#include "Stopwatch.h"
#include "platform/win32/Win32Clock.h"
#include "platform/win32/Win32Desktop.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32Registry.h"
#include "platform/win32/Win32Shell.h"
#include "ui/Win32Prompter.h"
#include "undo/UndoRecorder.h"

using namespace quillon;

namespace {

constexpr const char* BenchKey = "Software\\QuillonUndoBench";

void makeTree(Registry& registry, int keys) {
    using namespace std::string_literals;
    const RegValue values[] = {{RegType::Sz, "C:\\Program Files\\Bench\\bench.exe"},
                               {RegType::ExpandSz, "%ProgramFiles%\\Bench"},
                               {RegType::MultiSz, "first\0second\0\0"s},
                               {RegType::Dword, "\x2a\0\0\0"s},
                               {RegType::Qword, "\1\2\3\4\5\6\7\x80"s},
                               {RegType::Binary, std::string(64, '\xa5')}};
    for (int k = 0; k < keys; ++k) {
        std::unique_ptr<RegistryKey> key;
        if (!succeeded(registry.create(Hive::CurrentUser,
                                       std::string(BenchKey) + "\\Group" + std::to_string(k % 20) + "\\Key" + std::to_string(k),
                                       key)))
            continue;  // the record then has fewer keys to write; the figures say how many
        for (int v = 0; v < 10; ++v) static_cast<void>(key->setValue("Value" + std::to_string(v), values[v % 6]));
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return 2;
    const std::string data = std::string(argv[1]) + "\\";
    const int keys = argc > 2 ? std::atoi(argv[2]) : 2000;
    const int lines = argc > 3 ? std::atoi(argv[3]) : 2000;
    const int fileCount = argc > 4 ? std::atoi(argv[4]) : 5000;

    win32::Win32Registry registry;
    win32::Win32FileSystem files;
    win32::Win32Shell shell;
    win32::Win32Desktop desktop;
    win32::Win32Clock clock;
    ui::Win32Prompter prompter;
    bench::QuietRun run;
    shell::RemovalPorts ports{registry, files, shell, desktop, prompter, run, clock, data};

    const std::string ini = data + "bench.ini";
    std::unique_ptr<TextWriter> out;
    if (!succeeded(files.openWrite(ini, WriteMode::Create, out))) return 1;
    for (int i = 0; i < lines; ++i) out->putLine("Setting" + std::to_string(i) + "=some value of a line");
    if (!succeeded(out->close())) return 1;

    static_cast<void>(registry.deleteTree(Hive::CurrentUser, BenchKey));  // clearing what an earlier run left
    makeTree(registry, keys);
    const undo::PlannedRemoval plan{"Bench", {{ini, "Setting1=some value of a line"}}};
    std::vector<shell::FileFate> fates;
    for (int i = 0; i < fileCount; ++i)
        fates.push_back({"C:\\Program Files\\Bench\\file" + std::to_string(i) + ".dat", shell::RemovalPlace::RecycleBin, {}});

    double record = 0, removal = 0;
    {
        const bench::ScopeTimer timer(record);
        undo::UndoRecorder recorder(ports, plan, "Bench");
        if (!recorder.write({{Hive::CurrentUser, BenchKey}}, fates)) return 1;
    }
    {
        const bench::ScopeTimer timer(removal);
        if (!succeeded(registry.deleteTree(Hive::CurrentUser, BenchKey))) return 1;
    }
    std::printf("keys %d (%d values), lines %d, file entries %d\n", keys, keys * 10, lines, fileCount);
    std::printf("undo record written and checked: %.3f s\n", record);
    std::printf("deleting the key tree alone:     %.3f s\n", removal);
    std::printf("record per value:                %.0f us\n", record * 1e6 / (keys * 10));
    std::printf("record / deletion:               %.2f\n", record / removal);
    return 0;
}
