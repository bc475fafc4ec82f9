// Tables written as CSV files and web pages through the save dialog, and the viewer's rows as
// one. export_parse_back.py runs these with QUILLON_EXPORT_DUMP naming a folder for the files.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <optional>

#include "review/ExportTable.h"
#include "review/ViewerExport.h"
#include "support/FakeMachine.h"

namespace quillon::review {
namespace {

using Cells = std::vector<std::string>;

const ExportTable Awkward{"Names, \"quotes\" & <Отчёт>", {"Kind", "Name", "In"},
                          {{"File", "a,b.txt", "C:\\Vendor, Inc\\"}, {"Line", "say \"hi\"\r\nnext", "lone\rCR, lone\nLF"},
                           {"File", "Отчёт за 2026 😀.docx", "cr\ronly"}, {"Value", "<&>", "  \"\t"}}};

TEST(Export, WritesTheFormatOfTheChosenExtensionOrTellsWhyNot) {
    fakes::FakeMachine m;
    const std::string csv = csvText(Awkward), html = htmlPage(Awkward), old = "old";
    for (const char* at : {"C:\\Out\\names.csv", "C:\\Full\\old.csv", "C:\\Locked\\old.csv"}) m.files.addFile(at, old);
    m.files.failWritesUnder("C:\\Full");
    m.files.failMovesTo("C:\\Locked");
    const std::tuple<std::optional<std::string>, ExportOutcome, std::optional<std::string>, std::string> cases[] = {
        {"C:\\Out\\names.csv", ExportOutcome::Written, csv, ""},
        {"C:\\Out\\names.HTML", ExportOutcome::Written, html, ""},
        {std::nullopt, ExportOutcome::Cancelled, std::nullopt, ""},
        {"C:\\Full\\old.csv", ExportOutcome::Failed, old, "Quillon could not write C:\\Full\\old.csv: the disk is full."},
        {"C:\\Locked\\old.csv", ExportOutcome::Failed, old, "Quillon could not write C:\\Locked\\old.csv: access was denied."},
    };
    for (const auto& [chosen, outcome, content, told] : cases) {
        m.prompter.answerSaveFile(chosen);
        if (!told.empty()) m.prompter.answer(MsgAnswer::Ok);
        const std::string at = chosen.value_or("-");
        EXPECT_EQ(exportTable(m.files, m.prompter, Awkward, "Changes found"), outcome) << at;
        EXPECT_EQ(m.files.content(at), content) << at;
        EXPECT_FALSE(m.files.exists(at + ".tmp")) << at;
        EXPECT_EQ(told.empty() ? "" : m.prompter.messages().back().text, told);
    }
    EXPECT_NE(htmlPage({"", {"c"}, {{"bell\x07 cut \xD0"}}}).find("<td>bell\uFFFD cut \uFFFD</td>"), std::string::npos);

    if (const char* dump = std::getenv("QUILLON_EXPORT_DUMP")) {
        std::ofstream(std::string(dump) + "/names.csv", std::ios::binary) << csv;
        std::ofstream(std::string(dump) + "/names.html", std::ios::binary) << html;
        // Cells ended by US, rows by RS (no cell holds either): read back by no reader under test.
        std::ofstream cells(std::string(dump) + "/cells", std::ios::binary);
        const auto put = [&](const Cells& row) { for (const auto& cell : row) cells << cell << '\x1f'; cells << '\x1e'; };
        put({Awkward.title}), put(Awkward.columns);
        for (const Cells& row : Awkward.rows) put(row);
    }
}

TEST(Export, TheViewerGivesEveryRowOfEveryTabWithItsKind) {
    ChangeSet changes;
    changes.files = {{"app.exe", "C:\\Apps\\", "12KB", "Application"}};
    changes.keys = {KeyRow::placeholder()};
    changes.lines = {{{}, {}, {{"load=a.exe", "load="}, {"run=b.exe", " "}}, {}}};
    changes.values = {{"HKEY_CURRENT_USER\\Software\\Old", "", "changed", "1'new", "1'old"}};
    const ExportTable table = viewerTable(changes, "NewApp.qdf", "08/12/2026 10:15");
    EXPECT_EQ(table.title + viewerExportName("v1.2.qdf") + viewerExportName(""),
              "Changes found in NewApp.qdf, 08/12/2026 10:15" "v1.2" "Changes found");
    EXPECT_EQ(table.columns, (Cells{"Kind", "Entry", "In", "Size", "Type", "Change", "New data", "Old data"}));
    EXPECT_EQ(table.rows, (std::vector<Cells>{
        {"Hard drive", "app.exe", "C:\\Apps\\", "12KB", "Application", "added", "", ""},
        {"Registry", "Scanning not enabled.", "", "", "", "", "", ""},
        {"Autoexec.bat", "load=a.exe", "", "", "", "added", "", "load="},
        {"Autoexec.bat", "run=b.exe", "", "", "", "added", "", ""},
        {"Registry values", "(Default)", "HKEY_CURRENT_USER\\Software\\Old", "", "", "changed", "new", "old"}}));
}

}  // namespace
}  // namespace quillon::review
