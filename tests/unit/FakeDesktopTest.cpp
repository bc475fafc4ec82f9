// What the fake desktop does beyond the desktop contract.
#include <gtest/gtest.h>

#include "support/FakeDesktop.h"
#include "support/FakeFileSystem.h"

namespace quillon::fakes {
namespace {

TEST(FakeDesktop, StartsProgramsThatExistAndRecordsThem) {
    FakeFileSystem files;
    files.addFile("C:\\Program Files\\Quillon\\Quillon.exe");
    FakeDesktop desktop(&files);
    struct Row { const char* commandLine; bool wait; Status status; };
    const Row rows[] = {
        {"\"C:\\Program Files\\Quillon\\Quillon.exe\" \\u", true, Status::Ok},
        {"C:\\Program Files\\Quillon\\Quillon.exe \\f", false, Status::Ok},  // unquoted, with blanks
        {"defrag.exe c:", false, Status::Ok},                                         // on the search path
        {"C:\\Program Files\\Quillon", false, Status::FileNotFound},
        {"\"C:\\Program Files\\Quillon\\Missing.exe\"", false, Status::FileNotFound},
    };
    for (const auto& r : rows) EXPECT_EQ(desktop.startProgram(r.commandLine, r.wait), r.status) << r.commandLine;

    desktop.failNextStart(Status::AccessDenied);
    EXPECT_EQ(desktop.startProgram("defrag.exe", false), Status::AccessDenied);
    EXPECT_EQ(desktop.startProgram("defrag.exe", false), Status::Ok);

    EXPECT_EQ(desktop.started(), (std::vector<StartedProgram>{
                                     {"\"C:\\Program Files\\Quillon\\Quillon.exe\" \\u", true},
                                     {"C:\\Program Files\\Quillon\\Quillon.exe \\f", false},
                                     {"defrag.exe c:", false},
                                     {"defrag.exe", false},
                                 }));
}

TEST(FakeDesktop, WindowsAndProcessesComeAndGoAsTheTestSays) {
    FakeDesktop desktop;
    desktop.addWindow({11, true, "Setup", "Wizard", 7});
    desktop.addWindow({12, false, "Hidden", "Tool", 8});
    desktop.addProcess(7, "setup.exe", {"C:\\Tmp\\setup.exe", "C:\\WINDOWS\\system32\\msi.dll"});
    desktop.addProcess(8, "tool.exe");
    ASSERT_EQ(desktop.topLevelWindows().size(), 2u);
    EXPECT_EQ(desktop.modules(7).front(), "C:\\Tmp\\setup.exe");
    EXPECT_TRUE(desktop.modules(8).empty());

    desktop.removeWindow(11);
    desktop.removeProcess(7);
    ASSERT_EQ(desktop.topLevelWindows().size(), 1u);
    EXPECT_EQ(desktop.topLevelWindows()[0].title, "Hidden");
    ASSERT_EQ(desktop.processes().size(), 1u);
    EXPECT_TRUE(desktop.modules(7).empty());
    desktop.clearWindows();
    EXPECT_TRUE(desktop.topLevelWindows().empty());
}

TEST(FakeDesktop, AnotherInstanceIsRunningWhenTheTestSaysSo) {
    FakeDesktop desktop;
    desktop.setAnotherInstanceRunning(true);
    EXPECT_TRUE(desktop.claimInstance("Quillon")->anotherWasRunning());
    desktop.setAnotherInstanceRunning(false);
    EXPECT_FALSE(desktop.claimInstance("Quillon")->anotherWasRunning());
}

TEST(FakeDesktop, AnInstanceTokenMayOutliveTheDesktop) {
    std::unique_ptr<InstanceToken> token;
    {
        FakeDesktop desktop;
        token = desktop.claimInstance("Quillon");
    }
    EXPECT_FALSE(token->anotherWasRunning());
}

TEST(FakeDesktop, RecordsBeepsAndWindowsBroughtToFront) {
    FakeDesktop desktop;
    desktop.beep();
    desktop.beep();
    desktop.bringToFront(42);
    EXPECT_EQ(desktop.beeps(), 2);
    EXPECT_EQ(desktop.broughtToFront(), std::vector<WindowRef>{42});
}

}  // namespace
}  // namespace quillon::fakes
