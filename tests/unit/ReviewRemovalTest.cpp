// Removing changes: the shared-DLL question, the viewer's delete and move,
// removal lists saved, opened, converted and written back, and the uninstall from a list.
#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "review/ChangeRemoval.h"
#include "review/ConvertRemovalList.h"
#include "review/DllChoice.h"
#include "review/LoadChanges.h"
#include "review/RemovalListFormat.h"
#include "review/ReviewRemovalList.h"
#include "review/SaveSelected.h"
#include "review/SavedForDeletion.h"
#include "review/SharedDll.h"
#include "review/UninstallFromDataFile.h"
#include "review/WriteBackRemovalList.h"
#include "shell/Settings.h"
#include "support/FakeMachine.h"
#include "support/PromptedPreview.h"
#include "support/TextLines.h"

namespace quillon::review {
namespace {

using Lines = std::vector<std::string>;
using fakes::crlfText;
using Text = std::optional<std::string>;
using Files = std::array<Text, 4>;  // changes, HKCU, HKLM and configuration changes files

const std::string S(1, settings::ListSeparator);
const std::string List = "C:\\L\\NewApp.qdf";
constexpr const char* FailedList = "C:\\temp.qdf";
constexpr const char* WinIni = "C:\\Windows\\win.ini";
constexpr const char* Confirm = "Are you sure you want to remove NewApp and and all of its components?";
constexpr const char* SeeTheList = "Uninstall completed. Some items could not be removed because they may be in use. "
                                   "You should manually remove items related to the application. See the *.qdf file "
                                   "for items that could not be removed.";
// Past MAX_PATH in UTF-16: the door asks before it deletes such a folder for good.
const std::string Deep = [] {
    std::string path = "C:\\Apps";
    for (int i = 0; i < 40; ++i) path += "\\Папка" + std::to_string(i);
    return path;
}();
const std::string DeepQuestion = "These items lie too deep for the Recycle Bin and the shell's removal:\r\n    C:\\Apps\\...\\"
                                 "Папка34\\Папка35\\Папка36\\Папка37\\Папка38\\Папка39\r\n\r\nDelete them for good instead?";
constexpr const char* KeptOnPurpose = " Some were kept because removing them is not safe: a key other programs "
                                      "share, or a folder of the system's or of yours.";

// Answers the DLL question from a script and records every path asked about.
struct ScriptedInUse final : InUsePrompt {
    explicit ScriptedInUse(std::vector<InUseAnswer> script = {}) : answers(std::move(script)) {}
    InUseAnswer ask(std::string_view path) override {
        asked.emplace_back(path);
        EXPECT_LE(asked.size(), answers.size()) << "unexpected DLL question for " << path;
        return asked.size() <= answers.size() ? answers[asked.size() - 1] : InUseAnswer::Skip;
    }
    std::vector<InUseAnswer> answers;
    Lines asked;
};

// The text of a removal list with these entries, every section present.
std::string listText(const Lines& files, const Lines& keys, const std::array<Lines, ConfigListCount>& lines = {}) {
    Lines all{"Files{"};
    all.insert(all.end(), files.begin(), files.end());
    all.insert(all.end(), {"}", "Registry{"});
    all.insert(all.end(), keys.begin(), keys.end());
    all.push_back("}");
    for (std::size_t i = 0; i < ConfigListCount; ++i) {
        all.emplace_back(removal_list::LineHeaders[i]);
        all.insert(all.end(), lines[i].begin(), lines[i].end());
        all.push_back("}");
    }
    return crlfText(all);
}

struct Bench {
    fakes::FakeMachine m;
    shell::RemovalPorts ports{m.registry, m.files, m.shell, m.desktop, m.prompter, m.run, m.clock,
                              fakes::FakeMachine::ProgramFolder};
    ScriptedInUse inUse;
    RemovalContext context{ports, inUse, {"C:\\Windows\\", "C:\\", "C:\\"}};
    SavePorts save{m.registry, m.files, m.prompter};
    ReviewPorts review{m.registry, m.files, m.prompter, m.clock, m.run};
    ChangeSet changes;

