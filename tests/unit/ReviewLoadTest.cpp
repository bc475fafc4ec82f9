// The viewer's model: the changes files loaded into rows, and what the files list derives from them.
#include <gtest/gtest.h>

#include <array>
#include <span>
#include <string>
#include <vector>

#include "review/FileRowTypes.h"
#include "review/FolderLookup.h"
#include "review/LoadChanges.h"
#include "review/SelectionSize.h"
#include "shell/SizeSortKey.h"
#include "shell/Settings.h"
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

TEST(ReviewLoad, FileRecordsGiveRowsOfWhatStillExists) {
    struct Case { const char* name; Lines changes; Lines existing /* folders end in "\" */; Lines rows; };
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
    };
    for (const Case& c : cases) {
        LoadBench b;
        for (const std::string& path : c.existing) {
            if (path.back() == '\\') b.m.files.addFolder(path);
            else b.m.files.addFile(path, "x");
        }
        b.stage(Changes, c.changes);
        Lines rows;
        for (const FileRow& row : b.load().files) rows.push_back(row.fullPath());
        EXPECT_EQ(rows, c.rows) << c.name;
    }
}

// How often the shell is asked is the viewer load benchmark's business.
TEST(ReviewLoad, RowsCarrySizeTypeAndIconAndAddUpToTheTotal) {
    LoadBench b;
    b.m.shell.setFileType(".exe", "Application", 7);
    b.m.shell.setFileType(".txt", "Text Document", 3);
    b.m.files.addFile("C:\\Apps\\a.exe");
    b.m.files.setFileSize("C:\\Apps\\a.exe", 3 * 1024 * 1024 + 100);
    b.m.files.addFile("C:\\Apps\\C.TXT");
    b.m.files.addFile("C:\\Apps\\hidden.sys", std::string(300, 'x'), FileAttr::Hidden | FileAttr::System);
    b.m.files.addFile("C:\\New\\one.dat", std::string(1000, 'x'));
    b.m.files.addFile("C:\\New\\Sub\\Deeper\\two.dat", std::string(2100, 'x'), FileAttr::Hidden);
    b.stage(Changes, {"C:\\Apps\\{", "a.exe", "gone.exe", "C.TXT", "hidden.sys", "}", "!C:\\New\\{", "}"});

    ChangeSet set = b.load();
    FileRowTypes types(b.m.shell);
    Lines rows;
    for (FileRow& r : set.files)
        rows.push_back(r.folder + r.name + "|" + r.sizeText + "|" + types.typeName(r) + "|" +
                       std::to_string(types.icon(r)) + "|" + std::to_string(static_cast<long long>(r.bytes)) +
                       (r.isFolder ? "|folder" : ""));
    EXPECT_EQ(rows, (Lines{"C:\\Apps\\a.exe|3MB|Application|7|3145828", "C:\\Apps\\C.TXT|0KB|Text Document|3|0",
                           "C:\\Apps\\hidden.sys|0KB|SYS File|0|300",
                           "C:\\New|3KB|Folder|3|3100|folder"}));  // everything below the folder, hidden included
    EXPECT_EQ(set.totalBytes, 3 * 1024 * 1024 + 100 + 300 + 3100);
}

