#include "support/ScriptedPrompter.h"

#include <gtest/gtest.h>

namespace quillon::fakes {

namespace {

// The next scripted answer, or a test failure naming the question and the cancel answer.
template <typename T>
T next(std::deque<T>& answers, std::string_view kind, std::string_view asked, T cancel) {
    if (answers.empty()) {
        ADD_FAILURE() << "Unexpected " << kind << ": \"" << asked << "\"";
        return cancel;
    }
    T a = std::move(answers.front());
    answers.pop_front();
    return a;
}

}  // namespace

ScriptedPrompter::~ScriptedPrompter() {
    const std::size_t unused = messageAnswers_.size() + folderAnswers_.size() + openAnswers_.size() + saveAnswers_.size();
    if (unused != 0) {
        ADD_FAILURE() << unused << " scripted answer(s) never asked for (messages " << messageAnswers_.size()
                      << ", folders " << folderAnswers_.size() << ", open " << openAnswers_.size()
                      << ", save " << saveAnswers_.size() << ")";
    }
}

MsgAnswer ScriptedPrompter::message(const MessageRequest& request) {
    messages_.push_back(request);
    return next(messageAnswers_, "message box", request.text, MsgAnswer::Cancel);
}

std::string ScriptedPrompter::browseForFolder(std::string_view title) {
    return next(folderAnswers_, "folder browser", title, std::string());
}

std::optional<std::string> ScriptedPrompter::openFile(const FileDialogRequest& request) {
    fileRequests_.push_back(request);
    return next(openAnswers_, "open dialog", request.title, std::optional<std::string>());
}

std::optional<std::string> ScriptedPrompter::saveFile(const FileDialogRequest& request) {
    fileRequests_.push_back(request);
    return next(saveAnswers_, "save dialog", request.title, std::optional<std::string>());
}

std::optional<std::string> ScriptedPrompter::inputBox(std::string_view prompt, std::string_view title,
                                                      std::string_view defaultText) {
    ADD_FAILURE() << "Unexpected input box: \"" << prompt << "\" (" << title << ", " << defaultText << ")";
    return std::nullopt;
}

}  // namespace quillon::fakes
