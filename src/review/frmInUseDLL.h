#pragma once
// The question asked before a DLL that other programs may share is deleted: "Delete",
// "Delete All" (and do not ask again in this command) or "Skip".
#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

#include "review/InUsePrompt.h"
#include "ui/Dialog.h"

namespace quillon::review {

class frmInUseDLL final : public ui::Dialog {
public:
    explicit frmInUseDLL(std::string path);

    // Modal over `owner` (none: on its own). Every way out but the three buttons is a Skip.
    InUseAnswer ask(HWND owner);

private:
    std::optional<LRESULT> onMessage(UINT msg, WPARAM wp, LPARAM lp) override;
    void onCreate() override;
    void onCommand(int id, int code, HWND control) override;
    void onClose() override;

    std::string path_;
};

// The in-use prompt of the removal commands, owned by one window for all its questions.
class InUseDllPrompt final : public InUsePrompt {
public:
    explicit InUseDllPrompt(HWND owner) noexcept : owner_(owner) {}
    InUseAnswer ask(std::string_view path) override;

private:
    HWND owner_;
};

}  // namespace quillon::review
