// The desktop contract: one suite run against the fake desktop and, on Windows, the real one.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "support/FakeDesktop.h"
#include "support/FakeFileSystem.h"
#include "platform/Desktop.h"
#include "platform/TextCompare.h"

#ifdef _WIN32
#include <windows.h>

#include "platform/win32/Handles.h"
#include "platform/win32/Win32Desktop.h"
#endif

namespace quillon {
namespace {

// A desktop that shows the test's own process, and a window the test puts on it.
class DesktopSandbox {
public:
    virtual ~DesktopSandbox() = default;
    virtual Desktop& desktop() = 0;
    virtual std::uint32_t ownProcessId() = 0;
    // A visible top-level window of the own process, there until the sandbox is destroyed.
    virtual WindowRef showWindow(const std::string& title) = 0;
};

struct DesktopTarget {
    std::string name;
    std::function<std::unique_ptr<DesktopSandbox>()> make;
};

constexpr const char* MissingProgram = "C:\\Quillon Contract Missing\\no such program.exe";

class FakeDesktopSandbox final : public DesktopSandbox {
public:
    static constexpr std::uint32_t Pid = 4242;

    FakeDesktopSandbox() {
        files_.addDrive('C');
        files_.addFile("C:\\Tools\\contract_tests.exe");
        desktop_.setProgramPath("C:\\Tools\\contract_tests.exe");
        desktop_.addProcess(Pid, "contract_tests.exe", {"C:\\Tools\\contract_tests.exe", "C:\\WINDOWS\\system32\\kernel32.dll"});
    }
    Desktop& desktop() override { return desktop_; }
    std::uint32_t ownProcessId() override { return Pid; }
    WindowRef showWindow(const std::string& title) override {
        const WindowRef handle = 0x1000 + nextWindow_++;
        desktop_.addWindow({handle, true, title, "QuillonContractWindow", Pid});
        return handle;
    }

private:
    fakes::FakeFileSystem files_;
    fakes::FakeDesktop desktop_{&files_};
    int nextWindow_ = 0;
};

#ifdef _WIN32
struct WindowTraits {
    static HWND empty() noexcept { return nullptr; }
    static void close(HWND h) noexcept { DestroyWindow(h); }
};

class Win32DesktopSandbox final : public DesktopSandbox {
public:
    Desktop& desktop() override { return desktop_; }
    std::uint32_t ownProcessId() override { return GetCurrentProcessId(); }
    WindowRef showWindow(const std::string& title) override {
        windows_.emplace_back(CreateWindowExA(0, "STATIC", title.c_str(), WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10,
                                              200, 100, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr));
        EXPECT_TRUE(windows_.back()) << "window not created: " << GetLastError();
        return reinterpret_cast<WindowRef>(windows_.back().get());
    }

private:
    win32::Win32Desktop desktop_;
    std::vector<win32::UniqueHandle<HWND, WindowTraits>> windows_;
};
#endif

void PrintTo(const DesktopTarget& target, std::ostream* os) { *os << target.name; }

std::vector<DesktopTarget> desktopTargets() {
    std::vector<DesktopTarget> targets{{"Fake", [] { return std::make_unique<FakeDesktopSandbox>(); }}};
#ifdef _WIN32
    targets.push_back({"Win32", [] { return std::make_unique<Win32DesktopSandbox>(); }});
#endif
    return targets;
}

class DesktopContract : public ::testing::TestWithParam<DesktopTarget> {
protected:
    void SetUp() override { box_ = GetParam().make(); }
    Desktop& desktop() { return box_->desktop(); }
    std::unique_ptr<DesktopSandbox> box_;
};

TEST_P(DesktopContract, ClaimingATakenInstanceNameSeesTheOtherInstance) {
    const std::string name = "Quillon.DesktopContract.Instance";
    {
        const auto first = desktop().claimInstance(name);
        const auto second = desktop().claimInstance(name);
        const auto other = desktop().claimInstance(name + ".Other");
        EXPECT_FALSE(first->anotherWasRunning());
        EXPECT_TRUE(second->anotherWasRunning());
        EXPECT_FALSE(other->anotherWasRunning());
    }
    EXPECT_FALSE(desktop().claimInstance(name)->anotherWasRunning()) << "released when every token is gone";
}

TEST_P(DesktopContract, StartingAMissingProgramFails) {
    for (const bool wait : {false, true}) {
        EXPECT_EQ(desktop().startProgram(MissingProgram, wait), Status::FileNotFound) << wait;
        EXPECT_EQ(desktop().startProgram(std::string("\"") + MissingProgram + "\" \\u", wait), Status::FileNotFound)
            << wait;
    }
}

TEST_P(DesktopContract, StartingAProgramOnTheSearchPathAndWaitingForItSucceeds) {
    EXPECT_EQ(desktop().startProgram("cmd.exe /c exit 3", true), Status::Ok);
}

TEST_P(DesktopContract, TheOwnProgramIsAnExeAndTheFirstModuleOfItsProcess) {
    const std::string program = desktop().programPath();
    EXPECT_TRUE(endsWithNoCase(program, ".exe")) << program;
    ASSERT_GE(program.size(), 3u);
    EXPECT_EQ(program.substr(1, 2), ":\\") << program;

    const auto processes = desktop().processes();
    const auto own = std::find_if(processes.begin(), processes.end(),
                                  [&](const ProcessEntry& p) { return p.processId == box_->ownProcessId(); });
    ASSERT_NE(own, processes.end());
    EXPECT_TRUE(endsWithNoCase(program, own->exeFile)) << own->exeFile;

    const auto modules = desktop().modules(box_->ownProcessId());
    ASSERT_FALSE(modules.empty());
    EXPECT_TRUE(equalsNoCase(modules.front(), program)) << modules.front();
}

TEST_P(DesktopContract, ModulesOfAnUnknownProcessAreNone) {
    EXPECT_TRUE(desktop().modules(0x7FFFFFF0u).empty());
}

TEST_P(DesktopContract, TopLevelWindowsIncludeAShownWindowWithItsTitleAndProcess) {
    const std::string title = "Quillon desktop contract window";
    const WindowRef shown = box_->showWindow(title);
    const auto windows = desktop().topLevelWindows();
    const auto it = std::find_if(windows.begin(), windows.end(), [&](const TopLevelWindow& w) { return w.handle == shown; });
    ASSERT_NE(it, windows.end());
    EXPECT_TRUE(it->visible);
    EXPECT_EQ(it->title, title);
    EXPECT_FALSE(it->className.empty());
    EXPECT_EQ(it->processId, box_->ownProcessId());
}

TEST_P(DesktopContract, TheSystemIsOfTheNtFamily) { EXPECT_TRUE(desktop().isNtFamily()); }

INSTANTIATE_TEST_SUITE_P(Targets, DesktopContract, ::testing::ValuesIn(desktopTargets()),
                         [](const ::testing::TestParamInfo<DesktopTarget>& target) { return target.param.name; });

}  // namespace
}  // namespace quillon
