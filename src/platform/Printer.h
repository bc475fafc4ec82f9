#pragma once
// The default printer as a text canvas. Positions are in twips (1440 to the inch) from the left
// edge of the printer's drawing area; lines follow one another down the page, and a page ends by
// itself when the next line would not fit.
#include <string_view>

namespace quillon {

class Printer {
public:
    virtual ~Printer() = default;

    virtual void setFontName(std::string_view name) = 0;
    virtual void setFontSize(int points) = 0;
    virtual void setBold(bool bold) = 0;

    // Where the next text starts on the current line.
    virtual void setX(int twips) = 0;
    virtual int x() = 0;
    // Prints at the position. Ending the line returns the position to the left edge of the next
    // line; staying on it moves the position past the text.
    virtual void print(std::string_view text, bool endLine) = 0;
    // The width `text` takes in the current font.
    virtual int textWidth(std::string_view text) = 0;
    // The width of the drawing area.
    virtual int pageWidth() = 0;

    // Sends what was printed since the document began, and begins the next one. False when any
    // of it could not be printed: no default printer, a job that could not start or a page
    // that failed.
    virtual bool endDocument() = 0;
};

}  // namespace quillon
