#pragma once
// Answers every question from what the test scripted, in order, and keeps what was asked.
// A question nobody scripted an answer for (any input box) fails the test, and so does a
// scripted answer still unused when the prompter is destroyed: either means the program
// asked something else than the test expected.
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "platform/Prompter.h"

namespace quillon::fakes {

class ScriptedPrompter final : public Prompter {
public:
    ScriptedPrompter() = default;
    ScriptedPrompter(const ScriptedPrompter&) = delete;
    ScriptedPrompter& operator=(const ScriptedPrompter&) = delete;
    ~ScriptedPrompter() override;

    void answer(MsgAnswer a) { messageAnswers_.push_back(a); }
    // "" answers as a cancelled folder browser.
    void answerFolder(std::string folder) { folderAnswers_.push_back(std::move(folder)); }
    void answerOpenFile(std::optional<std::string> path) { openAnswers_.push_back(std::move(path)); }
    void answerSaveFile(std::optional<std::string> path) { saveAnswers_.push_back(std::move(path)); }

    const std::vector<MessageRequest>& messages() const { return messages_; }
    // Open and save requests alike, in the order asked.
    const std::vector<FileDialogRequest>& fileRequests() const { return fileRequests_; }

    MsgAnswer message(const MessageRequest& request) override;
    std::string browseForFolder(std::string_view title) override;
    std::optional<std::string> openFile(const FileDialogRequest& request) override;
    std::optional<std::string> saveFile(const FileDialogRequest& request) override;
    std::optional<std::string> inputBox(std::string_view prompt, std::string_view title,
                                        std::string_view defaultText) override;

private:
    std::deque<MsgAnswer> messageAnswers_;
    std::deque<std::string> folderAnswers_;
    std::deque<std::optional<std::string>> openAnswers_;
    std::deque<std::optional<std::string>> saveAnswers_;

    std::vector<MessageRequest> messages_;
    std::vector<FileDialogRequest> fileRequests_;
};

}  // namespace quillon::fakes
