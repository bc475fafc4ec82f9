#include "review/ChangeReport.h"

#include <array>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/ValueLine.h"
#include "review/NothingSelected.h"
#include "review/ValueRows.h"

namespace quillon::review {

namespace {

constexpr std::string_view Title = "Error printing";
constexpr int LeftColumn = 1000;
constexpr int FolderColumn = LeftColumn + 3000;
constexpr int SecondColumn = LeftColumn + 5360;

struct Columns {
    int type;
    int size;
    int folderLimit;
    int parentKeyLimit;
};

// From the page width, in the report's body font.
Columns columnsFor(Printer& printer) {
    const int width = printer.pageWidth();
    Columns columns{};
    columns.type = width - 2000;
    columns.size = columns.type - 1440;
    columns.folderLimit = columns.size - printer.textWidth("aaa");
    columns.parentKeyLimit = width - 1000;
    return columns;
}

void printAt(Printer& printer, int x, std::string_view text, bool endLine) {
    printer.setX(x);
    printer.print(text, endLine);
}

// Character by character, so that a long path continues on the next lines within its column;
// a line may pass the limit by one character.
void printWrapped(Printer& printer, std::string_view text, int start, int limit) {
    printer.setX(start);
    // A selected placeholder has no parent key: its line still ends, or the next row would
    // be printed over it.
    if (text.empty()) printer.print("", true);
    for (std::size_t i = 0; i < text.size(); ++i) {
        const std::string_view character = text.substr(i, 1);
        if (printer.x() > limit) {
            printer.print(character, true);
            printer.setX(start);
        } else {
            printer.print(character, i + 1 == text.size());
        }
    }
}

struct Heading {
    int x;
    std::string_view text;
};

// The section heading and the column headers, before the first selected row of a list.
template <std::size_t N>
void printSectionHeading(Printer& printer, std::string_view heading, const std::array<Heading, N>& headers) {
    printer.setX(LeftColumn);
    printer.setBold(true);
    printer.print(heading, true);
    printer.print("", true);
    for (std::size_t i = 0; i < N; ++i) printAt(printer, headers[i].x, headers[i].text, i + 1 == N);
    printer.setBold(false);
}

void printHeader(Printer& printer, const ReportHeader& header) {
    printer.print("", true);
    printer.setX(LeftColumn);
    printer.setFontSize(14);
    printer.setBold(true);
    printer.setFontName("Courier");
    // Each ended line returns to the left edge: these lines start there, not at the left column.
    printer.print("", true);
    printer.print("File name: " + header.fileName, true);
    printer.print("File log creation date: " + header.fileDate, true);
    printer.print("", true);
    printer.print("Quillon found the following changes to your system:", true);
    printer.print("", true);
    printer.setFontSize(10);
    printer.setBold(false);
}

// One list's section: its heading before the first selected row, then the rows, then an empty
// line whether or not a row was selected.
template <std::size_t N, typename PrintRow>
void printSection(Printer& printer, std::string_view heading, const std::array<Heading, N>& headers,
                  const std::vector<std::size_t>& selected, std::size_t rows, PrintRow printRow) {
    bool first = true;
    for (std::size_t index : selected) {
        if (index >= rows) continue;
        if (std::exchange(first, false)) printSectionHeading(printer, heading, headers);
        printRow(index);
    }
    printer.print("", true);
}

constexpr std::array<std::string_view, ConfigListCount> LineHeadings{
    "The following lines were added to the Win.ini file:",
    "The following lines were added to the System.ini file:",
    "The following lines were added to the Autoexec.bat file:",
    "The following lines were added to the Config.sys file:",
};
constexpr std::array<Heading, 2> KeyHeaders{{{LeftColumn, "Key name"}, {SecondColumn, "In parent key"}}};
constexpr std::array<Heading, 2> LineHeaders{{{LeftColumn, "Line added"}, {SecondColumn, "Replacing line"}}};
constexpr std::array<Heading, 2> ValueHeaders{{{LeftColumn, "Value (change)"}, {SecondColumn, "In key: new data / old data"}}};

void printBody(Printer& printer, const ChangeSet& changes, const Selection& selection) {
    const Columns columns = columnsFor(printer);
    const std::array<Heading, 4> fileHeaders{
        {{LeftColumn, "Name"}, {FolderColumn, "In folder"}, {columns.size, "Size"}, {columns.type, "Type"}}};
    printSection(printer, "The following files and folders were added:", fileHeaders, selection.files,
                 changes.files.size(), [&](std::size_t index) {
                     const FileRow& row = changes.files[index];
                     printAt(printer, LeftColumn, row.name, false);
                     printAt(printer, columns.size, row.sizeText, false);
                     printAt(printer, columns.type, row.typeName, false);
                     printWrapped(printer, row.folder, FolderColumn, columns.folderLimit);
                 });
    printSection(printer, "The following registry keys were added:", KeyHeaders, selection.keys, changes.keys.size(),
                 [&](std::size_t index) {
                     printAt(printer, LeftColumn, changes.keys[index].name, false);
                     printWrapped(printer, changes.keys[index].parent, SecondColumn, columns.parentKeyLimit);
                 });
    for (std::size_t list = 0; list < ConfigListCount; ++list) {
        const auto& rows = changes.lines[list];
        printSection(printer, LineHeadings[list], LineHeaders, selection.lines[list], rows.size(),
                     [&](std::size_t index) {
                         printAt(printer, LeftColumn, rows[index].added, false);
                         printAt(printer, SecondColumn, rows[index].replaced, true);
                     });
    }
    // Reports without values stay as they were: no blank line for an empty section.
    if (selection.values.empty()) return;
    printSection(printer, "The following registry values were added, changed or removed:", ValueHeaders,
                 selection.values, changes.values.size(), [&](std::size_t index) {
                     const ValueRow& row = changes.values[index];
                     printAt(printer, LeftColumn, valueNameShown(row.name) + " (" + row.change + ")", false);
                     printWrapped(printer, row.key, SecondColumn, columns.parentKeyLimit);
                     printAt(printer, SecondColumn,
                             displayValueData(row.newData) + "  /  " + displayValueData(row.oldData), true);
                 });
}

}  // namespace

PrintOutcome printSelected(Printer& printer, Prompter& prompter, const ChangeSet& changes, const Selection& selection,
                           const ReportHeader& header) {
    if (!somethingSelected(prompter, selection, Title, "Print selected")) return PrintOutcome::NothingSelected;
    printHeader(printer, header);
    printBody(printer, changes, selection);
    if (printer.endDocument()) return PrintOutcome::Printed;
    prompter.message({"The report could not be printed. Check that a default printer is installed and ready.",
                      std::string(Title), MsgIcon::Exclamation, MsgButtons::Ok});
    return PrintOutcome::NotPrinted;
}

}  // namespace quillon::review
