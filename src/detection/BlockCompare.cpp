#include "detection/BlockCompare.h"

#include <string>
#include <unordered_set>

#include "detection/AddedFolders.h"
#include "detection/SnapshotSearch.h"
#include "platform/TextCompare.h"

namespace quillon::detection {

namespace {

constexpr std::string_view BlockEnd = "}";

class Comparison {
public:
    Comparison(TextReader& scan, TextReader& snapshot, TextWriter& changes, RunContext& run, FindProgress& progress)
        : scan_(scan), snapshot_(snapshot, run), changes_(changes), run_(run), progress_(progress) {}

    bool run() {
        std::string header;
        while (nextScanLine(header)) {
            if (header == BlockEnd) continue;  // a stray end, no block to compare
            progress_.advance(1);
            if (added_.covers(header)) {
                skipScanBlock();
                continue;
            }
            switch (snapshot_.findHeader(header)) {
            case SnapshotSearch::Found::Stopped: return false;
            case SnapshotSearch::Found::No: reportNewFolder(header); break;
            case SnapshotSearch::Found::Yes: compareBlock(header); break;
            }
        }
        return !stopped();
    }

private:
    bool stopped() const { return stopped_ || snapshot_.stopped(); }

    bool nextScanLine(std::string& line) {
        if (stopped()) return false;
        run_.yield();
        stopped_ = stopped_ || run_.stopRequested();
        return !stopped_ && scan_.readLine(line);
    }

    void skipScanBlock() {
        std::string line;
        while (nextScanLine(line) && line != BlockEnd) {}
    }

    void reportNewFolder(const std::string& header) {
        added_.add(header);
        changes_.putLine("!" + header);
        changes_.putLine(BlockEnd);
        skipScanBlock();
    }

    void compareBlock(const std::string& header) {
        std::unordered_set<std::string> known;
        std::string line;
        while (snapshot_.nextBlockLine(line) && line != BlockEnd) known.insert(toLowerAnsi(line));
        if (snapshot_.stopped()) return;
        bool written = false;
        while (nextScanLine(line) && line != BlockEnd) {
            if (known.contains(toLowerAnsi(line))) continue;
            if (!written) changes_.putLine(header);
            written = true;
            changes_.putLine(line);
        }
        if (written) changes_.putLine(BlockEnd);
    }

    TextReader& scan_;
    SnapshotSearch snapshot_;
    TextWriter& changes_;
    RunContext& run_;
    FindProgress& progress_;
    AddedFolders added_;
    bool stopped_ = false;
};

}  // namespace

bool compareScanBlocks(TextReader& scan, TextReader& snapshot, TextWriter& changes, RunContext& run,
                       FindProgress& progress) {
    return Comparison(scan, snapshot, changes, run, progress).run();
}

}  // namespace quillon::detection
