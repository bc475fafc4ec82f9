#include <gtest/gtest.h>

#include "review/ConvertRemovalList.h"
#include "shell/Settings.h"
#include "support/FakeMachine.h"
#include "support/TextLines.h"

namespace quillon::review {
namespace {

constexpr char Sep = settings::ListSeparator;
const std::string S(1, Sep);
const std::string ListPath = R"(C:\Lists\NewApp.qdf)";
const std::string Work = "C:\\";

const std::vector<std::string> WorkedExample = {
    "Files{", R"(C:\Program Files\NewApp\app.exe)", R"(C:\Program Files\NewApp\Data)", "}",
    "Registry{", R"(HKEY_LOCAL_MACHINE\Software\NewApp)", R"(HKEY_CURRENT_USER\Software\NewApp\Settings)", "}",
    "Win.ini{", R"(run=C:\NEWAPP\APP.EXE)" + S + "run=" + S, "}",
    "System.ini{", "}",
    "Autoexec.bat{", R"(SET NEWAPP=C:\NEWAPP)" + S + " " + S, "}",
    "Config.sys{", "}"};

struct ChangesFiles {
    std::optional<std::string> files, hkcu, hklm, config;
};

class ReviewRemovalListConvert : public ::testing::Test {
protected:
    fakes::FakeMachine m;

    bool convert(const std::vector<std::string>& list) {
        m.files.addFile(ListPath, fakes::crlfText(list));
        return convertRemovalList(m.files, m.run, ListPath, Work);
    }
    ChangesFiles written() const {
        return {m.files.content(Work + "changes.qdb"), m.files.content(Work + "hkcuchanges.qdb"),
                m.files.content(Work + "hklmchanges.qdb"), m.files.content(Work + "sysChanges.qdb")};
    }
};

TEST_F(ReviewRemovalListConvert, TheWorkedExampleLineForLine) {
    m.files.addFolder(R"(C:\Program Files\NewApp\Data)");
    m.files.addFile(R"(C:\Program Files\NewApp\app.exe)", "MZ");

    EXPECT_TRUE(convert(WorkedExample));

    const ChangesFiles out = written();
    EXPECT_EQ(out.files, fakes::crlfText({R"(C:\Program Files\NewApp\{)", "app.exe", "}",
                                          R"(!C:\Program Files\NewApp\Data\{)", "}"}));
    EXPECT_EQ(out.hkcu, fakes::crlfText({R"(Software\NewApp\Settings)"}));
    EXPECT_EQ(out.hklm, fakes::crlfText({R"(Software\NewApp)"}));
    EXPECT_EQ(out.config, fakes::crlfText({"Win.ini{", R"(run=C:\NEWAPP\APP.EXE)" + S, "run=" + S, "}",
                                           "System.ini{", "", "", "}",
                                           "Autoexec.bat{", R"(SET NEWAPP=C:\NEWAPP)" + S, " " + S, "}",
                                           "Config.sys{", "", "", "}"}));
    EXPECT_EQ(m.run.yields(), 6);  // once per entry
}

TEST_F(ReviewRemovalListConvert, AListThatCannotBeOpenedGivesFourEmptyChangesFiles) {
    for (const char* name : {"changes.qdb", "hkcuchanges.qdb", "hklmchanges.qdb", "sysChanges.qdb"})
        m.files.addFile(Work + name, "left from an earlier run\r\n");

    EXPECT_TRUE(convertRemovalList(m.files, m.run, R"(C:\Lists\Missing.qdf)", Work));

    const ChangesFiles out = written();
    EXPECT_EQ(out.files, "");
    EXPECT_EQ(out.hkcu, "");
    EXPECT_EQ(out.hklm, "");
    EXPECT_EQ(out.config, "");
}

TEST_F(ReviewRemovalListConvert, ASectionCutOffByTheEndOfTheListEndsThere) {
    struct Case { const char* what; std::vector<std::string> list; ChangesFiles expected; };
    const Case cases[] = {
        {"in the files",
         {"Files{", R"(C:\A\x.txt)"},
         {fakes::crlfText({R"(C:\A\{)", "x.txt", "}"}), "", "", ""}},
        {"in the registry",
         {"Files{", "}", "Registry{", R"(HKEY_CURRENT_USER\Software\A)"},
         {"", fakes::crlfText({R"(Software\A)"}), "", ""}},
        {"in the second line section",
         {"Files{", "}", "Registry{", "}", "Win.ini{", "}", "System.ini{", "a=1" + S + " " + S},
         {"", "", "", fakes::crlfText({"Win.ini{", "", "", "}", "System.ini{", "a=1" + S, " " + S, "}"})}},
    };
    for (const auto& c : cases) {
        fakes::FakeMachine fresh;
        fresh.files.addFile(ListPath, fakes::crlfText(c.list));
        EXPECT_TRUE(convertRemovalList(fresh.files, fresh.run, ListPath, Work)) << c.what;
        EXPECT_EQ(fresh.files.content(Work + "changes.qdb"), c.expected.files) << c.what;
        EXPECT_EQ(fresh.files.content(Work + "hkcuchanges.qdb"), c.expected.hkcu) << c.what;
        EXPECT_EQ(fresh.files.content(Work + "hklmchanges.qdb"), c.expected.hklm) << c.what;
        EXPECT_EQ(fresh.files.content(Work + "sysChanges.qdb"), c.expected.config) << c.what;
    }
}

TEST_F(ReviewRemovalListConvert, OnlyKeysBelowTheTwoHivesAreTakenEachToItsOwnHive) {
    convert({"Files{", "}", "Registry{",
             R"(HKEY_LOCAL_MACHINE\Software\HKEY_CURRENT)",  // names the other hive further on
             R"(hkey_current_user\Software\Lower)",
             R"(HKEY_CLASSES_ROOT\.qdf)", R"(HKEY_USERS\.DEFAULT\Software\X)",
             "HKEY_LOCAL_MACHINE", R"(HKEY_LOCAL_MACHINE\)", "", "}"});

    const ChangesFiles out = written();
    EXPECT_EQ(out.hkcu, fakes::crlfText({R"(Software\Lower)"}));
    EXPECT_EQ(out.hklm, fakes::crlfText({R"(Software\HKEY_CURRENT)"}));
}

TEST_F(ReviewRemovalListConvert, FileEntriesEachBecomeABlockAndOddLineEntriesKeepThePairsInStep) {
    m.files.addFolder(R"(C:\Hidden Tree)", FileAttr::Directory | FileAttr::Hidden);
    convert({"Files{", R"(C:\A\x.txt)", R"(C:\A\y.txt)", "", R"(C:\Hidden Tree)", R"(C:\Gone\z.dll)", "}",
             "Registry{", "}",
             "Win.ini{", "no separator at all", "a=1" + S + "a=0" + S + "extra" + S, "b=1" + S + " " + S, "}"});

    const ChangesFiles out = written();
    EXPECT_EQ(out.files, fakes::crlfText({R"(C:\A\{)", "x.txt", "}", R"(C:\A\{)", "y.txt", "}",
                                          R"(!C:\Hidden Tree\{)", "}", R"(C:\Gone\{)", "z.dll", "}"}));
    EXPECT_EQ(out.config, fakes::crlfText({"Win.ini{", "a=1" + S + "b=1" + S, "a=0" + S + " " + S, "}"}));
}

TEST_F(ReviewRemovalListConvert, AChangesFileThatCannotBeWrittenIsReported) {
    m.files.failWritesUnder(Work + "hklmchanges.qdb");
    EXPECT_FALSE(convert(WorkedExample));
}

}  // namespace
}  // namespace quillon::review
