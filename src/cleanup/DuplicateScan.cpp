#include "cleanup/DuplicateScan.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "platform/TextCompare.h"
#include "shell/DriveList.h"
#include "shell/TreeWalk.h"

namespace quillon::cleanup {

namespace {

bool contains(std::string_view text, std::string_view part) { return findNoCase(text, part) != std::string_view::npos; }

// A part of the Named filter: a whole "*" (or nothing) takes any text.
bool matchesPart(std::string_view pattern, std::string_view text) {
    return pattern.empty() || pattern == "*" || contains(text, pattern);
}

// One file of the work file. A name line is "|" + name + "|" + size + "|" + date digits: no
// file name holds "|", so a name such as "}" or "x{" cannot be read as a block's end or head.
struct FileLine {
    std::string name;
    std::uint64_t size = 0;
    DateTime date;
};

std::string dateDigits(const DateTime& d) {
    char text[32];
    std::snprintf(text, sizeof text, "%04d%02d%02d%02d%02d%02d", d.year, d.month, d.day, d.hour, d.minute, d.second);
    return text;
}

std::string nameLine(const FileInfo& entry) {
    return "|" + entry.name + "|" + std::to_string(entry.size) + "|" + dateDigits(entry.lastWrite);
}

bool parseNameLine(const std::string& line, FileLine& out) {
    if (line.empty() || line.front() != '|') return false;
    const std::size_t sizeAt = line.find('|', 1);
    const std::size_t dateAt = sizeAt == std::string::npos ? std::string::npos : line.find('|', sizeAt + 1);
    if (dateAt == std::string::npos || line.size() - dateAt - 1 != 14) return false;
    out.name = line.substr(1, sizeAt - 1);
    out.size = std::strtoull(line.c_str() + sizeAt + 1, nullptr, 10);
    const auto field = [&](std::size_t at, std::size_t n) { return std::stoi(line.substr(dateAt + 1 + at, n)); };
    out.date = {field(0, 4), field(4, 2), field(6, 2), field(8, 2), field(10, 2), field(12, 2)};
    return true;
}

enum class Step { Done, Stopped, Failed };

// The drive's folders, depth first as the junk walk goes, every folder with a block of the
// files that pass the Named filter. No folder is left out but junctions and symbolic links;
// a folder whose listing fails keeps the block of what it gave.
class DriveRules final : public shell::WalkRules {
public:
    DriveRules(ScanProgress& progress, std::string_view named, TextWriter& out)
        : progress_(progress), named_(named), out_(out) {}

    shell::WalkStep openFolder(const std::string& folder) {
        line_.assign(folder) += '{';
        if (!succeeded(out_.writeLine(line_))) return shell::WalkStep::End;
        progress_.showFolder(folder);
        return shell::WalkStep::Go;
    }
    shell::WalkStep handOn(const std::string&, const FileInfo& file) {
        if (!passesNamedFilter(named_, file.name) || succeeded(out_.writeLine(nameLine(file)))) return shell::WalkStep::Go;
        return shell::WalkStep::End;
    }
    shell::WalkStep closeFolder(const std::string&) {
        return succeeded(out_.writeLine("}")) ? shell::WalkStep::Go : shell::WalkStep::End;
    }

private:
    ScanProgress& progress_;
    std::string_view named_;
    TextWriter& out_;
    std::string line_;
};

Step walkDrive(WalkPorts& ports, std::string_view root, std::string_view named, TextWriter& out) {
    DriveRules rules(ports.progress, named, out);
    switch (shell::walkTree(ports.files, ports.run, root, {}, rules).end) {
    case shell::WalkEnd::Stopped: return Step::Stopped;
    case shell::WalkEnd::Ended: return Step::Failed;
    case shell::WalkEnd::Completed:
    case shell::WalkEnd::Failed: break;
    }
    return Step::Done;
}

// Reads the work file block by block: `folder` is called for each head, `file` for each name.
template <typename OnFolder, typename OnFile>
Step readWorkFile(FileSystem& files, const std::string& path, OnFolder folder, OnFile file) {
    std::unique_ptr<TextReader> in;
    if (!succeeded(files.openRead(path, in))) return Step::Failed;
    std::string line;
    FileLine entry;
    while (in->readLine(line)) {
        if (parseNameLine(line, entry)) {
            if (!file(entry)) return Step::Stopped;
        } else if (!line.empty() && line.back() == '{') {
            folder(line.substr(0, line.size() - 1));
        }
    }
    return succeeded(in->status()) ? Step::Done : Step::Failed;
}

// The first folder, in walk order, that holds a name, and that file's size and date.
struct FirstHolder {
    std::uint32_t folder = 0;
    std::uint64_t size = 0;
    DateTime date;
};

class PairFinder {
public:
    PairFinder(WalkPorts& ports, const DuplicateOptions& options, const DuplicateFolders& folders, ScanResults& results)
        : ports_(ports), options_(options), sysbckup_(folders.windows + "Sysbckup"), results_(results) {}

