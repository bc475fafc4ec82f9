#include "review/ExportTable.h"

#include <memory>

#include "platform/FileFault.h"
#include "platform/TextCompare.h"
#include "platform/Utf8.h"

namespace quillon::review {

namespace {

constexpr std::string_view ByteOrderMark = "\xEF\xBB\xBF";
constexpr std::string_view DialogFilter = "CSV files (*.csv)|*.csv|Web pages (*.html;*.htm)|*.html;*.htm";
constexpr std::string_view DefaultExtension = "csv";
constexpr std::string_view Replacement = "\xEF\xBF\xBD";

void appendCsvField(std::string& out, std::string_view field) {
    if (field.find_first_of(",\"\r\n") == std::string_view::npos) {
        out += field;
        return;
    }
    out += '"';
    for (const char c : field) {
        if (c == '"') out += '"';
        out += c;
    }
    out += '"';
}

template <typename Cells, typename Field>
void forEachField(std::size_t count, const Cells& cells, Field field) {
    for (std::size_t i = 0; i < count; ++i) field(i, i < cells.size() ? std::string_view(cells[i]) : std::string_view());
}

void appendCsvRecord(std::string& out, std::size_t count, const std::vector<std::string>& cells) {
    forEachField(count, cells, [&](std::size_t i, std::string_view cell) {
        if (i > 0) out += ',';
        appendCsvField(out, cell);
    });
    out += "\r\n";
}

// XML 1.0 allows tab, LF and CR among the controls; CR goes as a reference, since a parser
// turns a literal one into LF.
bool xmlAllows(char32_t cp) {
    if (cp >= InvalidByteBase) return false;
    if (cp < 0x20) return cp == '\t' || cp == '\n' || cp == '\r';
    return !(cp >= 0xFFFE && cp <= 0xFFFF) && !(cp >= 0x7F && cp <= 0x9F);
}

std::string escapeXml(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t start = i;
        const char32_t cp = nextCodePoint(text, i);
        switch (cp) {
            case '&': out += "&amp;"; continue;
            case '<': out += "&lt;"; continue;
            case '>': out += "&gt;"; continue;
            case '"': out += "&quot;"; continue;
            case '\r': out += "&#13;"; continue;
            default: break;
        }
        if (xmlAllows(cp)) {
            out += text.substr(start, i - start);
        } else {
            out += Replacement;
        }
    }
    return out;
}

// Paths and keys have no spaces to wrap at: a line may break after each backslash instead,
// so that a long one neither widens the page nor is cut in the middle of a name.
std::string cellText(std::string_view text) {
    std::string out;
    for (const char c : escapeXml(text)) {
        out += c;
        if (c == '\\') out += "<wbr/>";
    }
    return out;
}

void appendHtmlRow(std::string& out, std::string_view tag, std::size_t count, const std::vector<std::string>& cells) {
    out += "<tr>";
    forEachField(count, cells, [&](std::size_t, std::string_view cell) {
        out += '<';
        out += tag;
        out += '>';
        out += cellText(cell);
        out += "</";
        out += tag;
        out += '>';
    });
    out += "</tr>\n";
}

constexpr std::string_view Style =
    "body{font-family:\"Segoe UI\",Tahoma,Arial,sans-serif;margin:24px;color:#1b1b1b;background:#fff}"
    "h1{font-size:1.4em;font-weight:600;margin:0 0 4px}"
    "p{color:#555;margin:0 0 16px}"
    "table{border-collapse:collapse;width:100%;font-size:0.9em}"
    "th,td{border:1px solid #c8c8c8;padding:4px 8px;text-align:left;vertical-align:top;"
    "white-space:pre-wrap;overflow-wrap:break-word}"
    "th{background:#e6edf5}"
    "tbody tr:nth-child(even){background:#f6f8fa}";

std::string entryCount(std::size_t rows) { return std::to_string(rows) + (rows == 1 ? " entry" : " entries"); }

Status writeWhole(FileSystem& files, const std::string& path, std::string_view text) {
    std::unique_ptr<TextWriter> out;
    if (const Status s = files.openWrite(path, WriteMode::Create, out); !succeeded(s)) return s;
    const Status written = out->write(text);
    const Status closed = out->close();
    return succeeded(written) ? closed : written;
}

}  // namespace

std::string csvText(const ExportTable& table) {
    std::string out(ByteOrderMark);
    appendCsvRecord(out, table.columns.size(), table.columns);
    for (const auto& row : table.rows) appendCsvRecord(out, table.columns.size(), row);
    return out;
}

std::string htmlPage(const ExportTable& table) {
    const std::string title = escapeXml(table.title);
    std::string out = "<!DOCTYPE html>\n<html xmlns=\"http://www.w3.org/1999/xhtml\" lang=\"en\">\n<head>\n"
                      "<meta charset=\"utf-8\"/>\n<title>";
    out += title;
    out += "</title>\n<style>";
    out += Style;
    out += "</style>\n</head>\n<body>\n<h1>";
    out += title;
    out += "</h1>\n<p>";
    out += entryCount(table.rows.size());
    out += "</p>\n<table>\n<thead>\n";
    appendHtmlRow(out, "th", table.columns.size(), table.columns);
    out += "</thead>\n<tbody>\n";
    for (const auto& row : table.rows) appendHtmlRow(out, "td", table.columns.size(), row);
    out += "</tbody>\n</table>\n</body>\n</html>\n";
    return out;
}

bool isHtmlPath(std::string_view path) { return endsWithNoCase(path, ".html") || endsWithNoCase(path, ".htm"); }

ExportOutcome exportTable(FileSystem& files, Prompter& prompter, const ExportTable& table,
                          std::string_view suggestedName) {
    FileDialogRequest request;
    request.title = "Export";
    request.filter = DialogFilter;
    request.fileName = suggestedName;
    request.defaultExtension = DefaultExtension;
    const auto chosen = prompter.saveFile(request);
    if (!chosen || chosen->empty()) return ExportOutcome::Cancelled;

    // Written beside the target and moved over it once complete: a failure leaves no cut-off
    // page behind and keeps the file it was to replace.
    const std::string work = *chosen + ".tmp";
    Status s = writeWhole(files, work, isHtmlPath(*chosen) ? htmlPage(table) : csvText(table));
    if (succeeded(s)) {
        s = replaceWithWorkCopy(files, work, *chosen);
    } else {
        removeLeftover(files, work);
    }
    if (succeeded(s)) return ExportOutcome::Written;
    prompter.message({faultSentence({FileFault::Action::Write, *chosen, s}), "Export", MsgIcon::Exclamation,
                      MsgButtons::Ok});
    return ExportOutcome::Failed;
}

}  // namespace quillon::review
