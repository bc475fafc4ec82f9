// The undo record's .reg file on the real registry: read back by Quillon, and imported by
// regedit, which is what a user who double-clicks the file gets.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "platform/win32/Handles.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32Registry.h"
#include "support/RegSamples.h"
#include "undo/KeyTreeImage.h"

namespace quillon::undo {
namespace {

constexpr Hive hkcu = Hive::CurrentUser;

std::string describe(const std::vector<RegKeyImage>& keys) {
    std::string text;
    for (const RegKeyImage& key : keys) {
        text += "[" + key.name + "]\n";
        for (const auto& [name, value] : key.values) {
            text += name + " type " + std::to_string(value.type) + ":";
            for (const char c : value.data) text += " " + std::to_string(static_cast<unsigned char>(c));
            text += "\n";
        }
    }
    return text;
}

// regedit.exe is in the Windows folder, on Windows and under Wine alike. The exit code, or
// the failure to start or finish it.
DWORD runRegedit(const std::string& file) {
    char windows[MAX_PATH];
    if (GetWindowsDirectoryA(windows, MAX_PATH) == 0) return GetLastError();
    std::string command = "\"" + std::string(windows) + "\\regedit.exe\" /s \"" + file + "\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &started))
        return GetLastError();
    const win32::KernelHandle process(started.hProcess), thread(started.hThread);
    if (WaitForSingleObject(process.get(), 60000) != WAIT_OBJECT_0) return WAIT_TIMEOUT;
    DWORD exitCode = 0;
    return GetExitCodeProcess(process.get(), &exitCode) ? exitCode : GetLastError();
}

class RegeditImport : public ::testing::Test {
protected:
    void SetUp() override {
        char temp[MAX_PATH];
        ASSERT_NE(GetTempPathA(MAX_PATH, temp), 0u);
        file = temp + own + ".reg";
        registry.deleteTree(hkcu, tree);
        std::unique_ptr<RegistryKey> key;
        for (const auto& sample : fakes::sampleKeyTree()) {
            ASSERT_EQ(registry.create(hkcu, tree + (sample.key.empty() ? "" : "\\" + sample.key), key), Status::Ok);
            ASSERT_EQ(key->setValue(sample.name, sample.value), Status::Ok) << sample.name;
        }
        for (const auto& empty : fakes::sampleEmptyKeys())
            ASSERT_EQ(registry.create(hkcu, tree + "\\" + empty, key), Status::Ok);
    }
    void TearDown() override {
        registry.deleteTree(hkcu, tree);
        DeleteFileA(file.c_str());
    }
    std::vector<RegKeyImage> capture() {
        std::vector<RegKeyImage> keys;
        EXPECT_EQ(captureKeyTree(registry, hkcu, tree, keys), Status::Ok);
        return keys;
    }

    const std::string own = "QuillonRegedit-" + std::to_string(GetCurrentProcessId());
    const std::string tree = "Software\\" + own;
    std::string file;
    win32::Win32Registry registry;
    win32::Win32FileSystem files;
};

TEST_F(RegeditImport, TheFileBringsBackEveryValueThroughQuillonAndThroughRegedit) {
    const auto original = capture();
    ASSERT_EQ(original.size(), 7u) << describe(original);
    std::unique_ptr<TextWriter> out;
    ASSERT_EQ(files.openWrite(file, WriteMode::Create, out), Status::Ok);
    ASSERT_EQ(writeRegFile(*out, original), Status::Ok);
    ASSERT_EQ(out->close(), Status::Ok);
    out.reset();

    std::vector<RegKeyImage> read;
    std::unique_ptr<TextReader> in;
    ASSERT_EQ(files.openRead(file, in), Status::Ok);
    ASSERT_TRUE(readRegFile(*in, read));
    in.reset();
    ASSERT_EQ(registry.deleteTree(hkcu, tree), Status::Ok);
    ASSERT_EQ(restoreKeys(registry, read), Status::Ok);
    EXPECT_EQ(describe(capture()), describe(original)) << "restored by Quillon";

    ASSERT_EQ(registry.deleteTree(hkcu, tree), Status::Ok);
    ASSERT_EQ(runRegedit(file), 0u);
    EXPECT_EQ(describe(capture()), describe(original)) << "imported by regedit";
}

}  // namespace
}  // namespace quillon::undo
