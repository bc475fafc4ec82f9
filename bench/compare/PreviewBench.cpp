// Times what the uninstall preview adds for the other programs' saved lists: the 20,000 entries of
// the list being uninstalled hashed, 50 lists of 2,000 entries each read through them, and each
// entry's claim looked up, against reading those 50 lists alone. Hashing the entries once, not a
// scan of every list per entry, keeps it within twice the reading. The lists are real files, read through the same file code
// natively and (scripts/bench-find-changes) under wine64.
//   build/<dir>/bench/compare/preview_bench
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "LocalFiles.h"
#include "QuietRun.h"
#include "review/SavedForDeletion.h"
#include "review/SavedListClaims.h"
#include "support/FakeRegistry.h"

namespace {

using namespace quillon;

constexpr int SavedLists = 50;
constexpr int EntriesPerList = 2000;
constexpr int UninstalledEntries = 20000;

// Four in five entries files, the rest keys.
std::string entry(int vendor, int e) {
    const std::string v = std::to_string(vendor), n = std::to_string(e);
    return e % 5 ? "C:\\Program Files\\Vendor" + v + "\\Product\\file" + n + ".dll"
                 : "HKEY_LOCAL_MACHINE\\Software\\Vendor" + v + "\\Key" + n;
}

bool writeList(bench::BenchFiles& files, const std::string& path, int vendor, int entries) {
    std::unique_ptr<TextWriter> out;
    if (!succeeded(files.openWrite(path, WriteMode::Create, out))) return false;
    for (const bool keys : {false, true}) {
        out->putLine(keys ? "Registry{" : "Files{");
        for (int e = 0; e < entries; ++e)
            if ((e % 5 == 0) == keys) out->putLine(entry(vendor, e));
        out->putLine("}");
    }
    for (const char* section : {"Win.ini{", "System.ini{", "Autoexec.bat{", "Config.sys{"}) {
        out->putLine(section);
        out->putLine("}");
    }
    return succeeded(out->close());
}

template <typename Step>
double best(Step step) {
    double fastest = 1e9;
    for (int i = 0; i < 21; ++i) {
        const auto start = std::chrono::steady_clock::now();
        step();
        fastest = std::min(fastest, std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
    return fastest;
}

}  // namespace

int main() {
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / "quillon-preview-bench";
    std::filesystem::create_directories(folder);
    bench::BenchFiles files;
    bench::QuietRun run;
    fakes::FakeRegistry registry;
    for (int l = 0; l < SavedLists; ++l) {
        const std::string list = (folder / ("Saved" + std::to_string(l) + ".qdf")).string();
        if (!writeList(files, list, l, EntriesPerList)) return EXIT_FAILURE;
        review::addSavedForDeletion(registry, list);
    }
    // The program uninstalled shares vendor 0's entries.
    const std::string app = (folder / "App.qdf").string();
    if (!writeList(files, app, 0, UninstalledEntries)) return EXIT_FAILURE;
    review::RemovalListContents uninstalled;
    if (!review::readRemovalList(files, run, app, uninstalled)) return EXIT_FAILURE;

    std::size_t read = 0, shared = 0;
    const double reading = best([&] {
        read = 0;
        for (const std::string& list : review::savedForDeletionLists(registry)) {
            review::RemovalListContents contents;
            if (review::readRemovalList(files, run, list, contents)) read += contents.paths.size() + contents.keys.size();
        }
    });
    const double claims = best([&] {
        const review::SavedListClaims others(files, run, registry, app, uninstalled);
        shared = 0;
        for (std::size_t i = 0; i < uninstalled.paths.size(); ++i) shared += !others.ofPath(i).empty();
        for (std::size_t i = 0; i < uninstalled.keys.size(); ++i) shared += !others.ofKey(i).empty();
    });
    std::filesystem::remove_all(folder);
    const double ratio = claims / reading;
    std::printf("%d saved lists read        %.3f s  (%zu entries)\n", SavedLists, reading, read);
    std::printf("claims on %d entries  %.3f s  (%zu also in another list)\n", UninstalledEntries, claims, shared);
    std::printf("ratio                      %.2f (at most 2)\n", ratio);
    return read > 0 && shared > 0 && ratio <= 2.0 ? EXIT_SUCCESS : EXIT_FAILURE;
}
