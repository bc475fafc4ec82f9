#include <gtest/gtest.h>

#include "review/RemoveAddedLine.h"
#include "support/FakeMachine.h"
#include "support/TextLines.h"

namespace quillon::review {
namespace {

constexpr const char* WinIni = "C:\\Windows\\win.ini";
constexpr const char* Work = "C:\\";

class RemoveAddedLineTest : public ::testing::Test {
protected:
    fakes::FakeMachine m;
};

TEST_F(RemoveAddedLineTest, RestoresOrDropsEveryOccurrence) {
    const std::vector<std::string> original = {"[windows]", "load=new.exe", "run=", "LOAD=new.exe", "load=new.exe"};
    struct Row { const char* what; const char* added; const char* replaced; std::vector<std::string> after; };
    const Row rows[] = {
        {"replaced line comes back at both places", "load=new.exe", "load=",
         {"[windows]", "load=", "run=", "LOAD=new.exe", "load="}},
        {"no replaced line: dropped", "load=new.exe", " ", {"[windows]", "run=", "LOAD=new.exe"}},
        {"case counts", "LOAD=new.exe", " ", {"[windows]", "load=new.exe", "run=", "load=new.exe"}},
        {"not there: unchanged", "missing=1", "x", original},
    };
    for (const auto& r : rows) {
        fakes::FakeMachine fresh;
        fresh.files.addFile(WinIni, fakes::crlfText(original), FileAttr::ReadOnly | FileAttr::Archive);
        EXPECT_EQ(removeAddedLine(fresh.files, Work, WinIni, r.added, r.replaced), Status::Ok) << r.what;
        EXPECT_EQ(fresh.files.content(WinIni), fakes::crlfText(r.after)) << r.what;
        EXPECT_EQ(fresh.files.attributes(WinIni), FileAttr::Hidden | FileAttr::System) << r.what;
        EXPECT_FALSE(fresh.files.exists("C:\\tempSys.qdb")) << r.what;
    }
}

TEST_F(RemoveAddedLineTest, ReadsLoneLineEndsAndWritesCrLf) {
    m.files.addFile(WinIni, "a\nload=new.exe\rb");
    ASSERT_EQ(removeAddedLine(m.files, Work, WinIni, "load=new.exe", "load="), Status::Ok);
    EXPECT_EQ(m.files.content(WinIni), "a\r\nload=\r\nb\r\n");
}

TEST_F(RemoveAddedLineTest, AFailedRewriteKeepsTheOriginal) {
    const std::string text = fakes::crlfText({"[windows]", "load=new.exe"});
    struct Row { const char* what; void (*stage)(fakes::FakeFileSystem&); };
    const Row rows[] = {
        {"writes of the work file fail", [](fakes::FakeFileSystem& f) { f.failWritesUnder("C:\\tempSys.qdb"); }},
        {"the replacement fails", [](fakes::FakeFileSystem& f) { f.failMovesTo(WinIni); }},
        {"the file is held open", [](fakes::FakeFileSystem& f) { f.holdOpen(WinIni); }},
    };
    for (const auto& r : rows) {
        fakes::FakeMachine fresh;
        fresh.files.addFile(WinIni, text, FileAttr::Archive);
        r.stage(fresh.files);
        EXPECT_NE(removeAddedLine(fresh.files, Work, WinIni, "load=new.exe", "load="), Status::Ok) << r.what;
        fresh.files.release(WinIni);
        EXPECT_EQ(fresh.files.content(WinIni), text) << r.what;
        EXPECT_EQ(fresh.files.attributes(WinIni), FileAttr::Archive) << r.what;
        EXPECT_FALSE(fresh.files.exists("C:\\tempSys.qdb")) << r.what;
    }
}

TEST_F(RemoveAddedLineTest, AMissingFileIsLeftAlone) {
    EXPECT_NE(removeAddedLine(m.files, Work, "C:\\Windows\\system.ini", "x", " "), Status::Ok);
    EXPECT_FALSE(m.files.exists("C:\\Windows\\system.ini"));
    EXPECT_FALSE(m.files.exists("C:\\tempSys.qdb"));
}

TEST_F(RemoveAddedLineTest, AHiddenLeftoverWorkFileDoesNotStopTheRewrite) {
    m.files.addFile(WinIni, fakes::crlfText({"load=new.exe"}));
    m.files.addFile("C:\\tempSys.qdb", "old", FileAttr::Hidden);
    ASSERT_EQ(removeAddedLine(m.files, Work, WinIni, "load=new.exe", " "), Status::Ok);
    EXPECT_EQ(m.files.content(WinIni), "");
}

TEST_F(RemoveAddedLineTest, EachListHasItsFile) {
    const RemovalFolders folders{"C:\\Windows\\", "D:\\", "E:\\Work\\"};
    EXPECT_EQ(configFilePath(ConfigList::WinIni, folders), "C:\\Windows\\win.ini");
    EXPECT_EQ(configFilePath(ConfigList::SystemIni, folders), "C:\\Windows\\system.ini");
    EXPECT_EQ(configFilePath(ConfigList::AutoexecBat, folders), "D:\\autoexec.bat");
    EXPECT_EQ(configFilePath(ConfigList::ConfigSys, folders), "D:\\config.sys");
}

}  // namespace
}  // namespace quillon::review
