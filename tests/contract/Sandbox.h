#pragma once
// The contract suites run each port against its fake and, on Windows, its Win32 adapter: a
// sandbox holds one set of them, with a folder and a registry key of the test's own.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/Desktop.h"
#include "platform/FileSystem.h"
#include "platform/Registry.h"
#include "platform/Shell.h"

namespace quillon::contract {

inline constexpr Hive hkcu = Hive::CurrentUser;
// Names that no single code page carries: several scripts, a character past U+FFFF (a
// surrogate pair in UTF-16), and letters whose case changes their length or dot.
inline constexpr std::string_view worldNames[] = {"Документы", "Ελληνικά", "日本語", "中文", "🎵", "ß", "İ"};
// File operations here ask nothing and show no error boxes.
inline constexpr std::uint32_t quietFileOp =
    FileOpFlag::Silent | FileOpFlag::NoConfirmation | FileOpFlag::NoErrorUi | FileOpFlag::NoConfirmMkdir;

class Sandbox {
public:
    // Given a derived sandbox's members before they are made: only their addresses are kept.
    Sandbox(FileSystem& f, Shell& s, Registry& r, Desktop& d) : fs(&f), shell(&s), registry(&r), desktop(&d) {}
    virtual ~Sandbox() = default;
    // Another program holds the file open, sharing nothing, for the rest of the test.
    virtual void holdOpen(const std::string& path) = 0;
    // As a user's double-click does: regedit /s. Ok, NotSupported without a regedit, or the failure.
    virtual Status importRegFile(const std::string& path) = 0;

    FileSystem* const fs;
    Shell* const shell;
    Registry* const registry;
    Desktop* const desktop;
    std::string scratchFolder;          // empty, ending in "\"
    std::string scratchKey;             // empty, below HKEY_CURRENT_USER
    DateTime now{2026, 3, 4, 5, 6, 7};  // local time, as files written during the test are dated
    // Windows refuses to overwrite hidden, system and read-only files; Wine run as root does not.
    bool refusesOverwritingProtectedFiles = true;
};

struct Target {
    std::string name;  // a test-name suffix
    std::function<std::unique_ptr<Sandbox>()> make;
    friend void PrintTo(const Target& target, std::ostream* os) { *os << target.name; }
};

std::vector<Target> targets();
inline std::string targetName(const ::testing::TestParamInfo<Target>& info) { return info.param.name; }

class ContractTest : public ::testing::TestWithParam<Target> {
protected:
    void SetUp() override { box_ = GetParam().make(); }
    std::unique_ptr<Sandbox> box_;
};

}  // namespace quillon::contract
