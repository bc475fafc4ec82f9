#pragma once
// The default printer through GDI. Its device context opens at the first call that needs it and
// the job starts at the first text; endDocument sends the job and lets the printer go, so each
// report goes to the default printer of its moment.
#include <string>
#include <string_view>

#include "platform/Printer.h"
#include "platform/win32/Handles.h"

namespace quillon::win32 {

class Win32Printer final : public Printer {
public:
    Win32Printer() = default;
    Win32Printer(const Win32Printer&) = delete;
    Win32Printer& operator=(const Win32Printer&) = delete;
    ~Win32Printer() override;

    void setFontName(std::string_view name) override;
    void setFontSize(int points) override;
    void setBold(bool bold) override;
    void setX(int twips) override;
    int x() override;
    void print(std::string_view text, bool endLine) override;
    int textWidth(std::string_view text) override;
    int pageWidth() override;
    bool endDocument() override;

private:
    bool open();      // the device context with the current font; false once anything failed
    bool startJob();  // the job and its first page
    void abandon();   // gives the job and the device context up
    int lineHeight();
    int toDevice(int twips) const;
    int toTwips(int pixels) const;

    // Declared before the device context, so that it goes after it: a font is deleted only once
    // no device context holds it.
    FontHandle font_;
    DcHandle dc_;
    std::string fontName_ = "Courier";
    int points_ = 10;
    bool bold_ = false;
    bool fontChanged_ = true;
    int dpiX_ = 1440;
    int dpiY_ = 1440;
    int pageHeight_ = 0;  // device units, like the positions below
    int x_ = 0;
    int y_ = 0;
    bool inJob_ = false;
    bool onLine_ = false;  // something was printed on the current line
    bool failed_ = false;
};

}  // namespace quillon::win32
