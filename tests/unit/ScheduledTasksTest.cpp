#include <gtest/gtest.h>

#include "scheduler/TaskRun.h"
#include "scheduler/TaskSchedule.h"
#include "shell/Settings.h"
#include "support/FakeMachine.h"

namespace quillon::scheduler {
namespace {

// A tick of the schedule timer; `start` marks the first tick after the scheduler started.
struct Tick { bool start; DateTime now; bool due; const char* doneAfter; };
struct ScheduleCase { const char* name; ScheduleSettings settings; std::vector<Tick> ticks; };

TEST(TaskSchedule, RunsOnTheFirstTickOfEachScheduledDayAndOnlyThen) {
    const ScheduleCase cases[] = {
        {"weekly Monday", {false, 2, 0}, {
            {true, {2026, 12, 6, 23, 59, 30}, false, "0"},   // Sunday
            {false, {2026, 12, 7, 0, 0, 28}, true, "1"},     // Monday's first minute
            {false, {2026, 12, 7, 0, 1, 26}, false, "1"},
            {true, {2026, 12, 7, 9, 0, 0}, false, "1"},      // started again: already done today
            {false, {2026, 12, 8, 0, 0, 40}, false, "0"}}},  // Tuesday
        {"weekly, a tick late after midnight", {false, 2, 0}, {
            {true, {2026, 12, 6, 23, 59, 58}, false, "0"},
            {false, {2026, 12, 7, 0, 1, 3}, true, "1"}}},
        {"monthly 15", {false, 0, 15}, {
            {true, {2026, 11, 14, 18, 0, 0}, false, "0"},
            {false, {2026, 11, 15, 0, 0, 10}, true, "1"},
            {false, {2026, 11, 16, 0, 0, 8}, false, "0"},
            {false, {2026, 11, 30, 0, 0, 30}, true, "1"}}},
    };
    for (const ScheduleCase& c : cases) {
        fakes::FakeMachine m;
        m.registry.setString(Hive::CurrentUser, settings::SchedulerKey, settings::scheduler::Done, "0");
        std::optional<TaskSchedule> schedule;
        for (const Tick& t : c.ticks) {
            SCOPED_TRACE(testing::Message() << c.name << " at " << t.now.day << " " << t.now.hour << ":" << t.now.minute);
            if (t.start) schedule.emplace(c.settings);
            const bool due = schedule->tick(t.now, m.registry);
            EXPECT_EQ(due, t.due);
            if (due) TaskSchedule::markDone(m.registry);
            EXPECT_EQ(m.registry.stringValue(Hive::CurrentUser, settings::SchedulerKey, settings::scheduler::Done), t.doneAfter);
        }
    }
}

class TaskPass : public ::testing::Test, TaskProgress {
protected:
    fakes::FakeMachine m;  // now is 2026-01-01 12:00
    TaskPorts ports{{m.registry, m.files, m.shell, m.desktop, m.clock}, m.prompter, m.run, *this, 0,
                    "C:\\Program Files\\Quillon\\"};
    TaskTotals shown;

    void showFolder(std::string_view) override {}
    void showStatus(std::string_view) override {}
    void showTotals(std::uint64_t files, double freed) override { shown = {files, freed}; }

    void SetUp() override {
        for (auto [name, value] : {std::pair{"Drive", "C:"}, {"TempFiles", "1"}, {"TempFolders", "1"}, {"OldDel", "1"},
                                   {"OldDelDays", "7"}, {"ScanDisk", "1"}, {"Defragmentor", "1"}})
            m.registry.setString(Hive::CurrentUser, settings::SchedulerKey, name, value);
        for (auto [name, value] : {std::pair{"Tmp files", "1"}, {"Bak files", "1"}, {"Log files", "1"},
                                   {"TempFolder", "1"}, {"RecycleBin", "1"}, {"AlsoScanFiles", "*.html\x7f"}})
            m.registry.setString(Hive::CurrentUser, settings::SysCleanKey, name, value);
        m.files.addFile("C:\\Windows\\scandskw.exe", "MZ");
    }
    void junk(const char* path, DateTime when) { m.files.addFile(path, std::string(100, 'j'), FileAttr::Archive, when); }
};

// OldDel keeps what changed fewer than its days ago.
TEST_F(TaskPass, RemovesTheJunkTheRulesTakeAndCountsOnlyWhatWent) {
    struct Row { const char* path; DateTime when; bool goes; };
    const Row rows[] = {
        {"C:\\Data\\today.tmp", {2026, 1, 1, 0, 5, 0}, false},
        {"C:\\Data\\yesterday.tmp", {2025, 12, 31, 23, 0, 0}, false},
        {"C:\\Data\\install.log", {2025, 6, 1, 0, 0, 0}, false},
        {"C:\\Data\\Deep\\trace.log", {2025, 6, 1, 0, 0, 0}, true},
        {"C:\\Data\\aged.bak", {2025, 12, 20, 12, 0, 0}, true},
        {"C:\\Data\\page.html", {2025, 6, 1, 0, 0, 0}, true},   // the "Also scan" type with its dot
        {"C:\\Data\\notes.txt", {2025, 6, 1, 0, 0, 0}, false},
        {"C:\\Windows\\Temp\\setup.txt", {2025, 12, 1, 0, 0, 0}, true},  // the temporary folder: every file
    };
    for (const Row& r : rows) junk(r.path, r.when);
    m.shell.cancelNextOperation();  // one removal fails: its file stays and is not counted

    const TaskTotals totals = runTasks(ports, readTaskSettings(m.registry));

    int gone = 0;
    for (const Row& r : rows) {
        EXPECT_TRUE(r.goes || m.files.exists(r.path)) << r.path << " stays";
        gone += !m.files.exists(r.path);
    }
    EXPECT_EQ(gone, 3);  // four taken, one removal refused
    EXPECT_EQ(totals.files, 3u);
    EXPECT_EQ(totals.freedBytes, 300.0);
    EXPECT_EQ(shown.files, totals.files);
    EXPECT_EQ(m.shell.recycleBinEmptied(), 1);
    ASSERT_EQ(m.desktop.started().size(), 1u);  // defrag.exe is not there
    EXPECT_EQ(m.desktop.started()[0].commandLine, "C:\\Windows\\scandskw.exe C: /n");
}

TEST_F(TaskPass, AStopEndsTheRunAtTheNextEntryAndStartsNothing) {
    for (const char* name : {"a.tmp", "b.tmp", "c.tmp", "d.tmp"}) junk((std::string("C:\\Data\\") + name).c_str(), {2025, 1, 1});
    m.run.stopAtYield(2);
    const TaskTotals totals = runTasks(ports, readTaskSettings(m.registry));
    EXPECT_LT(totals.files, 2u);
    EXPECT_TRUE(m.files.exists("C:\\Data\\d.tmp"));
    EXPECT_EQ(m.shell.recycleBinEmptied(), 0);
    EXPECT_TRUE(m.desktop.started().empty());
}

}  // namespace
}  // namespace quillon::scheduler
