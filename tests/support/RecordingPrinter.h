#pragma once
// Stands in for the default printer: keeps every call, and lays the printed texts out in lines so
// tests see what ended where. Each text reads "x:text", with "*" after x when bold and "/size"
// when not 10 point; texts printed one after another on a line join. Courier's characters are
// 0.6 em wide: 12 twips a point.
#include <string>
#include <string_view>
#include <vector>

#include "platform/Printer.h"

namespace quillon::fakes {

class RecordingPrinter final : public Printer {
public:
    int width = 12240;     // Letter, 8.5 inches, no margin
    bool failing = false;  // the document cannot be sent
    std::vector<std::string> calls;
    std::vector<std::string> lines{""};

    void setFontName(std::string_view name) override { font_ = name; calls.push_back("font " + font_); }
    void setFontSize(int points) override { size_ = points; calls.push_back("size " + std::to_string(points)); }
    void setBold(bool bold) override { bold_ = bold; calls.push_back(bold ? "bold" : "not bold"); }
    void setX(int twips) override { x_ = twips; calls.push_back("x " + std::to_string(twips)); }
    int x() override { return x_; }
    void print(std::string_view text, bool endLine) override {
        calls.push_back("print " + std::string(text) + (endLine ? "|" : ";"));
        std::string& line = lines.back();
        if (!text.empty() && x_ != end_) {
            line += (line.empty() ? "" : " ") + std::to_string(x_) + (bold_ ? "*" : "") +
                    (size_ != 10 ? "/" + std::to_string(size_) : "") + (font_ != "Courier" ? "?" : "") + ":";
        }
        line += text;
        x_ += textWidth(text);
        end_ = text.empty() ? end_ : x_;
        if (endLine) {
            lines.emplace_back();
            x_ = 0;
            end_ = -1;
        }
    }
    int textWidth(std::string_view text) override { return static_cast<int>(text.size()) * size_ * 12; }
    int pageWidth() override { return width; }
    bool endDocument() override {
        calls.push_back("end");
        return !failing;
    }

private:
    std::string font_;
    int size_ = 10;
    bool bold_ = false;
    int x_ = 0;
    int end_ = -1;  // where the last text on this line ended
};

}  // namespace quillon::fakes
