// duplicate_scan_bench BIG SMALL WORKFOLDER
// The duplicate scan against a bare FindFirstFile walk of the big tree, then against the plain
// folder-by-folder passes on the small tree (both must list the same rows), then the unused-DLL
// scan over 10,000 SharedDLLs values written for the run and taken away after it. BIG, SMALL and
// WORKFOLDER end in "\".
#include <windows.h>

#include <cstdio>
#include <set>
#include <string>

#include "BareWalk.h"
#include "QuietRun.h"
#include "Stopwatch.h"
#include "cleanup/DuplicateScan.h"
#include "cleanup/UnusedDllScan.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32Registry.h"
#include "platform/win32/Win32Shell.h"
#include "shell/Folders.h"
#include "shell/ProtectedLibraries.h"
#include "support/DuplicatePasses.h"

namespace quillon::bench {
namespace {

class NoStatus final : public cleanup::ScanProgress {
public:
    void showFolder(std::string_view) override {}
    void showStatus(std::string_view) override {}
};

std::multiset<std::string> rowsOf(const cleanup::ScanResults& results) {
    std::multiset<std::string> rows;
    for (const cleanup::JunkRow& row : results.rows()) rows.insert(row.fullPath());
    return rows;
}

int run(const std::string& big, const std::string& small, const std::string& work) {
    win32::Win32FileSystem files;
    win32::Win32Shell shell;
    QuietRun quiet;
    NoStatus status;
    cleanup::WalkPorts ports{files, shell, quiet, status};
    const cleanup::DuplicateFolders folders{work, shell::specialFolder(shell, Csidl::Windows)};
    const cleanup::DuplicateOptions options;

    Stopwatch bareWatch;
    const std::size_t entries = bareWalk(big);
    const double bare = bareWatch.seconds();
    cleanup::ScanResults found;
    Stopwatch scanWatch;
    const auto outcome = cleanup::scanDuplicates(ports, options, folders, big.substr(0, 2), found);
    const double scan = scanWatch.seconds();
    std::printf("big tree: %zu entries; bare walk %.3f s; duplicate scan %.3f s (%zu rows): %.2fx (bound 1.50x)\n",
                entries, bare, scan, found.size(), scan / bare);

    cleanup::ScanResults smallFound;
    Stopwatch smallWatch;
    cleanup::scanDuplicates(ports, options, folders, small.substr(0, 2), smallFound);
    const double smallScan = smallWatch.seconds();
    Stopwatch passesWatch;
    const std::multiset<std::string> passes = cleanup::duplicatePasses(files, options, small, folders.windows);
    const double passesTime = passesWatch.seconds();
    const bool same = passes == rowsOf(smallFound);
    std::printf("small tree: duplicate scan %.3f s, folder-by-folder passes %.3f s (%.0fx), rows %s (%zu)\n", smallScan,
                passesTime, passesTime / smallScan, same ? "identical" : "DIFFERENT", passes.size());

    win32::Win32Registry registry;
    std::unique_ptr<RegistryKey> key;
    static_cast<void>(registry.create(Hive::LocalMachine, shell::SharedDllsKey, key));  // set-up; the run checks what it reads
    const std::string library = small + "lib";
    for (int n = 0; n < 10000; ++n)
        if (key) static_cast<void>(key->setValue(library + std::to_string(n) + ".dll", {RegType::Sz, n % 10 == 0 ? "0" : "1"}));  // set-up; the run checks what it reads
    cleanup::ScanResults libraries;
    Stopwatch dllWatch;
    cleanup::scanUnusedDlls(ports, registry, libraries);
    const double dll = dllWatch.seconds();
    for (int n = 0; n < 10000; ++n)
        if (key) static_cast<void>(key->deleteValue(library + std::to_string(n) + ".dll"));  // set-up; the run checks what it reads
    std::printf("unused-DLL scan of 10,000 values: %.3f s, %.1f us a value\n", dll, dll * 1e6 / 10000);
    return outcome == cleanup::DuplicateOutcome::Completed && same && scan / bare <= 1.5 ? 0 : 1;
}

}  // namespace
}  // namespace quillon::bench

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: duplicate_scan_bench BIG SMALL WORKFOLDER\n");
        return 2;
    }
    return quillon::bench::run(argv[1], argv[2], argv[3]);
}
