#pragma once
// Every message box and modal question goes through here, so tests can answer them and see
// exactly what the user was asked.
#include <optional>
#include <string>
#include <string_view>

namespace quillon {

enum class MsgIcon { None = 0, Critical = 0x10, Question = 0x20, Exclamation = 0x30, Information = 0x40 };
enum class MsgButtons { Ok = 0, OkCancel = 1, AbortRetryIgnore = 2, YesNoCancel = 3, YesNo = 4, RetryCancel = 5 };
enum class MsgAnswer { Ok = 1, Cancel = 2, Abort = 3, Retry = 4, Ignore = 5, Yes = 6, No = 7 };

struct MessageRequest {
    std::string text;
    std::string title;
    MsgIcon icon = MsgIcon::None;
    MsgButtons buttons = MsgButtons::Ok;
    int defaultButton = 1;          // 1..3
};

struct FileDialogRequest {
    std::string title;
    std::string filter;             // "Removal lists (*.qdf)|*.qdf|All files|*.*"
    std::string initialFolder;
    std::string fileName;
    std::string defaultExtension;   // without the dot
};

class Prompter {
public:
    virtual ~Prompter() = default;

    virtual MsgAnswer message(const MessageRequest& request) = 0;
    // The chosen folder without a trailing "\", or empty when cancelled.
    virtual std::string browseForFolder(std::string_view title) = 0;
    virtual std::optional<std::string> openFile(const FileDialogRequest& request) = 0;
    virtual std::optional<std::string> saveFile(const FileDialogRequest& request) = 0;
    // nullopt when cancelled.
    virtual std::optional<std::string> inputBox(std::string_view prompt, std::string_view title,
                                                std::string_view defaultText) = 0;
};

}  // namespace quillon