    explicit Bench(std::vector<InUseAnswer> answers = {}) : inUse(std::move(answers)) {
        m.registry.setString(Hive::CurrentUser, settings::GeneralKey, settings::general::DeleteMode, "0");
        m.files.addFolder("C:\\L");
    }
    void shared(std::string_view path, char count = 3) {
        m.registry.setValue(Hive::LocalMachine, SharedDllsKey, path, {RegType::Dword, std::string{count, 0, 0, 0}});
    }
    void rows(const Lines& paths, bool existing = true) {  // a file row per path
        for (const std::string& path : paths) {
            if (existing) m.files.addFile(path, "x");
            changes.files.push_back({path.substr(path.rfind('\\') + 1), path.substr(0, path.rfind('\\') + 1), "", ""});
        }
    }
    Lines filePaths() const {
        Lines out;
        for (const auto& row : changes.files) out.push_back(row.fullPath());
        return out;
    }
    Lines messages() const {
        Lines out;
        // The confirmation by its question alone: the preview's counts are tested on their own.
        for (const MessageRequest& message : m.prompter.messages())
            out.push_back(message.title == "Confirm Quillon Uninstall" ? message.text.substr(0, message.text.find('\n')) : message.text);
        return out;
    }
    std::optional<std::string> general(std::string_view name) const {
        return m.registry.stringValue(Hive::CurrentUser, settings::GeneralKey, name);
    }
    Files changesFiles() const {
        return {m.files.content("C:\\changes.qdb"), m.files.content("C:\\hkcuchanges.qdb"),
                m.files.content("C:\\hklmchanges.qdb"), m.files.content("C:\\sysChanges.qdb")};
    }
    void uninstall(std::size_t messagesAfterConfirmation, MsgAnswer confirmation = MsgAnswer::Yes) {
        m.prompter.answer(confirmation);
        for (std::size_t i = 0; i < messagesAfterConfirmation; ++i) m.prompter.answer(MsgAnswer::Ok);
        fakes::PromptedPreview preview(m.prompter);
        uninstallFromDataFile(context, preview, List, false);
    }
};

TEST(ReviewRemoval, OnlySharedDllsAreAskedAboutAndAnythingButAButtonIsSkip) {
    Bench b;
    b.shared("c:\\apps\\a.dll");  // the path is compared without case
    b.shared("C:\\Apps\\one.dll", 1);
    b.shared("C:\\Apps\\b.OCX", 12);
    b.shared("C:\\Apps\\c.dll");
    b.shared("C:\\Windows\\System\\comctl32.ocx", 5);  // a runtime the system keeps
    const Lines candidates = {"C:\\Apps\\a.dll", "C:\\Apps\\one.dll", "C:\\Apps\\b.OCX", "C:\\Apps\\c.dll",
                              "C:\\Windows\\System\\comctl32.ocx"};
    ScriptedInUse answers({InUseAnswer::Skip, InUseAnswer::Delete, InUseAnswer::Skip});
    EXPECT_EQ(chooseDeletions(b.m.registry, answers, candidates),
              (Lines{"C:\\Apps\\one.dll", "C:\\Apps\\b.OCX", "C:\\Windows\\System\\comctl32.ocx"}));
    EXPECT_EQ(answers.asked, (Lines{"C:\\Apps\\a.dll", "C:\\Apps\\b.OCX", "C:\\Apps\\c.dll"}));
    ScriptedInUse all({InUseAnswer::DeleteAll});
    EXPECT_EQ(chooseDeletions(b.m.registry, all, candidates), candidates);

    const std::pair<std::intptr_t, InUseAnswer> endCodes[] = {
        {InUseEndCode::Delete, InUseAnswer::Delete}, {InUseEndCode::DeleteAll, InUseAnswer::DeleteAll},
        {InUseEndCode::Skip, InUseAnswer::Skip}, {2 /* the close box */, InUseAnswer::Skip}, {-1, InUseAnswer::Skip}};
    for (const auto& [code, answer] : endCodes) EXPECT_EQ(inUseAnswerFor(code), answer) << code;
}

TEST(ReviewRemoval, DeleteRemovesWhatItMayRewritesSelectedLinesAndKeepsTheRowsOfWhatStays) {
    Bench b({InUseAnswer::Skip, InUseAnswer::Delete});
    b.rows({"C:\\Apps\\1.txt", "C:\\Apps\\2.txt", "C:\\Apps\\gone.txt", "C:\\Apps\\shared.dll", "C:\\Apps\\other.dll",
            "C:\\Apps\\held.txt"});
    b.rows({"C:\\Apps\\?.txt", "C:\\Windows", "C:\\", "Apps\\1.txt"}, false);
    ASSERT_EQ(b.m.files.deleteFile("C:\\Apps\\gone.txt"), Status::Ok);  // vanished meanwhile
    b.shared("C:\\Apps\\shared.dll");
    b.shared("C:\\Apps\\other.dll", 2);
    b.m.files.holdOpen("C:\\Apps\\held.txt");
    b.m.desktop.setNtFamily(false);  // no restart scheduling: the failure stays a failure
    b.m.files.addFile(WinIni, crlfText({"[windows]", "load=new.exe", "run="}));
    b.m.files.addFile("C:\\config.sys", crlfText({"FILES=40", "DEVICE=new.sys"}));
    b.changes.lines = {{{{"load=new.exe", "load="}, {"run=", " "}, {"other=1", " "}}, {LineRow::placeholder()}, {},
                        {{"DEVICE=new.sys", " "}}}};
    for (const char* key : {"Software\\New\\Sub\\Deeper", "TopLevel"}) b.m.registry.createKey(Hive::CurrentUser, key);
    b.m.registry.createKey(Hive::LocalMachine, "Software\\Locked");
    b.m.registry.failDeleteTree(Hive::LocalMachine, "Software\\Locked");
    b.changes.keys = {{"Sub", "HKEY_CURRENT_USER\\Software\\New\\"}, {"Locked", "HKEY_LOCAL_MACHINE\\Software\\"},
                      {"Other", "HKEY_CURRENT_USER\\Software\\"}, {"TopLevel", "HKEY_CURRENT_USER\\"}};
    Selection selection;
    selection.files = {1, 3, 4, 5, 6, 7, 8, 9};
    selection.lines = {{{2, 0}, {0}, {}, {0}}};
    selection.keys = {0, 1, 3};
    b.m.prompter.answer(MsgAnswer::Ok);
    b.m.prompter.answer(MsgAnswer::Ok);

    deleteSelected(b.context, b.changes, selection, true);  // Shift does not make it permanent

    EXPECT_EQ(b.filePaths(), (Lines{"C:\\Apps\\1.txt", "C:\\Apps\\shared.dll", "C:\\Apps\\held.txt", "C:\\Apps\\?.txt",
                                    "C:\\Windows", "C:\\", "Apps\\1.txt"}));
    ASSERT_EQ(b.m.shell.operations().size(), 1u);
    EXPECT_EQ(b.m.shell.operations()[0].from, (Lines{"C:\\Apps\\2.txt", "C:\\Apps\\other.dll", "C:\\Apps\\held.txt"}));
    EXPECT_EQ(b.m.files.content(WinIni), crlfText({"[windows]", "load=", "run="}));
    EXPECT_EQ(b.m.files.content("C:\\config.sys"), crlfText({"FILES=40"}));
    for (std::size_t i = 0; i < ConfigListCount; ++i)  // the unselected row stays; a placeholder is no line to remove
        EXPECT_EQ(b.changes.lines[i].size(), i < 2 ? 1u : 0u) << i;
    EXPECT_FALSE(b.m.registry.keyExists(Hive::CurrentUser, "Software\\New\\Sub"));
    EXPECT_TRUE(b.m.registry.keyExists(Hive::CurrentUser, "TopLevel")) << "a key right below the hive never goes";
    ASSERT_EQ(b.changes.keys.size(), 3u);
    EXPECT_EQ(b.changes.keys[0].name, "Locked");
    EXPECT_EQ(b.messages(), (Lines{"Error deleting key Software\\Locked. Administrative privileges required",
                                   "These items were not removed, because removing them is not safe:\r\n    "
                                   "C:\\Apps\\?.txt\r\n    C:\\Windows\r\n    C:\\\r\n    Apps\\1.txt\r\n    "
                                   "HKEY_CURRENT_USER\\TopLevel"}));
}

TEST(ReviewRemoval, MoveGoesOnlyWhereTheUserChose) {
    Bench b;
    b.rows({"C:\\Apps\\a.txt", "C:\\Apps\\b.dll", "C:\\Apps\\c.txt"});
    b.rows({"C:\\Apps\\?.txt"}, false);
    b.shared("C:\\Apps\\b.dll");  // no DLL question when moving
    b.m.files.addFolder("C:\\Kept");
    for (const char* folder : {"", "C:\\Kept"}) b.m.prompter.answerFolder(folder);  // cancelled first
    b.m.prompter.answer(MsgAnswer::Ok);  // the "?" row is refused
    Selection selection;
    selection.files = {0, 1, 3};
    moveSelected(b.context, b.changes, selection);
    EXPECT_EQ(b.changes.files.size(), 4u);
    moveSelected(b.context, b.changes, selection);

    EXPECT_EQ(b.m.files.childNames("C:\\Kept"), (Lines{"a.txt", "b.dll"}));
    EXPECT_EQ(b.filePaths(), (Lines{"C:\\Apps\\c.txt", "C:\\Apps\\?.txt"}));
}

TEST(ReviewRemoval, AnAddedLineGivesWayToTheLineItReplacedOrTheFileStaysAsItWas) {
    const std::string original = "[windows]\nload=new.exe\rrun=\r\nLOAD=new.exe\r\nload=new.exe";  // any line ends
    using Stage = std::function<void(fakes::FakeFileSystem&)>;
    struct Row { const char* what; const char* added; const char* replaced; Stage stage; std::optional<Lines> after; };
    const Row rows[] = {
        {"every place", "load=new.exe", "load=", {}, Lines{"[windows]", "load=", "run=", "LOAD=new.exe", "load="}},
        {"no replaced line: dropped", "load=new.exe", " ", {}, Lines{"[windows]", "run=", "LOAD=new.exe"}},
        {"case counts", "LOAD=new.exe", " ", {}, Lines{"[windows]", "load=new.exe", "run=", "load=new.exe"}},
        {"not there", "missing=1", "x", {}, Lines{"[windows]", "load=new.exe", "run=", "LOAD=new.exe", "load=new.exe"}},
        {"writes of the work file fail", "load=new.exe", " ", [](auto& f) { f.failWritesUnder("C:\\tempSys.qdb"); }, {}},
        {"the replacement fails", "load=new.exe", " ", [](auto& f) { f.failMovesTo(WinIni); }, {}},
        {"the file is held open", "load=new.exe", " ", [](auto& f) { f.holdOpen(WinIni); }, {}},
    };
    for (const Row& r : rows) {
        fakes::FakeMachine m;
        m.files.addFile(WinIni, original, FileAttr::ReadOnly);
        if (r.after) m.files.addFile("C:\\tempSys.qdb", "a hidden leftover", FileAttr::Hidden);
        if (r.stage) r.stage(m.files);
        EXPECT_EQ(removeAddedLine(m.files, "C:\\", WinIni, r.added, r.replaced) == Status::Ok, r.after.has_value())
            << r.what;
        m.files.release(WinIni);
        EXPECT_EQ(m.files.content(WinIni), r.after ? crlfText(*r.after) : original) << r.what;
        EXPECT_EQ(m.files.attributes(WinIni), FileAttr::ReadOnly) << r.what;
        EXPECT_FALSE(m.files.exists("C:\\tempSys.qdb")) << r.what;
    }
}

TEST(ReviewRemoval, SaveWritesTheSelectedRowsInTheOrderShown) {
    Bench b;
    b.changes.files = {{"app.exe", "C:\\Apps\\New\\", "", ""}, {"Data", "C:\\Apps\\New\\", "", ""}};
    b.changes.keys = {{"NewApp", "HKEY_LOCAL_MACHINE\\Software\\"}, {"Run", "HKEY_CURRENT_USER\\Software\\NewApp\\"}};
    b.changes.lines = {{{{"run=app.exe", "run="}, {"load=x.exe", " "}}, {{"Scanning Nothing", " "}}, {},
                        {LineRow::placeholder()}}};
    b.m.registry.setString(Hive::CurrentUser, settings::GeneralKey, settings::general::OpenSavePath, "C:\\Old");
    Selection all;
    all.files = {1, 0};  // sorted by the user
    all.keys = {1, 0};
    all.lines = {{{0}, {0}, {}, {0}}};  // a selected placeholder is saved as it is
    b.m.prompter.answer(MsgAnswer::Ok);
    for (const Text& path : {Text(List), Text()}) b.m.prompter.answerSaveFile(path);

    EXPECT_EQ(saveSelected(b.save, b.changes, Selection{}).outcome, SaveOutcome::NothingSelected);
    EXPECT_EQ(b.messages(), Lines{"No files or system changes selected. Select a file or a system change and then click "
                                  "on Save selected."});
    EXPECT_EQ(saveSelected(b.save, b.changes, all).entries, 7u);
    const std::string saved = listText({"C:\\Apps\\New\\Data", "C:\\Apps\\New\\app.exe"},
                                       {"HKEY_CURRENT_USER\\Software\\NewApp\\Run",
                                        "HKEY_LOCAL_MACHINE\\Software\\NewApp"},
                                       {Lines{"run=app.exe" + S + "run=" + S}, Lines{"Scanning Nothing" + S + " " + S},
                                        Lines{}, Lines{"Scanning not enabled." + S + S}});
    EXPECT_EQ(b.m.files.content(List), saved);
    EXPECT_EQ(saveSelected(b.save, b.changes, all).outcome, SaveOutcome::Cancelled);
    b.m.files.failWritesUnder("C:\\L");
    b.m.prompter.answerSaveFile(List);
    all.files = {0};
    EXPECT_EQ(saveSelected(b.save, b.changes, all).outcome, SaveOutcome::NotWritten);
    EXPECT_EQ(b.m.files.content(List), saved) << "a failed save leaves the old list";
    EXPECT_EQ(b.general(settings::general::SavedForDeletion), List + S) << "and is not recorded again";
    ASSERT_EQ(b.m.prompter.fileRequests().size(), 3u);
    EXPECT_EQ(b.m.prompter.fileRequests()[0].initialFolder, "C:\\Old");
    EXPECT_EQ(b.m.prompter.fileRequests()[1].initialFolder, "C:\\L") << "the folder of the last save";
}

TEST(ReviewRemoval, ConvertGivesTheChangesFilesOfAListLineForLine) {
    Bench b;
    b.m.files.addFolder("C:\\Apps\\Data", FileAttr::Directory | FileAttr::Hidden);
    for (const char* name : {"changes.qdb", "hkcuchanges.qdb", "hklmchanges.qdb", "sysChanges.qdb"})
        b.m.files.addFile(std::string("C:\\") + name, "left from an earlier run\r\n");
    b.m.files.addFile(List, listText({"C:\\Apps\\app.exe", "", "C:\\Apps\\Data", "C:\\Gone\\z.dll"},
                                     {"HKEY_LOCAL_MACHINE\\Software\\HKEY_CURRENT", "hkey_current_user\\Software\\Lower",
                                      "HKEY_CLASSES_ROOT\\.qdf", "HKEY_USERS\\.DEFAULT\\X", "HKEY_LOCAL_MACHINE\\"},
                                     {Lines{"no separator", "a=1" + S + "a=0" + S + "extra" + S, "b=1" + S + " " + S}}));
    EXPECT_TRUE(convertRemovalList(b.m.files, b.m.run, List, "C:\\"));
    EXPECT_EQ(b.changesFiles(),
              (Files{crlfText({"C:\\Apps\\{", "app.exe", "}", "!C:\\Apps\\Data\\{", "}", "C:\\Gone\\{", "z.dll", "}"}),
                     crlfText({"Software\\Lower"}), crlfText({"Software\\HKEY_CURRENT"}),
                     crlfText({"Win.ini{", "a=1" + S + "b=1" + S, "a=0" + S + " " + S, "}", "System.ini{", "", "", "}",
                               "Autoexec.bat{", "", "", "}", "Config.sys{", "", "", "}"})}));

    b.m.files.failWritesUnder("C:\\hklmchanges.qdb");
    EXPECT_FALSE(convertRemovalList(b.m.files, b.m.run, List, "C:\\")) << "a changes file not written completely";
}

TEST(ReviewRemoval, WriteBackDeletesAnEmptiedListAndKeepsOneItCannotRewrite) {
    Bench b;
    b.m.files.addFile(List, "the reviewed list\r\n");
    ChangeSet rows;
    rows.files = {{"a.txt", "C:\\A\\", "", ""}};
    EXPECT_TRUE(writeBackRemovalList(b.m.files, "", rows).written) << "no list under review";
    b.m.files.failWritesUnder("C:\\L");
    const WriteResult unwritten = writeBackRemovalList(b.m.files, List, rows);
    EXPECT_EQ(unwritten.entries, 1u);
    EXPECT_FALSE(unwritten.written);
    EXPECT_EQ(b.m.files.childNames("C:\\L"), Lines{"NewApp.qdf"});
    EXPECT_EQ(b.m.files.content(List), "the reviewed list\r\n");
    rows.files.clear();
    rows.keys = {KeyRow::placeholder()};
    for (auto& list : rows.lines) list = {LineRow::placeholder()};
    EXPECT_TRUE(writeBackRemovalList(b.m.files, List, rows).written) << "placeholders only";
    EXPECT_FALSE(b.m.files.exists(List));
}

// What the viewer cannot show stays in the list: an item absent at the load (on a drive not
// mounted, a key deleted), an entry the conversion cannot use. A row the user took out goes.
TEST(ReviewRemoval, AReviewedListKeepsEveryEntryTheViewerCouldNotShowOrCheck) {
    Bench b;
    b.m.registry.setString(Hive::CurrentUser, settings::ScanningKey, settings::scanning::RegScan, "1");
    b.m.files.addFile("C:\\Apps\\app.exe", "x");
    b.m.files.addFile("C:\\Apps\\taken.dll", "x");
    b.m.files.addFolder("C:\\Apps\\Data");
    b.m.registry.createKey(Hive::CurrentUser, "Software\\NewApp");
    const Lines keys = {"HKEY_CURRENT_USER\\Software\\NewApp", "HKEY_LOCAL_MACHINE\\Software\\Deleted",
                        "HKEY_USERS\\.DEFAULT\\X"};
    const Lines lines = {"load=app.exe" + S + " " + S, "no separator"};
    b.m.files.addFile(List,
                      listText({"C:\\Apps\\app.exe", "C:\\Apps\\taken.dll", "Q:\\Apps\\Tool", "C:\\Apps\\Data"}, keys, {lines}));
    b.m.files.setLastWrite(List, DateTime{2025, 3, 4, 15, 6, 7});
    b.m.prompter.answerOpenFile(std::nullopt);
    b.m.prompter.answerOpenFile(List);
    EXPECT_FALSE(openRemovalListForReview(b.review, "C:\\").has_value());
    EXPECT_EQ(b.changesFiles(), Files{}) << "a cancelled dialog converts nothing";
    const auto reviewed = openRemovalListForReview(b.review, "C:\\");
    ASSERT_TRUE(reviewed.has_value());
    EXPECT_EQ(reviewed->fileName + " " + reviewed->fileDate, "NewApp.qdf 3/4/2025 3:06:07 PM");
    ASSERT_EQ(b.m.files.removeFolder("C:\\Apps\\Data"), Status::Ok);  // gone before the viewer looked
    LoadPorts load{b.m.files, b.m.registry, b.m.shell, b.m.run};
    ChangeSet shown = loadChanges(load, "C:\\");
    ASSERT_EQ(shown.files.size(), 2u);
    ASSERT_EQ(shown.keys.size(), 1u);
    EXPECT_EQ(shown.keys[0].parent + shown.keys[0].name, "HKEY_CURRENT_USER\\Software\\NewApp");
    shown.files.pop_back();  // the user deleted taken.dll
    EXPECT_TRUE(writeBackRemovalList(b.m.files, reviewed->path, shown, reviewed->keptAside).written);
    EXPECT_EQ(b.m.files.content(List),
              listText({"C:\\Apps\\app.exe", "Q:\\Apps\\Tool", "C:\\Apps\\Data"}, keys, {lines}));
}

TEST(ReviewRemoval, AListThatCannotBeReadOrConvertedIsNotShownAndTheUserHearsWhy) {
    struct Case { void (*stage)(fakes::FakeFileSystem&); const char* said; };
    const Case cases[] = {
        {[](fakes::FakeFileSystem& f) { f.failReadsUnder(List); }, "read C:\\L\\NewApp.qdf: access was denied"},
        {[](fakes::FakeFileSystem& f) { f.failWritesUnder("C:\\changes.qdb"); }, "write C:\\changes.qdb: the disk is full"},
    };
    for (const Case& c : cases) {
        Bench b;
        b.m.files.addFile(List, listText({"C:\\a.txt"}, {"HKEY_CURRENT_USER\\Software\\A"}));
        c.stage(b.m.files);
        b.m.prompter.answerOpenFile(List);
        b.m.prompter.answer(MsgAnswer::Ok);
        EXPECT_FALSE(openRemovalListForReview(b.review, "C:\\").has_value()) << c.said;
        EXPECT_EQ(b.messages(), Lines{"Quillon could not " + std::string(c.said) +
                                      ". The removal list was not opened and is unchanged."});
        EXPECT_EQ(b.changesFiles(), Files{}) << c.said;
    }
}

TEST(ReviewRemoval, UninstallRemovesWhatTheListNamesButNeverWhatIsNotSafe) {
    Bench b({InUseAnswer::Delete});
    for (const char* file : {"C:\\Apps\\a.txt", "C:\\Apps\\other.txt", "C:\\Apps\\Tree\\b.dll", "C:\\Windows\\win.com"})
        b.m.files.addFile(file, "x");
    b.shared("C:\\Apps\\Tree\\b.dll");
    b.m.files.addFile(WinIni, crlfText({"[windows]", "load=new.exe", "device=x"}));
    for (const char* key : {"Software\\NewApp\\Sub", "Software\\Other"}) b.m.registry.createKey(Hive::CurrentUser, key);
    for (const char* key : {"Software\\NewApp", "Software\\Microsoft"}) b.m.registry.createKey(Hive::LocalMachine, key);
    b.m.registry.setString(Hive::CurrentUser, settings::GeneralKey, settings::general::SavedForDeletion,
                           List + ".bak" + S + "c:\\l\\NEWAPP.QDF" + S);  // whole entries only, in any case
    const Lines badFiles = {"C:\\Apps\\?.txt", "C:\\Apps\\*", "C:\\", "c:\\windows\\", "C:\\Windows\\System32",
                            "C:\\Program Files", "Apps\\other.txt", "C:\\Apps\\..\\Windows"};
    const Lines badKeys = {"HKEY_LOCAL_MACHINE\\Software", "HKEY_LOCAL_MACHINE\\", "HKEY_CURRENT_USER\\System\\",
                           "HKEY_CLASSES_ROOT\\Software\\Microsoft", "HKEY_CURRENT_USERS\\Software\\Other"};
    b.m.files.addFile(Deep + "\\file.txt", "x");  // the user keeps it, and so does the list
    Lines files = badFiles, keys = badKeys;
    files.insert(files.end(), {"C:\\Apps\\a.txt", "C:\\Apps\\gone.txt", "C:\\Apps\\Tree\\b.dll", Deep});
    keys.insert(keys.end(), {"HKEY_CURRENT_USER\\Software\\NewApp", "HKEY_LOCAL_MACHINE\\Software\\NewApp\\",
                             "HKEY_LOCAL_MACHINE\\Software\\Gone"});
    b.m.files.addFile(List, listText(files, keys, {Lines{"load=new.exe" + S + "load=" + S, "device=x" + S + " " + S}}));
    b.uninstall(2);

    ASSERT_EQ(b.m.shell.operations().size(), 1u);
    EXPECT_EQ(b.m.shell.operations()[0].from, (Lines{"C:\\Apps\\a.txt", "C:\\Apps\\Tree\\b.dll"}));
    EXPECT_EQ(b.m.shell.operations()[0].flags & 0x51u, 0x51u) << "many files, no questions, to the Recycle Bin";
    for (const char* kept : {"C:\\Apps\\other.txt", "C:\\Windows\\win.com"}) EXPECT_TRUE(b.m.files.exists(kept)) << kept;
    EXPECT_FALSE(b.m.registry.keyExists(Hive::CurrentUser, "Software\\NewApp"));
    EXPECT_FALSE(b.m.registry.keyExists(Hive::LocalMachine, "Software\\NewApp"));
    EXPECT_TRUE(b.m.registry.keyExists(Hive::CurrentUser, "Software\\Other"));
    EXPECT_TRUE(b.m.registry.keyExists(Hive::LocalMachine, "Software\\Microsoft")) << "another hive is not HKLM";
    EXPECT_EQ(b.m.files.content(WinIni), crlfText({"[windows]", "load="}));
    const std::string left = b.m.files.content(List).value_or("");
    Lines leftFiles = badFiles;
    leftFiles.push_back(Deep);
    EXPECT_EQ(left.substr(0, left.find("Kept{")), listText(leftFiles, badKeys));
    EXPECT_EQ(std::count(left.begin(), left.end(), settings::ListSeparator), 13) << "a reason for each entry kept";
    EXPECT_EQ(b.messages(), (Lines{Confirm, DeepQuestion, SeeTheList + std::string(KeptOnPurpose)}));
    EXPECT_EQ(b.general(settings::general::SavedForDeletion), List + ".bak" + S);
}

// The list gives way to what could not go; a No, a cancel in the shell's question or a file that
// is no removal list keeps the list as it was and everything it names.
TEST(ReviewRemoval, UninstallLeavesWhatCouldNotGoInTheListsPlace) {
    const std::string lockedKey = "HKEY_LOCAL_MACHINE\\Software\\Locked";
    const std::string keyError = "Error deleting key Software\\Locked. Administrative privileges required";
    const std::string inUse = "Uninstall completed. Some files could not be removed because they may be in use. ";
    const std::string invalid = "This is not a valid Quillon data file. The file may be corrupted.";
    const Text unchanged = "(the list as it was)";
    struct Case {
        const char* what; bool yes, cancel, nt, held, locked, unwritable; Lines messages; Text after;
        Text list = std::nullopt;  // instead of the list of free.txt, held.txt and the keys
    };
    const Case cases[] = {
        {"the user says No", false, false, true, false, true, false, {}, unchanged},
        {"cancelled in the shell's question", true, true, true, false, false, false,
         {"The uninstall of NewApp was cancelled. The removal list was kept; what was not removed is still named in it."},
         unchanged},
        {"no removal list", true, false, true, false, false, false, {invalid}, unchanged, crlfText({"[settings]", "Files{"})},
        {"an empty file", true, false, true, false, false, false, {invalid}, unchanged, ""},
        {"everything goes", true, false, true, false, false, false, {"NewApp has been uninstalled."}, std::nullopt},
        {"a key that cannot go", true, false, true, false, true, false, {keyError, SeeTheList}, listText({}, {lockedKey})},
        {"a file in use on the NT family waits for the restart", true, false, true, true, false, false,
         {inUse + "These files will be deleted when you restart your computer."}, std::nullopt},
        {"a file in use elsewhere", true, false, false, true, false, false,
         {inUse + "You should manually remove items related to the application. See the *.qdf file for items that "
                  "could not be removed."},
         listText({"C:\\Apps\\held.txt"}, {})},
        {"a folder too deep the user keeps", true, false, true, false, false, false,
         {DeepQuestion, SeeTheList + std::string(KeptOnPurpose)},
         listText({Deep}, {}), listText({"C:\\Apps\\free.txt", Deep}, {"HKEY_CURRENT_USER\\Software\\NewApp"})},
        {"the failed items cannot be written", true, false, true, false, true, true, {keyError, SeeTheList},
         listText({"C:\\Apps\\free.txt", "C:\\Apps\\held.txt"}, {"HKEY_CURRENT_USER\\Software\\NewApp", lockedKey})},
    };
    for (const Case& c : cases) {
        Bench b;
        b.m.desktop.setNtFamily(c.nt);
        b.m.files.addFile("C:\\Apps\\free.txt", "f");
        b.m.files.addFile("C:\\Apps\\held.txt", "h");
        b.m.files.addFile(Deep + "\\file.txt", "d");
        if (c.held) b.m.files.holdOpen("C:\\Apps\\held.txt");
        b.m.registry.createKey(Hive::CurrentUser, "Software\\NewApp");
        b.m.registry.createKey(Hive::LocalMachine, "Software\\Locked");
        b.m.registry.failDeleteTree(Hive::LocalMachine, "Software\\Locked");
        Lines keys{"HKEY_CURRENT_USER\\Software\\NewApp"};
        if (c.locked) keys.push_back(lockedKey);
        const std::string text = c.list.value_or(listText({"C:\\Apps\\free.txt", "C:\\Apps\\held.txt"}, keys));
        b.m.files.addFile(List, text);
        if (c.unwritable) b.m.files.failWritesUnder(FailedList);
        if (c.cancel) b.m.shell.cancelNextOperation();
        const bool unread = c.messages == Lines{invalid};  // refused before the question
        b.uninstall(c.messages.size() - unread, c.yes ? MsgAnswer::Yes : MsgAnswer::No);

        Lines expected{unread ? 0u : 1u, Confirm};
        expected.insert(expected.end(), c.messages.begin(), c.messages.end());
        EXPECT_EQ(b.messages(), expected) << c.what;
        EXPECT_EQ(b.m.files.content(List), c.after == unchanged ? text : c.after) << c.what;
        EXPECT_FALSE(b.m.files.exists(FailedList)) << c.what;
        const bool kept = c.after == unchanged;
        EXPECT_EQ(b.m.files.exists("C:\\Apps\\free.txt"), kept) << c.what;
        EXPECT_EQ(b.m.registry.keyExists(Hive::CurrentUser, "Software\\NewApp"), kept) << c.what;
    }
}

}  // namespace
}  // namespace quillon::review
