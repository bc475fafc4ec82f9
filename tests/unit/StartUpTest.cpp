#include <gtest/gtest.h>

#include "shell/CommandLine.h"
#include "shell/FirstRunDefaults.h"
#include "shell/IgnoreList.h"
#include "support/FakeMachine.h"

namespace quillon::shell {
namespace {

TEST(StartUp, ARemovalListUninstallsWithOrWithoutQuotes) {
    fakes::FakeMachine m;
    m.files.addFile("C:\\Lists\\my app.qdf", "", FileAttr::Hidden);
    struct Row { const char* line; CommandLineAction action; const char* list; };
    const Row rows[] = {
        {"\"C:\\Lists\\my app.qdf\"", CommandLineAction::Uninstall, "C:\\Lists\\my app.qdf"},
        {"C:\\Lists\\my app.qdf", CommandLineAction::Uninstall, "C:\\Lists\\my app.qdf"},
        {"\"C:\\Lists\\gone.qdf\"", CommandLineAction::None, ""},
        {"\\u", CommandLineAction::UpdateDatabase, ""},
    };
    for (const Row& r : rows) {
        const StartRequest request = parseCommandLine(m.files, r.line);
        EXPECT_EQ(request.action, r.action) << r.line;
        EXPECT_EQ(request.removalList, r.list) << r.line;
    }
}

// The Start menu and the programs' own settings live in the data folders; only the parts
// Windows keeps rewriting are passed over.
TEST(StartUp, TheIgnoreListKeepsTheDataFoldersButNotTheirChangingParts) {
    fakes::FakeMachine m;
    m.shell.setSpecialFolder(Csidl::LocalAppData, "C:\\Users\\Ann\\Local");
    const IgnoreList list(defaultFoldersToIgnore(m.shell, m.desktop, m.files));
    for (const char* kept : {"C:\\Users\\Ann\\AppData\\", "C:\\Users\\Ann\\AppData\\Vendor\\App\\",
                             "C:\\Users\\Ann\\AppData\\Microsoft\\Windows\\Start Menu\\Programs\\",
                             "C:\\Users\\Ann\\Local\\Vendor\\"})
        EXPECT_FALSE(list.ignores(kept)) << kept;
    for (const char* passedOver : {"C:\\Users\\Ann\\AppData\\Microsoft\\Protect\\",
                                   "C:\\Users\\Ann\\Local\\Microsoft\\Windows\\Explorer\\", "C:\\Windows\\Temp\\"})
        EXPECT_TRUE(list.ignores(passedOver)) << passedOver;
}

}  // namespace
}  // namespace quillon::shell
