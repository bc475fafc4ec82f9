// Times the registry key-list comparison on a synthetic hive of about 500,000 keys: a rescan
// equal to the snapshot against one with 5,000 new keys spread through it. The second must
// cost at most twice the first.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "LocalFiles.h"
#include "QuietRun.h"
#include "detection/RegistryCompare.h"

namespace {

using quillon::bench::BenchFiles;

constexpr int Vendors = 100;
constexpr int Products = 50;
constexpr int KeysPerProduct = 99;

// A pre-order key list like the registry walk writes; with `added`, each product gains one
// new key in the middle of its sub-keys (5,000 in all).
std::uint64_t writeKeyList(BenchFiles& files, const std::string& path, bool added) {
    std::unique_ptr<quillon::TextWriter> out;
    if (!succeeded(files.openWrite(path, quillon::WriteMode::Create, out))) return 0;
    std::uint64_t lines = 0;
    auto line = [&](const std::string& key) {
        out->putLine(key);
        ++lines;
    };
    line("");
    line("Software");
    for (int v = 0; v < Vendors; ++v) {
        const std::string vendor = "Software\\Vendor" + std::to_string(v);
        line(vendor);
        for (int p = 0; p < Products; ++p) {
            const std::string product = vendor + "\\Product" + std::to_string(p);
            line(product);
            for (int k = 0; k < KeysPerProduct; ++k) {
                if (added && k == KeysPerProduct / 2) line(product + "\\Installed" + std::to_string(k));
                line(product + "\\Key" + std::to_string(k));
            }
        }
    }
    return succeeded(out->close()) ? lines : 0;
}

std::uint64_t countLines(BenchFiles& files, const std::string& path) {
    std::unique_ptr<quillon::TextReader> in;
    if (!succeeded(files.openRead(path, in))) return 0;
    std::uint64_t lines = 0;
    std::string line;
    while (in->readLine(line)) ++lines;
    return lines;
}

// The best of `repetitions` runs, in seconds; negative when a run failed.
double bestCompare(BenchFiles& files, const std::string& snapshot, const std::string& fresh, const std::string& output,
                   int repetitions) {
    double best = 1e30;
    for (int i = 0; i < repetitions; ++i) {
        quillon::bench::QuietRun run;
        const auto start = std::chrono::steady_clock::now();
        const auto outcome = quillon::detection::compareRegistryScan(files, run, snapshot, fresh, output);
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        if (outcome != quillon::detection::RegistryOutcome::Completed) return -1;
        best = std::min(best, took.count());
    }
    return best;
}

}  // namespace

int main(int argc, char** argv) {
    const int repetitions = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / "quillon-registry-bench";
    std::filesystem::create_directories(folder);
    const std::string snapshot = (folder / "hklmReg.qdb").string();
    const std::string same = (folder / "same.qdb").string();
    const std::string added = (folder / "added.qdb").string();
    const std::string output = (folder / "hklmchanges.qdb").string();

    BenchFiles files;
    const std::uint64_t keys = writeKeyList(files, snapshot, false);
    writeKeyList(files, same, false);
    const std::uint64_t withAdded = writeKeyList(files, added, true);

    const double none = bestCompare(files, snapshot, same, output, repetitions);
    const std::uint64_t reportedNone = countLines(files, output);
    const double some = bestCompare(files, snapshot, added, output, repetitions);
    const std::uint64_t reportedSome = countLines(files, output);
    std::filesystem::remove_all(folder);

    std::printf("snapshot keys        %llu\n", static_cast<unsigned long long>(keys));
    std::printf("no new key           %.3f s  (%llu reported)\n", none, static_cast<unsigned long long>(reportedNone));
    std::printf("%llu new keys        %.3f s  (%llu reported)\n", static_cast<unsigned long long>(withAdded - keys), some,
                static_cast<unsigned long long>(reportedSome));
    const double ratio = none > 0 ? some / none : 0;
    std::printf("ratio                %.2f (at most 2)\n", ratio);
    return none > 0 && some > 0 && ratio <= 2.0 ? EXIT_SUCCESS : EXIT_FAILURE;
}
