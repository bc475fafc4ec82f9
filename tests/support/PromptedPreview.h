#pragma once
// The uninstall preview answered through the scripted prompter: its question is one message,
// and Yes removes what the preview ticked.
#include "platform/Prompter.h"
#include "review/UninstallPreview.h"

namespace quillon::fakes {

struct PromptedPreview final : review::PreviewPrompt {
    explicit PromptedPreview(Prompter& answers) : prompter(answers) {}
    bool confirm(review::UninstallPreview& preview) override {
        if (tickEverything)
            for (auto& entry : preview.entries) entry.ticked = true;
        shown = preview;
        return prompter.message({review::previewQuestion(preview), "Confirm Quillon Uninstall", MsgIcon::Information,
                                 MsgButtons::YesNo}) == MsgAnswer::Yes;
    }
    Prompter& prompter;
    review::UninstallPreview shown;
    bool tickEverything = false;  // as a user ticking every box the window offers
};

}  // namespace quillon::fakes
