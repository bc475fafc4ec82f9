// Times the file comparison on a synthetic drive of 50,000 folders and 500,000 files: a
// rescan in the snapshot's own folder order against one in reversed folder order. The
// reversed one must cost at most twice the first.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "LocalFiles.h"
#include "QuietRun.h"
#include "detection/CompareDriveScan.h"
#include "detection/ScanFiles.h"

namespace {

using quillon::bench::BenchFiles;

constexpr int Vendors = 100;
constexpr int ProductsPerVendor = 499;  // 100 + 100 * 499 = 50,000 folders
constexpr int FilesPerFolder = 10;

class NoBar final : public quillon::detection::FindProgress {
public:
    void setMaximum(int) override {}
    void setValue(int) override {}
    void advance(int) override {}
};

std::string folderOf(int block) {
    const int vendor = block / (ProductsPerVendor + 1);
    const int product = block % (ProductsPerVendor + 1);
    std::string path = "C:\\Program Files\\Vendor" + std::to_string(vendor) + "\\";
    if (product > 0) path += "Product" + std::to_string(product) + "\\";
    return path;
}

// The blocks in walk order, or reversed; `extra` adds one file to every 100th folder.
bool writeScan(BenchFiles& files, const std::string& path, bool reversed, bool extra) {
    std::unique_ptr<quillon::TextWriter> out;
    if (!succeeded(files.openWrite(path, quillon::WriteMode::Create, out))) return false;
    constexpr int blocks = Vendors * (ProductsPerVendor + 1);
    for (int i = 0; i < blocks; ++i) {
        const int block = reversed ? blocks - 1 - i : i;
        out->writeLine(folderOf(block) + "{");
        for (int f = 0; f < FilesPerFolder; ++f) out->writeLine("file" + std::to_string(f) + ".dll");
        if (extra && block % 100 == 0) out->writeLine("added.txt");
        out->writeLine("}");
    }
    return succeeded(out->close());
}

// The best of `repetitions` comparisons, in seconds; negative when one failed.
double bestCompare(BenchFiles& files, const std::string& work, const std::string& data, bool reversed,
                   int repetitions, std::uintmax_t& changesSize) {
    double best = 1e30;
    for (int i = 0; i < repetitions; ++i) {
        if (!writeScan(files, quillon::detection::currentScanPath(work), reversed, true)) return -1;
        quillon::bench::QuietRun run;
        NoBar bar;
        const auto start = std::chrono::steady_clock::now();
        const bool completed = quillon::detection::compareDriveScan(files, run, bar, work, data, {"C:"}).completed();
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        if (!completed) return -1;
        best = std::min(best, took.count());
        changesSize = std::filesystem::file_size(quillon::detection::changesPath(work));
    }
    return best;
}

}  // namespace

int main(int argc, char** argv) {
    const int repetitions = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / "quillon-detection-bench";
    std::filesystem::create_directories(folder);
    const std::string work = folder.string() + "/";
    const std::string data = work;
    BenchFiles files;
    if (!writeScan(files, data + "Cdbase.qdb", false, false)) {
        std::fprintf(stderr, "cannot write the snapshot in %s\n", work.c_str());
        return 1;
    }
    std::uintmax_t inOrderSize = 0;
    std::uintmax_t reversedSize = 0;
    const double inOrder = bestCompare(files, work, data, false, repetitions, inOrderSize);
    const double reversed = bestCompare(files, work, data, true, repetitions, reversedSize);
    std::filesystem::remove_all(folder);
    if (inOrder < 0 || reversed < 0 || inOrderSize != reversedSize) {
        std::fprintf(stderr, "a comparison failed or the two found different changes\n");
        return 1;
    }
    std::printf("folders %d, files %d, best of %d\n", Vendors * (ProductsPerVendor + 1),
                Vendors * (ProductsPerVendor + 1) * FilesPerFolder, repetitions);
    std::printf("in order: %.3f s\nreversed: %.3f s (%.2fx)\n", inOrder, reversed, reversed / inOrder);
    return reversed <= 2 * inOrder ? 0 : 2;
}
