#include <gtest/gtest.h>

#include "review/ConvertRemovalList.h"
#include "review/LoadChanges.h"
#include "review/WriteBackRemovalList.h"
#include "shell/Settings.h"
#include "support/FakeMachine.h"
#include "support/TextLines.h"

namespace quillon::review {
namespace {

const std::string S(1, settings::ListSeparator);
const std::string ListPath = R"(C:\Lists\NewApp.qdf)";

FileRow fileRow(std::string name, std::string folder) {
    FileRow row;
    row.name = std::move(name);
    row.folder = std::move(folder);
    return row;
}

class ReviewRemovalListWriteBack : public ::testing::Test {
protected:
    fakes::FakeMachine m;

    void SetUp() override { m.files.addFile(ListPath, "the reviewed list\r\n"); }
};

TEST_F(ReviewRemovalListWriteBack, EveryRowIsWrittenLessPlaceholdersAndScanningNotRows) {
    ChangeSet changes;
    changes.files = {fileRow("Scanning not here.txt", R"(C:\A\)")};  // the files list has no placeholders
    changes.keys = {{std::string(NotScanned), ""}, {"SCANNING NOTES", R"(HKEY_CURRENT_USER\Software\)"},
                    {"Kept", R"(HKEY_CURRENT_USER\Software\)"}};
    changes.linesOf(ConfigList::WinIni) = {{std::string(NotScanned), ""}};
    changes.linesOf(ConfigList::SystemIni) = {{"Scanning Nothing", " "}, {"device=x.386", " "}};
    changes.linesOf(ConfigList::AutoexecBat) = {{"PATH=C:\\NEW", "PATH=C:\\OLD"}, {"x", "scanning not in first column"}};

    const WriteResult result = writeBackRemovalList(m.files, ListPath, changes);

    EXPECT_TRUE(result.written);
    EXPECT_EQ(result.entries, 5u);
    EXPECT_EQ(m.files.content(ListPath),
              fakes::crlfText({"Files{", R"(C:\A\Scanning not here.txt)", "}",
                               "Registry{", R"(HKEY_CURRENT_USER\Software\Kept)", "}",
                               "Win.ini{", "}",
                               "System.ini{", "device=x.386" + S + " " + S, "}",
                               "Autoexec.bat{", "PATH=C:\\NEW" + S + "PATH=C:\\OLD" + S, "x" + S + "scanning not in first column" + S, "}",
                               "Config.sys{", "}"}));
}

TEST_F(ReviewRemovalListWriteBack, AListWithNothingLeftIsDeleted) {
    ChangeSet onlyPlaceholders;
    onlyPlaceholders.keys = {{std::string(NotScanned), ""}};
    for (auto& list : onlyPlaceholders.lines) list = {{std::string(NotScanned), ""}};
    for (const ChangeSet& changes : {ChangeSet{}, onlyPlaceholders}) {
        m.files.addFile(ListPath, "the reviewed list\r\n");
        const WriteResult result = writeBackRemovalList(m.files, ListPath, changes);
        EXPECT_EQ(result.entries, 0u);
        EXPECT_TRUE(result.written);
        EXPECT_FALSE(m.files.exists(ListPath));
    }
}

TEST_F(ReviewRemovalListWriteBack, WithoutAReviewedListNothingIsTouched) {
    ChangeSet changes;
    changes.files = {fileRow("a.txt", R"(C:\A\)")};
    EXPECT_TRUE(writeBackRemovalList(m.files, "", changes).written);
    EXPECT_EQ(m.files.content(ListPath), "the reviewed list\r\n");
    EXPECT_EQ(m.files.childNames("C:\\Lists"), std::vector<std::string>{"NewApp.qdf"});
}

TEST_F(ReviewRemovalListWriteBack, AListThatCannotBeRewrittenStaysAsItWas) {
    m.files.failWritesUnder(R"(C:\Lists)");
    ChangeSet changes;
    changes.files = {fileRow("a.txt", R"(C:\A\)")};

    const WriteResult result = writeBackRemovalList(m.files, ListPath, changes);

    EXPECT_FALSE(result.written);
    EXPECT_EQ(m.files.content(ListPath), "the reviewed list\r\n");
    EXPECT_EQ(m.files.childNames("C:\\Lists"), std::vector<std::string>{"NewApp.qdf"});
}

// A review closed at once: the list goes through the changes files and the viewer's load and
// comes back as it was.
TEST_F(ReviewRemovalListWriteBack, ConvertLoadAndWriteBackGiveTheSameList) {
    for (const char* name : {"RegScan", "WinIniScan", "SystemIniScan", "AutoexecScan", "ConfigSysScan"})
        m.registry.setString(Hive::CurrentUser, settings::ScanningKey, name, "1");
    m.files.addFile(R"(C:\Program Files\NewApp\app.exe)", "MZ");
    m.files.addFile(R"(C:\Program Files\NewApp\Data\d.dat)", "data");
    m.files.addFile(R"(C:\NEWAPP\Hidden.sys)", "", FileAttr::Hidden | FileAttr::System);
    m.registry.createKey(Hive::LocalMachine, R"(Software\NewApp)");
    m.registry.createKey(Hive::CurrentUser, R"(Software\NewApp\Settings)");
    const std::vector<std::string> list = {
        "Files{", R"(C:\Program Files\NewApp\app.exe)", R"(C:\NEWAPP\Hidden.sys)", R"(C:\Program Files\NewApp\Data)", "}",
        "Registry{", R"(HKEY_CURRENT_USER\Software\NewApp\Settings)", R"(HKEY_LOCAL_MACHINE\Software\NewApp)", "}",
        "Win.ini{", R"(run=C:\NEWAPP\APP.EXE)" + S + "run=" + S, "load=" + S + " " + S, "}",
        "System.ini{", "}",
        "Autoexec.bat{", R"(SET NEWAPP=C:\NEWAPP)" + S + " " + S, "}",
        "Config.sys{", "DEVICE=C:\\NEWAPP\\N.SYS" + S + " " + S, "}"};
    m.files.addFile(ListPath, fakes::crlfText(list));

    ASSERT_TRUE(convertRemovalList(m.files, m.run, ListPath, "C:\\"));
    LoadPorts load{m.files, m.registry, m.shell, m.run};
    const ChangeSet shown = loadChanges(load, "C:\\");
    const WriteResult result = writeBackRemovalList(m.files, ListPath, shown);

    EXPECT_TRUE(result.written);
    EXPECT_EQ(result.entries, 9u);
    EXPECT_EQ(m.files.content(ListPath), fakes::crlfText(list));
}

TEST_F(ReviewRemovalListWriteBack, WhatVanishedSinceTheSaveLeavesTheList) {
    for (const char* name : {"RegScan", "WinIniScan", "SystemIniScan", "AutoexecScan", "ConfigSysScan"})
        m.registry.setString(Hive::CurrentUser, settings::ScanningKey, name, "0");
    m.registry.createKey(Hive::CurrentUser, R"(Software\A)");
    m.files.addFile(ListPath, fakes::crlfText({"Files{", R"(C:\Gone\a.txt)", "}", "Registry{", R"(HKEY_CURRENT_USER\Software\A)", "}",
                                               "Win.ini{", "}", "System.ini{", "}", "Autoexec.bat{", "}", "Config.sys{", "}"}));

    ASSERT_TRUE(convertRemovalList(m.files, m.run, ListPath, "C:\\"));
    LoadPorts load{m.files, m.registry, m.shell, m.run};
    // With the registry not scanned the viewer shows placeholders only: nothing is left.
    EXPECT_EQ(writeBackRemovalList(m.files, ListPath, loadChanges(load, "C:\\")).entries, 0u);
    EXPECT_FALSE(m.files.exists(ListPath));
}

}  // namespace
}  // namespace quillon::review
