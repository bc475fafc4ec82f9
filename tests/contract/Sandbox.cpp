#include "contract/Sandbox.h"

#include <cstdlib>
#include <stdexcept>

#include "support/FakeMachine.h"

#ifdef _WIN32
#include <windows.h>

#include "platform/win32/Conversions.h"
#include "platform/win32/Handles.h"
#include "platform/win32/Utf.h"
#include "platform/win32/Win32Desktop.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32Registry.h"
#include "platform/win32/Win32Shell.h"
#endif

namespace quillon::contract {
namespace {

// The small machine of the unit tests: drive C: with the system's folders and its temporary folder.
class FakeSandbox final : public Sandbox {
public:
    FakeSandbox() : Sandbox(m_.files, m_.shell, m_.registry, m_.desktop) {
        now = DateTime{2026, 1, 1, 12, 0, 0};  // the fake's clock, which stands still
        scratchFolder = "C:\\Windows\\Temp\\QuillonContract\\";
        m_.files.addFolder(scratchFolder);
        scratchKey = "Software\\QuillonContract";
        m_.registry.createKey(hkcu, scratchKey);
    }
    void holdOpen(const std::string& path) override { m_.files.holdOpen(path); }
    Status importRegFile(const std::string&) override { return Status::NotSupported; }

private:
    fakes::FakeMachine m_;
};

#ifdef _WIN32
// A folder in the temporary folder and a key of this process's own, wiped before and after.
class Win32Sandbox final : public Sandbox {
public:
    Win32Sandbox() : Sandbox(files_, shell_, registry_, desktop_) {
        const std::string own = "QuillonContract-" + std::to_string(GetCurrentProcessId());
        std::string shortForm, longForm;
        if (!succeeded(shell_.tempPath(shortForm)) || !succeeded(shell_.longPathName(shortForm, longForm)))
            throw std::runtime_error("no temporary folder");
        scratchFolder = longForm + own + "\\";
        scratchKey = "Software\\" + own;
        wipe();
        std::unique_ptr<RegistryKey> key;
        if (!succeeded(files_.createFolder(scratchFolder)) || !succeeded(registry_.create(hkcu, scratchKey, key)))
            throw std::runtime_error("cannot make " + scratchFolder + " or HKCU\\" + scratchKey);
        SYSTEMTIME st;
        GetLocalTime(&st);
        now = win32::toDateTime(st);
        const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
        refusesOverwritingProtectedFiles = !(ntdll && GetProcAddress(ntdll, "wine_get_version"));
    }
    ~Win32Sandbox() override {
        held_.clear();
        wipe();
    }
    void holdOpen(const std::string& path) override {
        held_.emplace_back(CreateFileW(win32::wide(path).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        if (!held_.back()) throw std::runtime_error("cannot hold " + path + " open");
    }
    Status importRegFile(const std::string& path) override {
        const std::string command = "start \"\" /wait regedit.exe /s \"" + path + "\"";
        return std::system(command.c_str()) == 0 ? Status::Ok : Status::WriteFault;
    }

private:
    // Before a test there is usually nothing to wipe, so the outcome does not matter. The shell
    // deletes read-only, hidden and system files without asking.
    void wipe() {
        shell_.fileOperation({FileOpKind::Delete, {scratchFolder}, {}, quietFileOp, 0});
        static_cast<void>(registry_.deleteTree(hkcu, scratchKey));  // clearing what an earlier run left
    }

    win32::Win32FileSystem files_;
    win32::Win32Shell shell_;
    win32::Win32Registry registry_;
    win32::Win32Desktop desktop_;
    std::vector<win32::FileHandle> held_;
};
#endif

}  // namespace

std::vector<Target> targets() {
    std::vector<Target> all{{"Fake", [] { return std::make_unique<FakeSandbox>(); }}};
#ifdef _WIN32
    all.push_back({"Win32", [] { return std::make_unique<Win32Sandbox>(); }});
#endif
    return all;
}

}  // namespace quillon::contract
