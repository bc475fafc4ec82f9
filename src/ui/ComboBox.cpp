#include "ui/ComboBox.h"

#include "platform/win32/Utf.h"

namespace quillon::ui {

int ComboBox::add(std::string_view text) const {
    const std::wstring copy = win32::wide(text);
    return static_cast<int>(send(CB_ADDSTRING, 0, copy.c_str()));
}

std::string ComboBox::text(int index) const {
    const auto length = send(CB_GETLBTEXTLEN, static_cast<WPARAM>(index));
    if (length == CB_ERR || length <= 0) return {};
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    const auto copied = send(CB_GETLBTEXT, static_cast<WPARAM>(index), text.data());
    text.resize(copied > 0 ? static_cast<size_t>(copied) : 0);
    return win32::utf8(text);
}

std::string ComboBox::selectedText() const {
    const int index = selected();
    return index >= 0 ? text(index) : std::string();
}

int ComboBox::find(std::string_view wanted) const {
    const int entries = count();
    for (int i = 0; i < entries; ++i) {
        if (text(i) == wanted) return i;
    }
    return -1;
}

}  // namespace quillon::ui
