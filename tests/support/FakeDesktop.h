#pragma once
// A desktop with no windows or processes; programs started are recorded instead of running.
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
    void setAnotherInstanceRunning(bool running) { anotherRunning_ = running; }
    void setNtFamily(bool nt) { nt_ = nt; }

    const std::vector<StartedProgram>& started() const { return started_; }

    std::vector<TopLevelWindow> topLevelWindows() override { return {}; }
    std::vector<ProcessEntry> processes() override { return {}; }
    std::vector<std::string> modules(std::uint32_t) override { return {}; }
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
};

}  // namespace quillon::fakes
