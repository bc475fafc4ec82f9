// The viewer's model: the changes files loaded into rows, and what the files list derives from them.
#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "review/ChangeReport.h"
#include "review/LoadChanges.h"
#include "review/SelectionSize.h"
#include "shell/Settings.h"
#include "shell/SizeSortKey.h"
#include "support/FakeMachine.h"
#include "support/TextLines.h"

namespace quillon::review {
namespace {

using Lines = std::vector<std::string>;
using fakes::crlfText;

constexpr const char* Changes = "C:\\changes.qdb";
constexpr const char* SysChanges = "C:\\sysChanges.qdb";
constexpr const char* HkcuChanges = "C:\\hkcuchanges.qdb";
constexpr const char* HklmChanges = "C:\\hklmchanges.qdb";
constexpr const char* NotScannedRow = "Scanning not enabled.";
constexpr std::string_view ScanSettings[] = {settings::scanning::RegScan, settings::scanning::WinIniScan,
                                             settings::scanning::SystemIniScan, settings::scanning::AutoexecScan,
                                             settings::scanning::ConfigSysScan};
const std::string S(1, settings::ListSeparator);

// A machine with every kind of change scanned, ready to load the work folder C:\.
struct LoadBench {
    fakes::FakeMachine m;
    LoadPorts ports{m.files, m.registry, m.shell, m.run};