// Whatever way the names are looked up (a listing, a listing refused or given up in a crowded
// folder, one by one), each gets its entry or nothing.
TEST(ReviewLoad, FolderLookupFindsEachNameWithoutCase) {
    const Lines names = {"A.TXT", "Sub", "gone", "a.txt", "\u0414\u041e\u041c.TXT", "\u65e5\U0001F600", "\u00c9T\u00c9",
                         "strasse"};
    const Lines entries = {"a.txt|5", "Sub|dir", "-", "a.txt|5", "\u0434\u043e\u043c.txt|2", "\u65e5\U0001F600|3",
                           "\u00e9t\u00e9|1", "-"};
    for (const std::string way : {"listed", "refused", "crowded", "one name"}) {
        fakes::FakeMachine m;
        for (int i = 0; way == "crowded" && i < 300; ++i) m.files.addFile("C:\\F\\other" + std::to_string(i));
        m.files.addFile("C:\\F\\a.txt", "12345");
        m.files.addFolder("C:\\F\\Sub");
        m.files.addFile("C:\\F\\\u0434\u043e\u043c.txt", "12");
        m.files.addFile("C:\\F\\\u65e5\U0001F600", "123");
        m.files.addFile("C:\\F\\\u00e9t\u00e9", "1");
        m.files.addFile("C:\\F\\stra\u00dfe", "1");
        if (way == "refused") m.files.refuseListing("C:\\F\\");
        const std::size_t asked = way == "one name" ? 1 : names.size();
        Lines found;
        for (const auto& entry : lookUpInFolder(m.files, m.run, "C:\\F\\", std::span(names).first(asked))) {
            const bool folder = entry && (entry->attributes & FileAttr::Directory);
            found.push_back(!entry ? "-" : entry->name + "|" + (folder ? "dir" : std::to_string(entry->size)));
        }
        EXPECT_EQ(found, Lines(entries.begin(), entries.begin() + asked)) << way;
    }
}

TEST(ReviewLoad, APlaceholderForEachKindOfChangeNotScanned) {
    for (std::size_t list = 0; list < ConfigListCount; ++list) {
        for (const char* value : {"0", "", "yes", "01"}) {
            LoadBench b;
            b.set(ScanSettings[list + 1], value);
            const ChangeSet set = b.load();
            for (std::size_t i = 0; i < ConfigListCount; ++i)
                EXPECT_EQ(lineRows(set.lines[i]), i == list ? Lines{NotScannedRow} : Lines{}) << list << "=" << value;
        }
    }
    LoadBench none;  // no settings key at all: nothing was scanned
    ASSERT_EQ(none.m.registry.deleteTree(Hive::CurrentUser, settings::ScanningKey), Status::Ok);
    none.stage(HkcuChanges, {"Software"});
    const ChangeSet set = none.load();
    for (const auto& rows : set.lines) EXPECT_EQ(lineRows(rows), Lines{NotScannedRow});
    EXPECT_EQ(keyRows(set), Lines{NotScannedRow});
}

TEST(ReviewLoad, EachSectionFillsItsOwnLineList) {
    struct Case { const char* name; Lines sysChanges; std::array<Lines, ConfigListCount> rows; };
    const Case cases[] = {
        {"any order; text after the last separator is no entry; the last section cut off after its added list",
         {"stray line", "Config.sys{", "DEVICE=new.sys" + S, "DEVICE=old.sys" + S, "}", "Win.ini{",
          "load=app.exe" + S + "NewKey=1" + S + "tail", "load=" + S + " " + S, "}", "System.ini{", "", "", "}",
          "Autoexec.bat{", "SET X=1" + S},
         {Lines{"load=app.exe|load=", "NewKey=1| "}, {}, Lines{"SET X=1| "}, Lines{"DEVICE=new.sys|DEVICE=old.sys"}}},
        {"a section is four lines whatever its last line holds",
         {"Win.ini{", "a=1" + S, " " + S, "Config.sys{", "b=2" + S, " " + S, "}", "System.ini{", "c=3" + S, " " + S, "}"},
         {Lines{"a=1| "}, Lines{"c=3| "}, Lines{}, Lines{}}},
    };
    for (const Case& c : cases) {
        LoadBench b;
        b.stage(SysChanges, c.sysChanges);
        const ChangeSet set = b.load();
        for (std::size_t i = 0; i < ConfigListCount; ++i) EXPECT_EQ(lineRows(set.lines[i]), c.rows[i]) << c.name;
    }
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

TEST(ReviewLoad, AStopEndsTheLoadAtTheLineItArrivesAt) {
    LoadBench b;
    b.m.files.addFile("C:\\a.log");
    b.m.files.addFile("C:\\b.log");
    b.stage(Changes, {"C:\\{", "a.log", "b.log", "}"});
    b.m.run.stopAtYield(3);  // before the second name
    EXPECT_EQ(b.load().files.size(), 1u);
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

}  // namespace
}  // namespace quillon::review
