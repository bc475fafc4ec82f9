#include "ui/InputBox.h"

#include <array>
#include <utility>

#include "ui/Control.h"
#include "ui/Layout.h"

namespace quillon::ui {

namespace {

using namespace Metrics;

constexpr int boxWidth = 230;
constexpr int promptWidth = boxWidth - 2 * margin - gap - buttonWidth;
constexpr int buttonX = boxWidth - margin - buttonWidth;
constexpr int editY = 59;
constexpr int boxHeight = editY + editHeight + margin;

}  // namespace

InputBox::InputBox(std::string prompt, std::string title, std::string defaultText)
    : Dialog(DialogSpec{std::move(title), boxWidth, boxHeight}),
      prompt_(std::move(prompt)),
      text_(std::move(defaultText)) {}

std::optional<std::string> InputBox::ask(HWND owner) {
    if (showModal(owner) != IDOK) return std::nullopt;
    return text_;
}

void InputBox::onCreate() {
    // Tab order: the text box first, so it has the focus (and its text selected) at the start.
    const std::array controls{
        ControlSpec{promptId, "STATIC", prompt_.c_str(), SS_LEFT | SS_NOPREFIX, margin, margin, promptWidth,
                    editY - margin - gap},
        edit(editId, margin, editY, boxWidth - 2 * margin),
        defaultButton(IDOK, "OK", buttonX, margin),
        button(IDCANCEL, "Cancel", buttonX, margin + buttonHeight + gap),
    };
    createControls(hwnd(), controls);
    Edit(hwnd(), editId).setText(text_);
}

void InputBox::onCommand(int id, int code, HWND control) {
    if (id == IDOK) text_ = Edit(hwnd(), editId).text();
    Dialog::onCommand(id, code, control);
}

}  // namespace quillon::ui
