#pragma once
// The default printer as a recording: every call, and the page as text, each line ended by "\n".
// A text reads "x:text", "x*:" in bold, "x/14:" at 14 point, with "?" when not in Courier; texts
// printed one after another join. Courier's characters are 0.6 em wide: 12 twips a point.
#include <string>
#include <string_view>
#include <vector>

#include "platform/Printer.h"

namespace quillon::fakes {

struct RecordingPrinter final : Printer {
    int width = 12240;     // Letter, no margin
    bool failing = false;  // the document cannot be sent
    std::vector<std::string> calls;
    std::string page, font;
    int size = 10, at = 0, end = -1;  // end: where the last text on the line ended
    bool bold = false;

    void setFontName(std::string_view name) override { calls.push_back("font " + (font = name)); }
    void setFontSize(int points) override { calls.push_back("size " + std::to_string(size = points)); }
    void setBold(bool on) override { calls.push_back((bold = on) ? "bold" : "not bold"); }
    void setX(int twips) override { calls.push_back("x " + std::to_string(at = twips)); }
    int x() override { return at; }
    int textWidth(std::string_view text) override { return static_cast<int>(text.size()) * size * 12; }
    int pageWidth() override { return width; }
    bool endDocument() override { return calls.emplace_back("end"), !failing; }
    void print(std::string_view text, bool endLine) override {
        calls.push_back("print " + std::string(text) + (endLine ? "|" : ";"));
        if (!text.empty() && at != end)
            page += (end < 0 ? "" : " ") + std::to_string(at) + (bold ? "*" : "") +
                    (size != 10 ? "/" + std::to_string(size) : "") + (font != "Courier" ? "?" : "") + ":";
        page += text;
        at += textWidth(text);
        if (!text.empty()) end = at;
        if (endLine) page += "\n", at = 0, end = -1;
    }
};

}  // namespace quillon::fakes
