#pragma once
// The windows and processes the test sets up; programs started are recorded instead of running.
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "platform/Desktop.h"

namespace quillon::fakes {

struct StartedProgram {
    std::string commandLine;
    bool wait = false;
};

class FakeDesktop final : public Desktop {
public:
    void addWindow(TopLevelWindow window) { windows_.push_back(std::move(window)); }
    void clearWindows() { windows_.clear(); }
    void addProcess(std::uint32_t id, std::string exeFile, std::vector<std::string> modules) {
        processes_.push_back({id, std::move(exeFile)}), modules_[id] = std::move(modules);
    }
    // Runs while a program started with wait runs, as the user's doings during the wait.
    void whileWaiting(std::function<void()> during) { whileWaiting_ = std::move(during); }
    void setAnotherInstanceRunning(bool running) { anotherRunning_ = running; }
    void setNtFamily(bool nt) { nt_ = nt; }

    const std::vector<StartedProgram>& started() const { return started_; }

    std::vector<TopLevelWindow> topLevelWindows() override { return windows_; }
    std::vector<ProcessEntry> processes() override { return processes_; }
    std::vector<std::string> modules(std::uint32_t processId) override { return modules_[processId]; }
    Status startProgram(std::string_view commandLine, bool wait) override;
    std::unique_ptr<InstanceToken> claimInstance(std::string_view name) override;
    std::string programPath() override { return "C:\\Program Files\\Quillon\\Quillon.exe"; }
    bool isNtFamily() override { return nt_; }
    void beep() override {}
    void bringToFront(WindowRef) override {}

private:
    // Shared with the tokens so that a token may outlive the desktop.
    std::shared_ptr<std::multiset<std::string>> claimed_ = std::make_shared<std::multiset<std::string>>();
    bool anotherRunning_ = false;
    bool nt_ = true;
    std::vector<StartedProgram> started_;
    std::vector<TopLevelWindow> windows_;
    std::vector<ProcessEntry> processes_;
    std::map<std::uint32_t, std::vector<std::string>> modules_;
    std::function<void()> whileWaiting_;
};

}  // namespace quillon::fakes
