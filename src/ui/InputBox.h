#pragma once
// A one-line question: a prompt, a text box with a proposal, OK and Cancel.
#include <optional>
#include <string>

#include "ui/Dialog.h"

namespace quillon::ui {

class InputBox final : public Dialog {
public:
    static constexpr int promptId = 100;
    static constexpr int editId = 101;

    InputBox(std::string prompt, std::string title, std::string defaultText);

    // The text when OK ended it, nullopt when cancelled.
    std::optional<std::string> ask(HWND owner);

protected:
    void onCreate() override;
    void onCommand(int id, int code, HWND control) override;

private:
    std::string prompt_;
    std::string text_;
};

}  // namespace quillon::ui
