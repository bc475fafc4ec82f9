#pragma once
// The prompter over the system's message box, folder browser, file dialogs and our input box.
// Each question is owned by the active window of the program.
#include "platform/Prompter.h"

namespace quillon::ui {

class Win32Prompter final : public Prompter {
public:
    MsgAnswer message(const MessageRequest& request) override;
    std::string browseForFolder(std::string_view title) override;
    std::optional<std::string> openFile(const FileDialogRequest& request) override;
    std::optional<std::string> saveFile(const FileDialogRequest& request) override;
    std::optional<std::string> inputBox(std::string_view prompt, std::string_view title,
                                        std::string_view defaultText) override;
};

}  // namespace quillon::ui