    Step run(const std::string& workFile) {
        // First read: where each name is met first. Second read: every later meeting is a pair.
        Step step = readWorkFile(
            ports_.files, workFile, [&](std::string folder) { folders_.push_back(std::move(folder)); },
            [&](const FileLine& f) {
                const auto index = static_cast<std::uint32_t>(folders_.size() - 1);
                first_.try_emplace(toLowerAnsi(f.name), FirstHolder{index, f.size, f.date});
                return true;
            });
        if (step != Step::Done) return step;
        std::uint32_t current = 0;
        std::uint32_t heads = 0;
        step = readWorkFile(
            ports_.files, workFile, [&](const std::string&) { current = heads++; },
            [&](const FileLine& f) {
                const auto holder = first_.find(toLowerAnsi(f.name));
                if (holder != first_.end() && holder->second.folder != current) pair(holder->second, current, f);
                ports_.run.yield();
                return !ports_.run.stopRequested();
            });
        return step;
    }

private:
    void pair(const FirstHolder& earlier, std::uint32_t laterFolder, const FileLine& later) {
        const std::string& earlierFolder = folders_[earlier.folder];
        const std::string& currentFolder = folders_[laterFolder];
        if (options_.sameDateTime && earlier.date != later.date) return;
        if (options_.sameSize && earlier.size != later.size) return;
        if (options_.skipZeroLength && later.size == 0) return;
        if (options_.skipSysbckup && (contains(currentFolder, sysbckup_) || contains(earlierFolder, sysbckup_))) return;
        if (!options_.containing.empty() && !holdsText(currentFolder + later.name)) return;
        if (listed_.insert(toLowerAnsi(earlierFolder + later.name)).second) add(earlierFolder, later.name, earlier.size);
        add(currentFolder, later.name, later.size);
    }

    void add(const std::string& folder, const std::string& name, std::uint64_t size) {
        const std::uint32_t type = askType(ports_.shell, results_, typeText(name), folder + name);
        results_.add({name, folder, static_cast<double>(size), type});
    }

    // A file that cannot be read does not hold the text.
    bool holdsText(const std::string& path) {
        std::unique_ptr<TextReader> in;
        if (!succeeded(ports_.files.openRead(path, in))) return false;
        std::string line;
        while (in->readLine(line))
            if (contains(line, options_.containing)) return true;
        return false;
    }

    WalkPorts& ports_;
    const DuplicateOptions& options_;
    std::string sysbckup_;
    ScanResults& results_;
    std::vector<std::string> folders_;
    std::map<std::string, FirstHolder> first_;
    std::set<std::string> listed_;
};

class WorkFile {
public:
    WorkFile(FileSystem& files, std::string path) : files_(files), path_(std::move(path)) {}
    WorkFile(const WorkFile&) = delete;
    WorkFile& operator=(const WorkFile&) = delete;
    ~WorkFile() { files_.deleteFile(path_); }
    const std::string& path() const { return path_; }

private:
    FileSystem& files_;
    std::string path_;
};

Step searchDrive(WalkPorts& ports, const DuplicateOptions& options, const DuplicateFolders& folders,
                 std::string_view root, ScanResults& results) {
    const WorkFile work(ports.files, folders.work + std::string(DuplicateWorkFile));
    {
        std::unique_ptr<TextWriter> out;
        if (!succeeded(ports.files.openWrite(work.path(), WriteMode::Create, out))) return Step::Failed;
        const Step walked = walkDrive(ports, root, options.named, *out);
        const Status closed = out->close();
        if (walked != Step::Done) return walked;
        if (!succeeded(closed)) return Step::Failed;
    }
    ports.progress.showStatus("Finding duplicate files. Please wait...");
    PairFinder finder(ports, options, folders, results);
    return finder.run(work.path());
}

}  // namespace

bool passesNamedFilter(std::string_view named, std::string_view fileName) {
    const std::size_t namedDot = named.find('.');
    const std::string_view namePattern = named.substr(0, namedDot);
    const std::string_view typePattern = namedDot == std::string_view::npos ? "*" : named.substr(namedDot + 1);
    const std::size_t dot = fileName.find('.');
    if (dot == std::string_view::npos) return namePattern != "*" && !namePattern.empty() && contains(fileName, namePattern);
    return matchesPart(namePattern, fileName.substr(0, dot)) && matchesPart(typePattern, fileName.substr(dot + 1));
}

DuplicateOutcome scanDuplicates(WalkPorts& ports, const DuplicateOptions& options, const DuplicateFolders& folders,
                                std::string_view driveToken, ScanResults& results) {
    for (const std::string& drive : shell::tokenDrives(driveToken)) {
        const Step step = searchDrive(ports, options, folders, drive + "\\", results);
        if (step == Step::Stopped) return DuplicateOutcome::Stopped;
        if (step == Step::Failed) return DuplicateOutcome::WorkFileFailed;
    }
    return DuplicateOutcome::Completed;
}

}  // namespace quillon::cleanup
