#pragma once
#include "platform/Desktop.h"

namespace quillon::win32 {

class Win32Desktop final : public Desktop {
public:
    std::vector<TopLevelWindow> topLevelWindows() override;
    std::vector<ProcessEntry> processes() override;
    std::vector<std::string> modules(std::uint32_t processId) override;
    Status startProgram(std::string_view commandLine, bool wait) override;
    std::unique_ptr<InstanceToken> claimInstance(std::string_view name) override;
    std::string programPath() override;
    bool isNtFamily() override;
    void beep() override;
    void bringToFront(WindowRef window) override;
};

}  // namespace quillon::win32
