#pragma once
// The uninstall preview answered through the scripted prompter: its question is one message,
// and Yes removes what the preview ticked.
#include "platform/Prompter.h"
#include "review/UninstallPreview.h"

namespace quillon::fakes {

struct PromptedPreview final : review::PreviewPrompt {
    explicit PromptedPreview(Prompter& answers) : prompter(answers) {}
    bool confirm(review::UninstallPreview& preview) override {
        shown = preview;
        return prompter.message({review::previewQuestion(preview), "Confirm Quillon Uninstall", MsgIcon::Information,
                                 MsgButtons::YesNo}) == MsgAnswer::Yes;
    }
    Prompter& prompter;
    review::UninstallPreview shown;
};

}  // namespace quillon::fakes
