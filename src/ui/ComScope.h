#pragma once
// COM for this thread while the object lives (the shell's folder browser needs it).
#include <windows.h>
#include <objbase.h>

namespace quillon::ui {

class ComScope {
public:
    ComScope() noexcept : result_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE)) {}
    ComScope(const ComScope&) = delete;
    ComScope& operator=(const ComScope&) = delete;
    ~ComScope() {
        if (SUCCEEDED(result_)) CoUninitialize();  // S_FALSE (already on) is counted too
    }

private:
    HRESULT result_;
};

}  // namespace quillon::ui
