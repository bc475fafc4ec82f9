#pragma once
// A drop-down list of texts without free entry.
#include <string>
#include <string_view>

#include "ui/Control.h"

namespace quillon::ui {

class ComboBox : public Control {
public:
    using Control::Control;

    int add(std::string_view text) const;
    void clear() const noexcept { send(CB_RESETCONTENT); }
    int count() const noexcept { return static_cast<int>(send(CB_GETCOUNT)); }
    std::string text(int index) const;
    // -1 clears the selection.
    void select(int index) const noexcept { send(CB_SETCURSEL, static_cast<WPARAM>(index)); }
    int selected() const noexcept { return static_cast<int>(send(CB_GETCURSEL)); }
    std::string selectedText() const;
    // The first entry spelt exactly so (case counts), or -1.
    int find(std::string_view text) const;
};

}  // namespace quillon::ui
