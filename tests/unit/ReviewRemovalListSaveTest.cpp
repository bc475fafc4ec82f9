#include <gtest/gtest.h>

#include "review/SaveSelected.h"
#include "shell/Settings.h"
#include "support/FakeMachine.h"
#include "support/TextLines.h"

namespace quillon::review {
namespace {

constexpr char Sep = settings::ListSeparator;
const std::string ListPath = R"(C:\Lists\NewApp.qdf)";

std::string entry(std::string_view added, std::string_view replaced) {
    return std::string(added) + Sep + std::string(replaced) + Sep;
}

class ReviewRemovalListSave : public ::testing::Test {
protected:
    fakes::FakeMachine m;
    SavePorts ports{m.registry, m.files, m.prompter};
    ChangeSet changes;

    void SetUp() override {
        m.files.addFolder(R"(C:\Lists)");
        changes.files = {{"app.exe", R"(C:\Apps\New\)", "1KB", "Application"},
                         {"Data", R"(C:\Apps\New\)", "3KB", "Folder", 3072, -1, true}};
        changes.keys = {{"NewApp", R"(HKEY_LOCAL_MACHINE\Software\)"}, {"Run", R"(HKEY_CURRENT_USER\Software\NewApp\)"}};
        changes.linesOf(ConfigList::WinIni) = {{R"(run=C:\NEWAPP\APP.EXE)", "run="}, {"load=x.exe", " "}};
        changes.linesOf(ConfigList::SystemIni) = {{"Scanning Nothing", " "}};
        changes.linesOf(ConfigList::AutoexecBat) = {{R"(SET NEWAPP=C:\NEWAPP)", " "}};
        changes.linesOf(ConfigList::ConfigSys) = {{std::string(NotScanned), ""}};
    }
    std::optional<std::string> general(std::string_view name) const {
        return m.registry.stringValue(Hive::CurrentUser, settings::GeneralKey, name);
    }
};

TEST_F(ReviewRemovalListSave, OnlyAWinIniRowGivesAllSixSectionsAndOneEntry) {
    m.registry.setString(Hive::CurrentUser, settings::GeneralKey, settings::general::OpenSavePath, R"(C:\Old)");
    Selection selection;
    selection.lines[0] = {1};  // an added line that replaced nothing
    m.prompter.answerSaveFile(ListPath);

    const SaveResult result = saveSelected(ports, changes, selection);

    EXPECT_EQ(result.outcome, SaveOutcome::Saved);
    EXPECT_EQ(result.entries, 1u);
    EXPECT_EQ(m.files.content(ListPath),
              fakes::crlfText({"Files{", "}", "Registry{", "}", "Win.ini{", "load=x.exe" + std::string{Sep, ' ', Sep}, "}",
                               "System.ini{", "}", "Autoexec.bat{", "}", "Config.sys{", "}"}));
    ASSERT_EQ(m.prompter.fileRequests().size(), 1u);
    const FileDialogRequest& asked = m.prompter.fileRequests()[0];
    EXPECT_EQ(asked.initialFolder, R"(C:\Old)");
    EXPECT_EQ(asked.filter, "Quillon data files (*.qdf)|*.qdf");
    EXPECT_EQ(general(settings::general::OpenSavePath), R"(C:\Lists)");
    EXPECT_EQ(general(settings::general::SavedForDeletion), ListPath + Sep);
    EXPECT_FALSE(m.files.exists(ListPath + ".tmp"));
}

TEST_F(ReviewRemovalListSave, RowsAreWrittenInTheOrderShownWithEachSectionsText) {
    Selection selection;
    selection.files = {1, 0};  // sorted by the user
    selection.keys = {1, 0};
    selection.lines[0] = {0};
    selection.lines[1] = {0};
    selection.lines[2] = {0};
    selection.lines[3] = {0};  // a selected placeholder is saved as it is
    m.prompter.answerSaveFile(ListPath);

    const SaveResult result = saveSelected(ports, changes, selection);

    EXPECT_EQ(result.outcome, SaveOutcome::Saved);
    EXPECT_EQ(result.entries, 8u);
    EXPECT_EQ(m.files.content(ListPath),
              fakes::crlfText({"Files{", R"(C:\Apps\New\Data)", R"(C:\Apps\New\app.exe)", "}",
                               "Registry{", R"(HKEY_CURRENT_USER\Software\NewApp\Run)", R"(HKEY_LOCAL_MACHINE\Software\NewApp)", "}",
                               "Win.ini{", entry(R"(run=C:\NEWAPP\APP.EXE)", "run="), "}",
                               "System.ini{", entry("Scanning Nothing", " "), "}",
                               "Autoexec.bat{", entry(R"(SET NEWAPP=C:\NEWAPP)", " "), "}",
                               "Config.sys{", entry(NotScanned, ""), "}"}));
}

TEST_F(ReviewRemovalListSave, SavingTwiceRecordsThePathTwiceAndReplacesTheFile) {
    Selection first;
    first.keys = {0};
    Selection second;
    second.files = {0};
    m.prompter.answerSaveFile(ListPath);
    m.prompter.answerSaveFile(ListPath);

    EXPECT_EQ(saveSelected(ports, changes, first).outcome, SaveOutcome::Saved);
    EXPECT_EQ(saveSelected(ports, changes, second).outcome, SaveOutcome::Saved);

    EXPECT_EQ(general(settings::general::SavedForDeletion), ListPath + Sep + ListPath + Sep);
    EXPECT_EQ(m.prompter.fileRequests().at(1).initialFolder, R"(C:\Lists)");
    EXPECT_EQ(m.files.content(ListPath),
              fakes::crlfText({"Files{", R"(C:\Apps\New\app.exe)", "}", "Registry{", "}", "Win.ini{", "}",
                               "System.ini{", "}", "Autoexec.bat{", "}", "Config.sys{", "}"}));
}

TEST_F(ReviewRemovalListSave, NothingSelectedIsRefusedWithTheSharedWording) {
    m.prompter.answer(MsgAnswer::Ok);
    const SaveResult result = saveSelected(ports, changes, Selection{});

    EXPECT_EQ(result.outcome, SaveOutcome::NothingSelected);
    ASSERT_EQ(m.prompter.messages().size(), 1u);
    const MessageRequest& shown = m.prompter.messages()[0];
    EXPECT_EQ(shown.title, "Error saving files");
    EXPECT_EQ(shown.text,
              "No files or system changes selected. Select a file or a system change and then click on Save selected.");
    EXPECT_EQ(shown.icon, MsgIcon::Exclamation);
    EXPECT_EQ(shown.buttons, MsgButtons::Ok);
    EXPECT_TRUE(m.prompter.fileRequests().empty());
    EXPECT_TRUE(m.registry.writeLog().empty());
    EXPECT_TRUE(m.files.childNames(R"(C:\Lists)").empty());
}

TEST_F(ReviewRemovalListSave, ACancelledDialogChangesNothing) {
    Selection selection;
    selection.files = {0};
    m.prompter.answerSaveFile(std::nullopt);

    EXPECT_EQ(saveSelected(ports, changes, selection).outcome, SaveOutcome::Cancelled);
    EXPECT_TRUE(m.registry.writeLog().empty());
    EXPECT_TRUE(m.files.childNames(R"(C:\Lists)").empty());
}

TEST_F(ReviewRemovalListSave, AListThatCannotBeWrittenIsReportedAndNotRecorded) {
    struct Case { const char* what; std::string path; bool failWrites; };
    const Case cases[] = {
        {"writes fail", ListPath, true},
        {"folder missing", R"(C:\Nowhere\NewApp.qdf)", false},
    };
    for (const auto& c : cases) {
        fakes::FakeMachine fresh;
        fresh.files.addFile(ListPath, "old list\r\n");
        if (c.failWrites) fresh.files.failWritesUnder(R"(C:\Lists)");
        fresh.prompter.answerSaveFile(c.path);
        SavePorts p{fresh.registry, fresh.files, fresh.prompter};
        Selection selection;
        selection.files = {0};

        const SaveResult result = saveSelected(p, changes, selection);

        EXPECT_EQ(result.outcome, SaveOutcome::NotWritten) << c.what;
        EXPECT_EQ(fresh.files.content(ListPath), "old list\r\n") << c.what;
        EXPECT_EQ(fresh.files.childNames(R"(C:\Lists)"), std::vector<std::string>{"NewApp.qdf"}) << c.what;
        EXPECT_EQ(fresh.registry.stringValue(Hive::CurrentUser, settings::GeneralKey, settings::general::SavedForDeletion),
                  std::nullopt) << c.what;
    }
}

}  // namespace
}  // namespace quillon::review
