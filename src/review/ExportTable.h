#pragma once
// What a list shows, written for people and other programs: a CSV file (RFC 4180, UTF-8) or a
// self-contained HTML page, to a path the user chooses in the save dialog.
#include <string>
#include <string_view>
#include <vector>

#include "platform/FileSystem.h"
#include "platform/Prompter.h"

namespace quillon::review {

struct ExportTable {
    std::string title;                           // the page's heading and <title>
    std::vector<std::string> columns;            // header row
    std::vector<std::vector<std::string>> rows;  // UTF-8 cells, one per column
};

// RFC 4180: CRLF after every record, a field in quotes when it holds a comma, a quote, CR or
// LF, its quotes doubled. Starts with a UTF-8 byte order mark: without one Excel takes the
// file for the ANSI code page and garbles every name beyond it. A row shorter than the header
// is filled with empty fields; cells past the header's are left out.
std::string csvText(const ExportTable& table);

// An HTML5 page that is also well-formed XML: inline CSS, no script, nothing fetched. Cells
// keep their line breaks; what XML cannot carry (control characters, broken UTF-8) shows as
// U+FFFD.
std::string htmlPage(const ExportTable& table);

enum class ExportOutcome { Written, Cancelled, Failed };

// The format the path's extension asks for: ".htm" and ".html" are pages, anything else CSV.
bool isHtmlPath(std::string_view path);

// Asks for a path through the save dialog (CSV and HTML filters), `suggestedName` being the
// name it proposes without an extension, and writes the table in the format of the chosen
// path's extension. A failed write is told to the user and leaves a file already at the path
// as it was.
ExportOutcome exportTable(FileSystem& files, Prompter& prompter, const ExportTable& table,
                          std::string_view suggestedName);

}  // namespace quillon::review
