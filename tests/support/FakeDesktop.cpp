#include "support/FakeDesktop.h"

#include <algorithm>
#include <utility>

namespace quillon::fakes {

namespace {

class FakeInstanceToken final : public InstanceToken {
public:
    FakeInstanceToken(std::shared_ptr<std::multiset<std::string>> claimed, std::string name, bool another)
        : claimed_(std::move(claimed)), name_(std::move(name)), another_(another) {
        claimed_->insert(name_);
    }
    FakeInstanceToken(const FakeInstanceToken&) = delete;
    FakeInstanceToken& operator=(const FakeInstanceToken&) = delete;
    ~FakeInstanceToken() override { claimed_->erase(claimed_->find(name_)); }

    bool anotherWasRunning() const override { return another_; }

private:
    std::shared_ptr<std::multiset<std::string>> claimed_;
    std::string name_;
    bool another_;
};

bool isFullPath(std::string_view path) {
    return (path.size() >= 3 && path[1] == ':' && path[2] == '\\') || path.starts_with("\\\\");
}

bool isFile(FileSystem& files, std::string_view path) {
    FileInfo info;
    return succeeded(files.info(path, info)) && !(info.attributes & FileAttr::Directory);
}

// A program named by a full path must exist; a bare name is found on the search path.
// Unquoted, the text up to each blank in turn is tried, as CreateProcess does.
bool programExists(FileSystem& files, std::string_view commandLine) {
    if (commandLine.starts_with('"')) {
        const std::string_view program = commandLine.substr(1, commandLine.find('"', 1) - 1);
        return !isFullPath(program) || isFile(files, program);
    }
    if (!isFullPath(commandLine)) return true;
    for (std::size_t end = commandLine.find(' ');; end = commandLine.find(' ', end + 1)) {
        if (isFile(files, commandLine.substr(0, end))) return true;
        if (end == std::string_view::npos) return false;
    }
}

}  // namespace

FakeDesktop::FakeDesktop(FileSystem* files) : files_(files) {}

void FakeDesktop::removeWindow(WindowRef handle) {
    std::erase_if(windows_, [handle](const TopLevelWindow& w) { return w.handle == handle; });
}

void FakeDesktop::addProcess(std::uint32_t processId, std::string exeFile, std::vector<std::string> modules) {
    processes_.push_back({processId, std::move(exeFile), std::move(modules)});
}

void FakeDesktop::removeProcess(std::uint32_t processId) {
    std::erase_if(processes_, [processId](const Process& p) { return p.id == processId; });
}

std::vector<ProcessEntry> FakeDesktop::processes() {
    std::vector<ProcessEntry> out;
    for (const auto& p : processes_) out.push_back({p.id, p.exeFile});
    return out;
}

std::vector<std::string> FakeDesktop::modules(std::uint32_t processId) {
    const auto it = std::find_if(processes_.begin(), processes_.end(),
                                 [processId](const Process& p) { return p.id == processId; });
    return it == processes_.end() ? std::vector<std::string>() : it->modules;
}

Status FakeDesktop::startProgram(std::string_view commandLine, bool wait) {
    if (const Status failure = std::exchange(nextStartFailure_, Status::Ok); !succeeded(failure)) return failure;
    if (files_ && !programExists(*files_, commandLine)) return Status::FileNotFound;
    started_.push_back({std::string(commandLine), wait});
    return Status::Ok;
}

std::unique_ptr<InstanceToken> FakeDesktop::claimInstance(std::string_view name) {
    // Object names are case-sensitive, as the system's mutex names are.
    const bool another = anotherRunning_ || claimed_->contains(std::string(name));
    return std::make_unique<FakeInstanceToken>(claimed_, std::string(name), another);
}

}  // namespace quillon::fakes