    LoadBench() { for (const auto setting : ScanSettings) set(setting, "1"); }
    void set(std::string_view setting, std::string_view value) {
        m.registry.setString(Hive::CurrentUser, settings::ScanningKey, setting, value);
    }
    void stage(const char* path, const Lines& lines) { m.files.addFile(path, crlfText(lines)); }
    ChangeSet load() { return loadChanges(ports, "C:\\"); }
};

// "added|replaced" per row; the added text alone for a placeholder.
Lines lineRows(const std::vector<LineRow>& rows) {
    Lines out;
    for (const LineRow& row : rows) out.push_back(row.isPlaceholder() ? row.added : row.added + "|" + row.replaced);
    return out;
}

Lines keyRows(const ChangeSet& set) {
    Lines out;
    for (const KeyRow& row : set.keys) out.push_back(row.isPlaceholder() ? row.name : row.parent + "|" + row.name);
    return out;
}

TEST(ReviewLoad, FileRecordsGiveRowsOfWhatStillExistsUntilAStop) {
    struct Case { const char* name; Lines changes; Lines existing /* folders end in "\" */; Lines rows; int stopAt = 0; };
    const Case cases[] = {
        {"file rows in file order, then folder rows in file order",
         {"!C:\\NewB\\{", "}", "C:\\Apps\\{", "z.exe", "y.dll", "}", "!C:\\NewA\\{", "}", "C:\\{", "a.log", "}"},
         {"C:\\NewB\\", "C:\\Apps\\z.exe", "C:\\Apps\\y.dll", "C:\\NewA\\", "C:\\a.log"},
         {"C:\\Apps\\z.exe", "C:\\Apps\\y.dll", "C:\\a.log", "C:\\NewB", "C:\\NewA"}},
        {"a new-folder record's lines are not records", {"!C:\\New\\{", "inner.dll", "C:\\New\\Sub\\{", "s.dll", "}"},
         {"C:\\New\\inner.dll", "C:\\inner.dll", "C:\\New\\Sub\\s.dll"}, {"C:\\New"}},
        {"vanished files and folders are dropped", {"C:\\Apps\\{", "gone.exe", "kept.exe", "}", "!C:\\Gone\\{", "}"},
         {"C:\\Apps\\kept.exe"}, {"C:\\Apps\\kept.exe"}},
        {"a block cut off by the end of the file", {"C:\\Apps\\{", "a.exe"}, {"C:\\Apps\\a.exe"}, {"C:\\Apps\\a.exe"}},
        {"a new-folder record cut off by the end of the file", {"C:\\{", "a.log", "}", "!C:\\New\\{"},
         {"C:\\a.log", "C:\\New\\"}, {"C:\\a.log", "C:\\New"}},
        {"a stop ends the load at the line it arrives at", {"C:\\{", "a.log", "b.log", "}"}, {"C:\\a.log", "C:\\b.log"},
         {"C:\\a.log"}, 3},
    };
    for (const Case& c : cases) {
        LoadBench b;
        for (const std::string& path : c.existing) {
            if (path.back() == '\\') b.m.files.addFolder(path);
            else b.m.files.addFile(path, "x");
        }
        b.stage(Changes, c.changes);
        b.m.run.stopAtYield(c.stopAt);
        Lines rows;
        for (const FileRow& row : b.load().files) rows.push_back(row.fullPath());
        EXPECT_EQ(rows, c.rows) << c.name;
    }
}

TEST(ReviewLoad, APlaceholderForEachKindOfChangeNotScanned) {
    for (std::size_t list = 0; list < ConfigListCount; ++list) {
        for (const char* value : {"0", "", "yes"}) {
            LoadBench b;
            b.set(ScanSettings[list + 1], value);
            const ChangeSet set = b.load();
            for (std::size_t i = 0; i < ConfigListCount; ++i)
                EXPECT_EQ(lineRows(set.lines[i]), i == list ? Lines{NotScannedRow} : Lines{}) << list << "=" << value;
        }
    }
}

// In any order; text after the last separator is no entry; the last section is cut off after its
// added list.
TEST(ReviewLoad, EachSectionFillsItsOwnLineList) {
    LoadBench b;
    b.stage(SysChanges, {"stray line", "Config.sys{", "DEVICE=new.sys" + S, "DEVICE=old.sys" + S, "}", "Win.ini{",
                         "load=app.exe" + S + "NewKey=1" + S + "tail", "load=" + S + " " + S, "}", "System.ini{", "",
                         "", "}", "Autoexec.bat{", "SET X=1" + S});
    const ChangeSet set = b.load();
    const std::array<Lines, ConfigListCount> rows = {
        Lines{"load=app.exe|load=", "NewKey=1| "}, Lines{}, Lines{"SET X=1| "}, Lines{"DEVICE=new.sys|DEVICE=old.sys"}};
    for (std::size_t i = 0; i < ConfigListCount; ++i) EXPECT_EQ(lineRows(set.lines[i]), rows[i]) << i;
}

TEST(ReviewLoad, KeyRowsOfKeysThatStillOpenAndTheChangesFilesConsumed) {
    const Lines both = {"HKEY_CURRENT_USER\\Software\\Vendor\\|App", "HKEY_LOCAL_MACHINE\\Software\\|Foo",
                        "HKEY_LOCAL_MACHINE\\|Foo", "HKEY_LOCAL_MACHINE\\Software\\|Locked"};
    struct Case { const char* name; const char* regScan; bool hkcu, hklm, hkcuLeft, hklmLeft; Lines keys; };
    const Case cases[] = {
        {"registry scanned: both read and deleted", "1", true, true, false, false, both},
        {"registry scanned, no HKCU file: both left", "1", false, true, false, true, {NotScannedRow}},
        {"registry scanned, only the HKCU file", "1", true, false, false, false, {both[0]}},
        {"registry not scanned: both left", "0", true, true, true, true, {NotScannedRow}},
    };
    for (const Case& c : cases) {
        LoadBench b;
        b.set(settings::scanning::RegScan, c.regScan);
        for (const char* key : {"Software\\Foo", "Foo", "Software\\Locked", "Software\\Hidden"})
            b.m.registry.createKey(Hive::LocalMachine, key);
        b.m.registry.markReadOnly(Hive::LocalMachine, "Software\\Locked");
        b.m.registry.markUnopenable(Hive::LocalMachine, "Software\\Hidden");
        b.m.registry.createKey(Hive::CurrentUser, "Software\\Vendor\\App");
        b.stage(Changes, {"C:\\{", "}"});
        b.stage(SysChanges, {});
        if (c.hkcu)
            b.m.files.addFile(HkcuChanges, crlfText({"Software\\Vendor\\App", "Software\\Gone"}), FileAttr::Hidden);
        if (c.hklm) b.stage(HklmChanges, {"Software\\Foo", "", "Foo", "Software\\Locked", "Software\\Hidden"});

        EXPECT_EQ(keyRows(b.load()), c.keys) << c.name;
        EXPECT_FALSE(b.m.files.exists(Changes)) << c.name;
        EXPECT_FALSE(b.m.files.exists(SysChanges)) << c.name;
        EXPECT_EQ(b.m.files.exists(HkcuChanges), c.hkcuLeft) << c.name;
        EXPECT_EQ(b.m.files.exists(HklmChanges), c.hklmLeft) << c.name;
    }
}

TEST(ReviewLoad, SizeSortKeyIsTheSizeInKilobytesOnNineDigits) {
    const std::pair<const char*, const char*> keys[] = {{"0KB", "000000000"}, {"1023KB", "000001023"},
                                                        {"12MB", "000012288"}, {"1GB", "001048576"}, {"", "000000000"},
                                                        {"953GB", "999292928"}, {"954GB", "000341504"}};
    for (const auto& [text, key] : keys) EXPECT_EQ(shell::sizeSortKey(text), key) << text;  // past nine digits the last nine
}

TEST(ReviewLoad, SelectedRowsAreSizedAsTheyAreOnDiskNow) {
    fakes::FakeMachine m;
    m.files.addFile("C:\\Apps\\a.exe", std::string(1000, 'x'));
    m.files.addFile("C:\\New\\one.dat", std::string(200, 'x'));
    m.files.addFile("C:\\New\\Sub\\two.dat", std::string(30, 'x'), FileAttr::Hidden);
    m.files.addFile("C:\\Apps\\big.bin");
    m.files.setFileSize("C:\\Apps\\big.bin", 5'000'000'000ULL);
    m.files.addFile("C:\\Was a file\\inside.txt", std::string(4, 'x'));
    const std::vector<FileRow> rows = {{"a.exe", "C:\\Apps\\", "", ""}, {"New", "C:\\", "", "Folder", 9, -1, true},
                                       {"gone.exe", "C:\\Apps\\", "", "", 900}, {"big.bin", "C:\\Apps\\", "", ""},
                                       {"Was a file", "C:\\", "", ""}};
    const std::pair<std::vector<std::size_t>, double> sizes[] = {
        {{}, 0}, {{1, 0}, 1230}, {{2, 0, 9}, 1000} /* vanished, past the end */, {{3}, 5'000'000'000.0}, {{4}, 4}};
    for (const auto& [selected, bytes] : sizes) EXPECT_EQ(selectionSize(m.files, m.run, rows, selected), bytes);
}

// The printed report of the viewer's selected rows. Its page is read back where it is printed on a
// real queue; here, what the logic alone decides.
TEST(ChangeReport, PrintsAPlaceholderRowAndTellsWhenThePrinterFails) {
    fakes::FakeMachine m;
    ChangeSet changes;
    changes.keys = {{"Foo", "HKEY_LOCAL_MACHINE\\Software\\"}, KeyRow::placeholder()};
    EXPECT_EQ(printSelected(m.printer, m.prompter, changes, {.keys = {1, 0}}, {"", "12/7/2026 10:00:00"}),
              PrintOutcome::Printed);
    // Without a parent key the placeholder's line still ends.
    EXPECT_NE(m.printer.page.find("\n1000:Scanning not enabled.\n1000:Foo 6360:HKEY_LOCAL_MACHINE\\Software\\\n"),
              std::string::npos);

    // A selection of one line alone is a selection.
    fakes::FakeMachine failing;
    failing.prompter.answer(MsgAnswer::Ok);
    failing.printer.failing = true;
    changes.linesOf(ConfigList::SystemIni) = {{"load=x", " "}};
    EXPECT_EQ(printSelected(failing.printer, failing.prompter, changes, {.lines = {{{}, {0}, {}, {}}}}, {}),
              PrintOutcome::NotPrinted);
}

}  // namespace
}  // namespace quillon::review
