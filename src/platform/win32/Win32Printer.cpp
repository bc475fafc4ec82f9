#include "platform/win32/Win32Printer.h"

#include <winspool.h>

#include <string>
#include <vector>

#include "platform/win32/Utf.h"

namespace quillon::win32 {

namespace {

constexpr int TwipsPerInch = 1440;
constexpr const wchar_t* DocumentName = L"Quillon";

std::wstring defaultPrinter() {
    DWORD size = 0;
    GetDefaultPrinterW(nullptr, &size);
    if (size == 0) return {};
    std::vector<wchar_t> name(size);
    if (!GetDefaultPrinterW(name.data(), &size)) return {};
    return name.data();
}

}  // namespace

Win32Printer::~Win32Printer() { abandon(); }

void Win32Printer::setFontName(std::string_view name) {
    fontName_ = name;
    fontChanged_ = true;
}

void Win32Printer::setFontSize(int points) {
    points_ = points;
    fontChanged_ = true;
}

void Win32Printer::setBold(bool bold) {
    bold_ = bold;
    fontChanged_ = true;
}

void Win32Printer::setX(int twips) {
    if (open()) x_ = toDevice(twips);
}

int Win32Printer::x() { return open() ? toTwips(x_) : 0; }

void Win32Printer::print(std::string_view text, bool endLine) {
    if (!startJob()) return;
    const int height = lineHeight();
    if (!onLine_ && y_ > 0 && y_ + height > pageHeight_) {
        if (EndPage(dc_.get()) <= 0 || StartPage(dc_.get()) <= 0) {
            failed_ = true;
            return;
        }
        y_ = 0;
    }
    onLine_ = true;
    if (!text.empty()) {
        const std::wstring wideText = wide(text);
        const int length = static_cast<int>(wideText.size());
        SIZE extent{};
        if (!TextOutW(dc_.get(), x_, y_, wideText.data(), length) ||
            !GetTextExtentPoint32W(dc_.get(), wideText.data(), length, &extent)) {
            failed_ = true;
            return;
        }
        x_ += extent.cx;
    }
    if (endLine) {
        x_ = 0;
        y_ += height;
        onLine_ = false;
    }
}

int Win32Printer::textWidth(std::string_view text) {
    SIZE extent{};
    const std::wstring wideText = wide(text);
    if (!open() || !GetTextExtentPoint32W(dc_.get(), wideText.data(), static_cast<int>(wideText.size()), &extent))
        return 0;
    return toTwips(extent.cx);
}

int Win32Printer::pageWidth() { return open() ? toTwips(GetDeviceCaps(dc_.get(), HORZRES)) : 0; }

bool Win32Printer::endDocument() {
    bool sent = !failed_;
    if (inJob_ && sent) {
        sent = EndPage(dc_.get()) > 0 && EndDoc(dc_.get()) > 0;
        inJob_ = !sent;
    }
    abandon();
    return sent;
}

bool Win32Printer::open() {
    if (failed_) return false;
    if (!dc_) {
        const std::wstring name = defaultPrinter();
        if (!name.empty()) dc_.reset(CreateDCW(L"WINSPOOL", name.c_str(), nullptr, nullptr));
        if (!dc_) {
            failed_ = true;
            return false;
        }
        dpiX_ = GetDeviceCaps(dc_.get(), LOGPIXELSX);
        dpiY_ = GetDeviceCaps(dc_.get(), LOGPIXELSY);
        pageHeight_ = GetDeviceCaps(dc_.get(), VERTRES);
        SetBkMode(dc_.get(), TRANSPARENT);
        fontChanged_ = true;
    }
    if (fontChanged_) {
        FontHandle font(CreateFontW(-MulDiv(points_, dpiY_, 72), 0, 0, 0, bold_ ? FW_BOLD : FW_NORMAL, FALSE, FALSE,
                                    FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                    FIXED_PITCH | FF_MODERN, wide(fontName_).c_str()));
        if (!font || !SelectObject(dc_.get(), font.get())) {
            failed_ = true;
            return false;
        }
        font_ = std::move(font);
        fontChanged_ = false;
    }
    return true;
}

bool Win32Printer::startJob() {
    if (!open()) return false;
    if (inJob_) return true;
    DOCINFOW document{};
    document.cbSize = sizeof document;
    document.lpszDocName = DocumentName;
    if (StartDocW(dc_.get(), &document) <= 0) {
        failed_ = true;
        return false;
    }
    inJob_ = true;
    if (StartPage(dc_.get()) <= 0) {
        failed_ = true;
        return false;
    }
    return true;
}

void Win32Printer::abandon() {
    if (inJob_) AbortDoc(dc_.get());
    dc_.reset();
    font_.reset();
    fontChanged_ = true;
    x_ = y_ = 0;
    inJob_ = onLine_ = failed_ = false;
}

int Win32Printer::lineHeight() {
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc_.get(), &metrics);
    return metrics.tmHeight + metrics.tmExternalLeading;
}

int Win32Printer::toDevice(int twips) const { return MulDiv(twips, dpiX_, TwipsPerInch); }
int Win32Printer::toTwips(int pixels) const { return MulDiv(pixels, TwipsPerInch, dpiX_); }

}  // namespace quillon::win32
