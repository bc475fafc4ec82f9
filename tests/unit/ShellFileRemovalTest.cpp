#include <gtest/gtest.h>

#include "support/FakeMachine.h"
#include "shell/FileRemoval.h"
#include "shell/Settings.h"

namespace quillon::shell {
namespace {

class FileRemoval : public ::testing::Test {
protected:
    fakes::FakeMachine m;
    RemovalPorts ports{m.registry, m.files, m.shell, m.desktop, m.prompter, m.run, "C:\\Program Files\\Quillon\\"};

    void SetUp() override {
        m.files.addFile("C:\\Apps\\a.txt", "a");
        m.files.addFile("C:\\Apps\\b.dll", "b");
        m.files.addFile("C:\\Apps\\Sub\\c.txt", "c");
    }
    void deleteMode(std::string_view mode) {
        m.registry.setString(Hive::CurrentUser, settings::GeneralKey, settings::general::DeleteMode, mode);
    }
};

TEST_F(FileRemoval, FlagsFollowTheSettingAndTheCaller) {
    struct Row { std::optional<std::string> deleteMode; bool nt; std::uint32_t callerFlags; RemoveMode mode;
                 std::uint32_t shellFlags; bool recycled; };
    const Row rows[] = {
        {"0", true, 0, RemoveMode::Setting, 0x41 | 0x400, true},
        {"0", false, 0, RemoveMode::Setting, 0x41, true},
        {"0", true, 0x10, RemoveMode::Setting, 0x10 | 0x400, false},
        {std::nullopt, true, 0x10, RemoveMode::Setting, 0x10 | 0x40 | 0x400, true},  // no settings key
        {"1", true, 0, RemoveMode::Setting, 0x1 | 0x400, false},
        {"0", true, 0, RemoveMode::Permanent, 0x1 | 0x400, false},
        {"", true, 0, RemoveMode::Setting, 0x41 | 0x400, true},  // unset: the undoable choice
    };
    for (const auto& r : rows) {
        fakes::FakeMachine fresh;
        fresh.files.addFile("C:\\Apps\\a.txt", "a");
        if (r.deleteMode)
            fresh.registry.setString(Hive::CurrentUser, settings::GeneralKey, settings::general::DeleteMode, *r.deleteMode);
        fresh.desktop.setNtFamily(r.nt);
        RemovalPorts p{fresh.registry, fresh.files, fresh.shell, fresh.desktop, fresh.prompter, fresh.run, "C:\\Data\\"};
        EXPECT_TRUE(removeFiles(p, {"C:\\Apps\\a.txt"}, r.callerFlags, r.mode));
        ASSERT_EQ(fresh.shell.operations().size(), 1u);
        const FileOperation& op = fresh.shell.operations()[0];
        EXPECT_EQ(op.kind, FileOpKind::Delete);
        EXPECT_EQ(op.flags, r.shellFlags) << r.deleteMode.value_or("(none)");
        EXPECT_FALSE(fresh.files.exists("C:\\Apps\\a.txt"));
        EXPECT_EQ(!fresh.shell.recycled().empty(), r.recycled) << r.deleteMode.value_or("(none)");
    }
}

TEST_F(FileRemoval, KeepModesMoveIntoTheDataFolderSilently) {
    for (const char* mode : {"2", "3"}) {
        fakes::FakeMachine fresh;
        fresh.files.addFile("C:\\Apps\\a.txt", "a");
        fresh.files.addFolder("C:\\Data");
        fresh.registry.setString(Hive::CurrentUser, settings::GeneralKey, settings::general::DeleteMode, mode);
        RemovalPorts p{fresh.registry, fresh.files, fresh.shell, fresh.desktop, fresh.prompter, fresh.run, "C:\\Data\\"};
        EXPECT_TRUE(removeFiles(p, {"C:\\Apps\\a.txt"}, 0, RemoveMode::Setting)) << mode;
        EXPECT_FALSE(fresh.files.exists("C:\\Apps\\a.txt")) << mode;
        EXPECT_EQ(fresh.files.content("C:\\Data\\a.txt"), "a") << mode;
        EXPECT_TRUE(fresh.prompter.messages().empty()) << mode;
        EXPECT_TRUE(fresh.shell.recycled().empty()) << mode;
    }
}

TEST_F(FileRemoval, AMoveThatCannotHappenIsNotReportedAsDone) {
    deleteMode("2");
    m.files.holdOpen("C:\\Apps\\a.txt");
    EXPECT_FALSE(removeFiles(ports, {"C:\\Apps\\a.txt"}, 0, RemoveMode::Setting));
    EXPECT_TRUE(m.files.exists("C:\\Apps\\a.txt"));
}

TEST_F(FileRemoval, InUseFilesAreLeftForTheRestartWithOneMessage) {
    deleteMode("0");
    m.files.holdOpen("C:\\Apps\\a.txt");
    m.files.holdOpen("C:\\Apps\\b.dll");
    m.prompter.answer(MsgAnswer::Ok);
    EXPECT_FALSE(removeFiles(ports, {"C:\\Apps\\a.txt", "C:\\Apps\\b.dll", "C:\\Apps\\Sub\\c.txt"}, 0,
                             RemoveMode::Setting));
    EXPECT_EQ(m.shell.restartDeletions(), (std::vector<std::string>{"C:\\Apps\\a.txt", "C:\\Apps\\b.dll"}));
    EXPECT_FALSE(m.files.exists("C:\\Apps\\Sub\\c.txt"));
    ASSERT_EQ(m.prompter.messages().size(), 1u);
    EXPECT_EQ(m.prompter.messages()[0].title, "Quillon");
    EXPECT_EQ(m.prompter.messages()[0].icon, MsgIcon::Exclamation);
    EXPECT_EQ(m.prompter.messages()[0].text,
              "Some files could not be removed because they may be in use. These files will be deleted when you "
              "restart your computer.");
    // The retries go one by one without asking.
    for (std::size_t i = 1; i < m.shell.operations().size(); ++i) {
        EXPECT_EQ(m.shell.operations()[i].from.size(), 1u);
        EXPECT_TRUE(m.shell.operations()[i].flags & FileOpFlag::NoConfirmation);
    }
}

TEST_F(FileRemoval, QuietModeAndOlderSystemsShowNothing) {
    m.files.holdOpen("C:\\Apps\\a.txt");
    EXPECT_FALSE(removeFiles(ports, {"C:\\Apps\\a.txt"}, 0, RemoveMode::Quiet));
    EXPECT_EQ(m.shell.restartDeletions().size(), 1u);

    fakes::FakeMachine old;
    old.desktop.setNtFamily(false);
    old.files.addFile("C:\\Apps\\a.txt");
    old.files.holdOpen("C:\\Apps\\a.txt");
    RemovalPorts p{old.registry, old.files, old.shell, old.desktop, old.prompter, old.run, "C:\\Data\\"};
    EXPECT_FALSE(removeFiles(p, {"C:\\Apps\\a.txt"}, 0, RemoveMode::Setting));
    EXPECT_TRUE(old.shell.restartDeletions().empty());
    EXPECT_TRUE(old.prompter.messages().empty());
}

TEST_F(FileRemoval, ACancelledQuestionIsNotAFailure) {
    m.shell.cancelNextOperation();
    EXPECT_TRUE(removeFiles(ports, {"C:\\Apps\\a.txt"}, 0, RemoveMode::Setting));
    EXPECT_TRUE(m.files.exists("C:\\Apps\\a.txt"));
    EXPECT_TRUE(m.shell.restartDeletions().empty());
}

TEST_F(FileRemoval, AFolderInUseIsEmptiedAtRestart) {
    m.files.addFile("C:\\Apps\\Sub\\Deep\\d.txt", "d");
    m.files.holdOpen("C:\\Apps\\Sub\\c.txt");
    m.prompter.answer(MsgAnswer::Ok);
    EXPECT_FALSE(removeFiles(ports, {"C:\\Apps\\Sub"}, 0, RemoveMode::Setting));
    EXPECT_EQ(m.shell.restartDeletions(), std::vector<std::string>{"C:\\Apps\\Sub\\c.txt"});
    EXPECT_FALSE(m.files.exists("C:\\Apps\\Sub\\Deep"));
    EXPECT_EQ(m.prompter.messages().size(), 1u);
}

TEST_F(FileRemoval, MoveAndInUse) {
    m.files.addFolder("C:\\Dest");
    EXPECT_FALSE(fileInUse(m.files, "C:\\Apps\\missing.txt"));
    EXPECT_FALSE(fileInUse(m.files, "C:\\Apps\\a.txt"));
    m.files.holdOpen("C:\\Apps\\a.txt");
    EXPECT_TRUE(fileInUse(m.files, "C:\\Apps\\a.txt"));

    EXPECT_FALSE(moveFile(m.shell, m.files, "C:\\Apps\\a.txt", "C:\\Dest", 0));
    EXPECT_TRUE(m.shell.operations().empty()) << "an in-use file is not handed to the shell";
    EXPECT_TRUE(moveFile(m.shell, m.files, "C:\\Apps\\b.dll", "C:\\Dest", 0));
    ASSERT_EQ(m.shell.operations().size(), 1u);
    EXPECT_EQ(m.shell.operations()[0].flags, 1u);
    EXPECT_EQ(m.files.content("C:\\Dest\\b.dll"), "b");
}

}  // namespace
}  // namespace quillon::shell
