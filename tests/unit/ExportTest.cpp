// Tables written as CSV files and web pages through the save dialog, and the viewer's rows as
// such a table. Parsed back by standard readers in export_parse_back.py, which runs these tests
// with QUILLON_EXPORT_DUMP naming a folder to put the written files in.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "review/ExportTable.h"
#include "review/ViewerExport.h"
#include "support/FakeMachine.h"

namespace quillon::review {
namespace {

using Cells = std::vector<std::string>;
using Text = std::optional<std::string>;

const ExportTable Awkward{
    "Names, \"quotes\" & <Отчёт>",
    {"Kind", "Name", "In"},
    {{"File", "a,b.txt", "C:\\Program Files\\Vendor, Inc\\"},
     {"File", "say \"hi\".doc", ""},
     {"Line", "first\r\nsecond", "lone\rCR and lone\nLF"},
     {"File", "Отчёт за 2026 😀.docx", "C:\\Пользователи\\Анна\\"},
     {"Value", "<&>", "  spaces kept  \t"},
     {"Key", "\"", "cr\ronly"}},
};

// Each cell in hex, a row a line: what the parse-back compares with, in a form no reader
// under test takes part in.
void dumpExpected(const std::string& path, const ExportTable& table) {
    std::ofstream out(path, std::ios::binary);
    auto hex = [&](const std::string& cell) {
        for (const unsigned char c : cell) out << "0123456789abcdef"[c >> 4] << "0123456789abcdef"[c & 15];
        out << (cell.empty() ? "-" : "") << ' ';
    };
    hex(table.title);
    out << '\n';
    std::vector<Cells> rows{table.columns};
    rows.insert(rows.end(), table.rows.begin(), table.rows.end());
    for (const Cells& row : rows) {
        std::for_each(row.begin(), row.end(), hex);
        out << '\n';
    }
}

TEST(Export, WritesTheFormatOfTheChosenExtensionAndTellsWhenItCannot) {
    fakes::FakeMachine m;
    m.files.addFile("C:\\Out\\old.csv", "old");
    struct Case {
        Text chosen;
        const char* failWritesUnder;
        const char* failMovesTo;
        ExportOutcome outcome;
        Text written;  // the file at the chosen path afterwards
        const char* told;
    };
    const std::string csv = csvText(Awkward), html = htmlPage(Awkward);
    const Case cases[] = {
        {"C:\\Out\\names.csv", nullptr, nullptr, ExportOutcome::Written, csv, nullptr},
        {"C:\\Out\\names.HTML", nullptr, nullptr, ExportOutcome::Written, html, nullptr},
        {"C:\\Out\\names.htm", nullptr, nullptr, ExportOutcome::Written, html, nullptr},
        {"C:\\Out\\names.txt", nullptr, nullptr, ExportOutcome::Written, csv, nullptr},
        {"C:\\Out\\old.csv", nullptr, nullptr, ExportOutcome::Written, csv, nullptr},
        {std::nullopt, nullptr, nullptr, ExportOutcome::Cancelled, std::nullopt, nullptr},
        {"C:\\Full\\names.csv", "C:\\Full", nullptr, ExportOutcome::Failed, std::nullopt,
         "Quillon could not write C:\\Full\\names.csv: the disk is full."},
        {"C:\\Locked\\old.csv", nullptr, "C:\\Locked", ExportOutcome::Failed, "old",
         "Quillon could not write C:\\Locked\\old.csv: access was denied."},
        {"C:\\Nowhere\\names.csv", nullptr, nullptr, ExportOutcome::Failed, std::nullopt,
         "Quillon could not write C:\\Nowhere\\names.csv: it was not found."},
    };
    m.files.addFile("C:\\Locked\\old.csv", "old");
    for (const Case& c : cases) {
        if (c.failWritesUnder) m.files.failWritesUnder(c.failWritesUnder);
        if (c.failMovesTo) m.files.failMovesTo(c.failMovesTo);
        if (c.failWritesUnder) m.files.addFolder(c.failWritesUnder);
        m.prompter.answerSaveFile(c.chosen);
        if (c.told) m.prompter.answer(MsgAnswer::Ok);
        const std::size_t toldBefore = m.prompter.messages().size();
        const std::string at = c.chosen.value_or("(cancelled)");

        EXPECT_EQ(exportTable(m.files, m.prompter, Awkward, "Changes found"), c.outcome) << at;
        EXPECT_EQ(m.files.content(at), c.written) << at;
        EXPECT_FALSE(m.files.exists(at + ".tmp")) << at;
        ASSERT_EQ(m.prompter.messages().size(), toldBefore + (c.told ? 1 : 0)) << at;
        if (c.told) {
            EXPECT_EQ(m.prompter.messages().back().text, c.told);
        }
    }
    const FileDialogRequest& asked = m.prompter.fileRequests().front();
    EXPECT_EQ(asked.filter, "CSV files (*.csv)|*.csv|Web pages (*.html;*.htm)|*.html;*.htm");
    EXPECT_EQ(asked.fileName, "Changes found");
    EXPECT_EQ(csv.substr(0, 3), "\xEF\xBB\xBF") << "Excel reads UTF-8 only after a byte order mark";
    EXPECT_NE(htmlPage({"", {"c"}, {{"bell\x07 and a cut \xD0"}}}).find("<td>bell\xEF\xBF\xBD and a cut \xEF\xBF\xBD</td>"),
              std::string::npos)
        << "no character a strict parser refuses";

    if (const char* dump = std::getenv("QUILLON_EXPORT_DUMP")) {
        const std::string folder = std::string(dump) + "/";
        std::ofstream(folder + "names.csv", std::ios::binary) << *m.files.content("C:\\Out\\names.csv");
        std::ofstream(folder + "names.html", std::ios::binary) << *m.files.content("C:\\Out\\names.HTML");
        dumpExpected(folder + "expected.txt", Awkward);
    }
}

TEST(Export, TheViewerGivesEveryRowOfEveryTabWithItsKind) {
    ChangeSet changes;
    changes.files = {{"app.exe", "C:\\Apps\\New\\", "12KB", "Application"}, {"Data", "C:\\Apps\\New\\", "0KB", "Folder"}};
    changes.keys = {KeyRow::placeholder()};
    changes.lines = {{{{"load=a.exe", "load="}, {"run=b.exe", " "}}, {}, {}, {LineRow::placeholder()}}};
    changes.values = {{"HKEY_CURRENT_USER\\Software\\Old", "", "changed", "1'new", "1'old"}};

    const ExportTable table = viewerTable(changes, "NewApp.qdf", "08/12/2026 10:15");
    EXPECT_EQ(table.title, "Changes found in NewApp.qdf, 08/12/2026 10:15");
    EXPECT_EQ(table.columns, (Cells{"Kind", "Entry", "In", "Size", "Type", "Change", "New data", "Old data"}));
    const std::vector<Cells> rows{
        {"Hard drive", "app.exe", "C:\\Apps\\New\\", "12KB", "Application", "added", "", ""},
        {"Hard drive", "Data", "C:\\Apps\\New\\", "0KB", "Folder", "added", "", ""},
        {"Registry", "Scanning not enabled.", "", "", "", "", "", ""},
        {"Win.ini", "load=a.exe", "", "", "", "added", "", "load="},
        {"Win.ini", "run=b.exe", "", "", "", "added", "", ""},
        {"Config.sys", "Scanning not enabled.", "", "", "", "", "", ""},
        {"Registry values", "(Default)", "HKEY_CURRENT_USER\\Software\\Old", "", "", "changed", "new", "old"},
    };
    EXPECT_EQ(table.rows, rows);
    EXPECT_EQ(viewerTable({}, "", "").title, "Changes found");
    for (const auto& [file, name] : {std::pair{"NewApp.qdf", "NewApp"}, std::pair{"", "Changes found"},
                                     std::pair{"v1.2.qdf", "v1.2"}, std::pair{"NoDot", "NoDot"}})
        EXPECT_EQ(viewerExportName(file), name);
}

}  // namespace
}  // namespace quillon::review
