// snapshot_bench ROOT OUTDIR [REPETITIONS]
// Times the snapshot folder walk against a bare FindFirstFile walk of the same tree (both
// must write the same bytes), shows where the snapshot walk's time goes, and times the
// registry walk of HKLM. ROOT and OUTDIR end in "\"; OUTDIR must lie outside ROOT.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "BareFolderWalk.h"
#include "Profiling.h"
#include "QuietRun.h"
#include "RegistryBench.h"
#include "Stopwatch.h"
#include "platform/win32/Handles.h"
#include "platform/win32/Win32FileSystem.h"
#include "snapshot/FolderWalk.h"
#include "ui/MessagePump.h"

namespace quillon::bench {

namespace {

// The snapshot walk into a file through the adapter; false when it did not complete.
bool snapshotWalk(FileSystem& files, RunContext& run, const std::string& root, const std::string& outputPath,
                  PortTimes* times = nullptr) {
    win32::Win32FileSystem writerFiles;
    std::unique_ptr<TextWriter> out;
    if (!succeeded(writerFiles.openWrite(outputPath, WriteMode::Create, out))) return false;
    NoProgress progress;
    bool completed;
    if (times) {
        TimedWriter timedOut(*out, *times);
        completed = snapshot::walkFolderTree(files, run, progress, root, timedOut).completed();
    } else {
        completed = snapshot::walkFolderTree(files, run, progress, root, *out).completed();
    }
    return succeeded(out->close()) && completed;
}

bool sameBytes(const std::string& first, const std::string& second) {
    const auto open = [](const std::string& path) {
        return win32::FileHandle(
            CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    };
    const win32::FileHandle a = open(first), b = open(second);
    if (!a || !b) return false;
    std::vector<char> bufferA(1 << 16), bufferB(1 << 16);
    for (;;) {
        DWORD gotA = 0, gotB = 0;
        if (!ReadFile(a.get(), bufferA.data(), static_cast<DWORD>(bufferA.size()), &gotA, nullptr) ||
            !ReadFile(b.get(), bufferB.data(), static_cast<DWORD>(bufferB.size()), &gotB, nullptr))
            return false;
        if (gotA != gotB || !std::equal(bufferA.begin(), bufferA.begin() + gotA, bufferB.begin())) return false;
        if (gotA == 0) return true;
    }
}

struct Spread {
    double min;
    double median;
};

Spread spread(std::vector<double> samples) {
    std::sort(samples.begin(), samples.end());
    const std::size_t n = samples.size();
    return {samples.front(), n % 2 ? samples[n / 2] : (samples[n / 2 - 1] + samples[n / 2]) / 2};
}

std::uint64_t fileSize(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return 0;
    return (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

int compareWalks(const std::string& root, const std::string& outDir, int repetitions) {
    const std::string snapshotOut = outDir + "snapshot-walk.qdb";
    const std::string bareOut = outDir + "bare-walk.qdb";
    win32::Win32FileSystem files;

    // One untimed pass of each fills the host's caches for both alike.
    QuietRun warmRun;
    if (!snapshotWalk(files, warmRun, root, snapshotOut) || !bareFolderWalk(root, bareOut, {})) {
        std::printf("error: a warm-up walk failed\n");
        return 1;
    }
    if (!sameBytes(snapshotOut, bareOut)) {
        std::printf("error: the two walks wrote different bytes (%s, %s)\n", snapshotOut.c_str(), bareOut.c_str());
        return 1;
    }
    std::printf("outputs identical: %llu bytes, %llu yields per walk\n",
                static_cast<unsigned long long>(fileSize(snapshotOut)),
                static_cast<unsigned long long>(warmRun.yields()));

    std::vector<double> snapshotTimes, bareTimes;
    for (int rep = 0; rep < repetitions; ++rep) {
        // Alternating which goes first keeps a drift of the machine from favouring one.
        for (int turn = 0; turn < 2; ++turn) {
            const bool snapshotTurn = (turn == 0) == (rep % 2 == 0);
            const Stopwatch watch;
            QuietRun run;
            const bool ok = snapshotTurn ? snapshotWalk(files, run, root, snapshotOut) : bareFolderWalk(root, bareOut, {});
            const double seconds = watch.seconds();
            if (!ok) {
                std::printf("error: walk failed\n");
                return 1;
            }
            (snapshotTurn ? snapshotTimes : bareTimes).push_back(seconds);
        }
    }
    if (!sameBytes(snapshotOut, bareOut)) {
        std::printf("error: the timed walks wrote different bytes\n");
        return 1;
    }
    const Spread s = spread(snapshotTimes), b = spread(bareTimes);
    std::printf("%-34s min %7.3f s   median %7.3f s   (%d runs)\n", "snapshot walk (ports):", s.min, s.median,
                repetitions);
    std::printf("%-34s min %7.3f s   median %7.3f s   (%d runs)\n", "bare FindFirstFile walk:", b.min, b.median,
                repetitions);
    std::printf("%-34s min %7.3f         median %7.3f         (target <= 1.20)\n", "ratio snapshot / bare:",
                s.min / b.min, s.median / b.median);
    return 0;
}

void profile(const std::string& root, const std::string& outDir) {
    const std::string out = outDir + "profile-walk.qdb";
    std::printf("\nwhere the snapshot walk's time goes (one instrumented run):\n");
    {
        win32::Win32FileSystem inner;
        PortTimes times;
        TimedFileSystem files(inner, times);
        QuietRun quiet;
        TimedRun run(quiet, times);
        const Stopwatch watch;
        snapshotWalk(files, run, root, out, &times);
        const double total = watch.seconds();
        const double rest = total - times.listOpen - times.listNext - times.write - times.yield;
        const auto row = [total](const char* what, double seconds) {
            std::printf("  %-44s %7.3f s  %5.1f %%\n", what, seconds, 100 * seconds / total);
        };
        row("list (FindFirstFileExW)", times.listOpen);
        row("next (FindNextFileW + entry conversion)", times.listNext);
        row("writer (TextWriter::write)", times.write);
        row("yield + stop checks", times.yield);
        row("the walk itself and timer overhead", rest);
        std::printf("  %-44s %7.3f s  (%llu entries, %llu writes)\n", "total", total,
                    static_cast<unsigned long long>(times.entries), static_cast<unsigned long long>(times.writes));
    }
    {
        const std::string bareOut = outDir + "profile-bare.qdb";
        Stopwatch plain;
        bareFolderWalk(root, bareOut, {});
        const double plainSeconds = plain.seconds();
        Stopwatch converting;
        bareFolderWalk(root, bareOut, {true});
        const double convertingSeconds = converting.seconds();
        std::printf("  bare walk %.3f s; with each entry's time made local calendar time %.3f s (+%.3f s)\n",
                    plainSeconds, convertingSeconds, convertingSeconds - plainSeconds);
    }
    {
        // The window's own pump: a tick count per yield, a real look at the queue every 15 ms.
        ui::StopFlag stop;
        ui::MessagePump pump(stop);
        win32::Win32FileSystem files;
        const Stopwatch watch;
        snapshotWalk(files, pump, root, out);
        std::printf("  snapshot walk yielding to the real message pump: %.3f s\n", watch.seconds());
    }
}

void registry(const std::string& outDir) {
    std::printf("\nregistry walk of HKLM:\n");
    const RegistryFigures bare = bareRegistryWalk(false, false);
    const RegistryFigures walk = snapshotRegistryWalk(outDir + "hklmReg.qdb");
    const auto row = [](const char* what, const RegistryFigures& f) {
        std::printf("  %-44s %6llu keys  %7.3f s  %8.0f keys/s  %6.1f us/key%s\n", what,
                    static_cast<unsigned long long>(f.keys), f.seconds, f.keys / f.seconds,
                    1e6 * f.seconds / static_cast<double>(f.keys), f.ok ? "" : "  (did not complete)");
    };
    row("snapshot registry walk (ports)", walk);
    row("bare RegOpenKeyExW/RegEnumKeyExW", bare);
}

}  // namespace

}  // namespace quillon::bench

int main(int argc, char** argv) {
    if (argc < 3) {
        std::printf("usage: snapshot_bench ROOT\\ OUTDIR\\ [REPETITIONS]\n");
        return 2;
    }
    const std::string root = argv[1];
    const std::string outDir = argv[2];
    const int repetitions = argc > 3 ? std::max(1, std::atoi(argv[3])) : 5;
    if (const int failed = quillon::bench::compareWalks(root, outDir, repetitions)) return failed;
    quillon::bench::profile(root, outDir);
    quillon::bench::registry(outDir);
    return 0;
}
