#pragma once
// The windows, processes and running instances the test sets up; programs started and
// beeps are recorded instead of happening.
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "platform/Desktop.h"
#include "platform/FileSystem.h"

namespace quillon::fakes {

struct StartedProgram {
    std::string commandLine;
    bool wait = false;
    bool operator==(const StartedProgram&) const = default;
};

class FakeDesktop final : public Desktop {
public:
    // With a file system, a program named by a full path (quoted or not) starts only when
    // its file exists there, as on Windows; without one every program starts.
    explicit FakeDesktop(FileSystem* files = nullptr);

    void addWindow(TopLevelWindow window) { windows_.push_back(std::move(window)); }
    void removeWindow(WindowRef handle);
    void clearWindows() { windows_.clear(); }
    // modules: full paths, the program file first.
    void addProcess(std::uint32_t processId, std::string exeFile, std::vector<std::string> modules = {});
    void removeProcess(std::uint32_t processId);

    void setAnotherInstanceRunning(bool running) { anotherRunning_ = running; }
    void setNtFamily(bool nt) { nt_ = nt; }
    void setProgramPath(std::string path) { programPath_ = std::move(path); }
    // The next startProgram fails with this status and starts nothing.
    void failNextStart(Status s) { nextStartFailure_ = s; }

    const std::vector<StartedProgram>& started() const { return started_; }
    int beeps() const { return beeps_; }
    const std::vector<WindowRef>& broughtToFront() const { return broughtToFront_; }

    std::vector<TopLevelWindow> topLevelWindows() override { return windows_; }
    std::vector<ProcessEntry> processes() override;
    std::vector<std::string> modules(std::uint32_t processId) override;
    Status startProgram(std::string_view commandLine, bool wait) override;
    std::unique_ptr<InstanceToken> claimInstance(std::string_view name) override;
    std::string programPath() override { return programPath_; }
    bool isNtFamily() override { return nt_; }
    void beep() override { ++beeps_; }
    void bringToFront(WindowRef window) override { broughtToFront_.push_back(window); }

private:
    struct Process {
        std::uint32_t id;
        std::string exeFile;
        std::vector<std::string> modules;
    };

    FileSystem* files_;
    std::vector<TopLevelWindow> windows_;
    std::vector<Process> processes_;
    // Shared with the tokens so that a token may outlive the desktop.
    std::shared_ptr<std::multiset<std::string>> claimed_ = std::make_shared<std::multiset<std::string>>();
    bool anotherRunning_ = false;
    bool nt_ = true;
    std::string programPath_ = "C:\\Program Files\\Quillon\\Quillon.exe";
    Status nextStartFailure_ = Status::Ok;
    std::vector<StartedProgram> started_;
    int beeps_ = 0;
    std::vector<WindowRef> broughtToFront_;
};

}  // namespace quillon::fakes
