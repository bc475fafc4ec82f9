#include <gtest/gtest.h>

#include <deque>

#include "scheduler/DetectSetupWindow.h"
#include "scheduler/LoadOnStartup.h"
#include "scheduler/ScheduledTasks.h"
#include "scheduler/SchedulerStartUp.h"
#include "shell/Settings.h"
#include "support/FakeMachine.h"

namespace quillon::scheduler {
namespace {

const std::string Sep(1, settings::ListSeparator);
const std::string Update = "\"C:\\Program Files\\Quillon\\Quillon.exe\" \\u (waited)";
const std::string Find = "\"C:\\Program Files\\Quillon\\Quillon.exe\" \\f";

struct Questions final : SetupQuestions, ScheduledTasks {
    std::deque<ScanAnswer> scans;
    std::deque<bool> finds;
    std::string asked;
    ScanAnswer askForScan() override { return take(scans, "before"); }
    bool askForFind() override { return take(finds, "after"); }
    void runNow() override { asked += "tasks "; }
    template <typename T> T take(std::deque<T>& answers, const char* what) {
        asked += std::string(what) + " ";
        T answer = answers.empty() ? T{} : answers.front();
        if (!answers.empty()) answers.pop_front();
        return answer;
    }
};

class Scheduler : public ::testing::Test {
protected:
    fakes::FakeMachine m;
    SchedulerPorts ports{m.registry, m.files, m.shell, m.desktop, m.clock};
    Questions user;
    SetupDetection detection{ports, user, fakes::FakeMachine::ProgramFolder};

    void SetUp() override {
        setting("SetupDetect", "1");
        m.files.addFile("C:\\Setup\\MySetup.exe", std::string(1234, 'x'));
    }
    void setting(std::string_view name, std::string_view text) {
        m.registry.setString(Hive::CurrentUser, settings::SchedulerKey, name, text);
    }
    std::string get(std::string_view name) {
        return m.registry.stringValue(Hive::CurrentUser, settings::SchedulerKey, name).value_or("<none>");
    }
    void setupWindow(std::string title = "Product Setup", std::string className = "#32770", bool visible = true) {
        m.desktop.addWindow({7, visible, std::move(title), std::move(className), 70});
    }
    std::string started() {
        std::string all;
        for (const auto& s : m.desktop.started()) all += s.commandLine + (s.wait ? " (waited)" : "") + ";";
        return all;
    }
};

TEST_F(Scheduler, ASetupWindowIsVisibleTitledAsASetupOfNoIgnoredClassWithAFoundProgramNotIgnored) {
    struct Row { const char* title; const char* className; bool visible; const char* ignored; bool setup; };
    const std::string longTitle = std::string(253, '.') + "Setup";
    const Row rows[] = {
        {"Product Setup", "#32770", true, "", true},
        {"INSTALLING product", "MsiDialog", true, "", true},
        {"Product Setup", "#32770", false, "", false},
        {"Product Setup", "Notepad", true, "", false},
        {"Product Setup", "note", true, "", false},                 // a part of an ignored class name
        {"Uninstall Wizard", "#32770", true, "", false},
        {"Installation Notification", "#32770", true, "", false},
        {"Product DeInstaller", "#32770", true, "", false},
        {longTitle.c_str(), "#32770", true, "", false},             // past the system's title buffer
        {"Product Setup", "#32770", true, "mysetup.EXE\x7f" "1234\x7f", false},
        {"Product Setup", "#32770", true, "Other.exe\x7f" "1\x7fMySetup.exe\x7f" "1234\x7f", false},
        {"Product Setup", "#32770", true, "MySetup.exe\x7f" "999\x7f", true},  // its file changed size
        {"Product Setup", "#32770", true, "OldMySetup.exe\x7f" "1234\x7f", true},  // its name is only a part
    };
    m.desktop.addProcess(70, "MySetup.exe", {"C:\\Windows\\System32\\ntdll.dll", "C:\\Setup\\MYSETUP.EXE"});
    for (const Row& r : rows) {
        m.desktop.clearWindows();
        m.desktop.addWindow({5, true, "Installer", "#32770", 99});  // its process is gone: passed over
        setupWindow(r.title, r.className, r.visible);
        setting("WindowsToIgnore", r.ignored);
        const auto found = detectSetupWindow(ports);
        ASSERT_EQ(found.has_value(), r.setup) << r.title << " " << r.className << " " << r.ignored;
        EXPECT_EQ(found.value_or(DetectedSetup{}).path, r.setup ? "C:\\Setup\\MYSETUP.EXE" : "");
    }
}

TEST_F(Scheduler, EachAnswerLeadsToItsRunsQuestionsAndSetupRan) {
    struct Row { ScanAnswer before; bool after; const char* asked; std::string started; const char* setupRan;
                 bool on; };
    const Row rows[] = {
        {{true, false, false}, true, "before after ", Update + ";" + Find + ";", "0", true},
        {{true, false, false}, false, "before after ", Update + ";", "0", true},
        {{false, false, false}, true, "before ", "", "0", true},
        {{false, false, true}, true, "before ", "", "<none>", false},   // detection off, SetupRan untouched
        {{true, false, true}, true, "before ", Update + ";", "<none>", false},
    };
    for (const Row& r : rows) {
        fakes::FakeMachine fresh;
        SchedulerPorts p{fresh.registry, fresh.files, fresh.shell, fresh.desktop, fresh.clock};
        Questions q;
        q.scans = {r.before};
        q.finds = {r.after};
        SetupDetection d{p, q, fakes::FakeMachine::ProgramFolder};
        fresh.registry.setString(Hive::CurrentUser, settings::SchedulerKey, "SetupDetect", "1");
        fresh.desktop.addProcess(70, "MySetup.exe", {"C:\\Setup\\MySetup.exe"});
        fresh.desktop.addWindow({7, true, "Product Setup", "#32770", 70});
        fresh.desktop.whileWaiting([&] {
            EXPECT_EQ(fresh.registry.stringValue(Hive::CurrentUser, settings::SchedulerKey, "SetupRan").value_or("<none>"),
                      r.on ? "1" : "<none>");
        });
        d.start(true, false);
        d.tick();
        EXPECT_EQ(d.intervalMs(), DetectIntervalMs);
        EXPECT_EQ(d.timerEnabled(), r.on);
        if (r.on) {
            d.tick();  // the setup window is still there
            EXPECT_TRUE(d.setupPending());
            fresh.desktop.clearWindows();
            d.tick();
        }
        EXPECT_FALSE(d.setupPending());
        EXPECT_EQ(q.asked, r.asked) << r.asked;
        std::string all;
        for (const auto& s : fresh.desktop.started()) all += s.commandLine + (s.wait ? " (waited)" : "") + ";";
        EXPECT_EQ(all, r.started) << r.asked;
        EXPECT_EQ(fresh.registry.stringValue(Hive::CurrentUser, settings::SchedulerKey, "SetupRan").value_or("<none>"),
                  r.setupRan) << r.asked;
    }
}

TEST_F(Scheduler, IgnoringASetupRecordsItsNameSizeFolderAndDay) {
    setting("WindowsToIgnore", "a.exe" + Sep + "1" + Sep);
    setting("WindowsToIgnoreInfo", "C:\\A\\" + Sep + "Monday, Jan 5 2004" + Sep);
    m.desktop.addProcess(70, "MySetup.exe", {"C:\\Setup\\MySetup.exe"});
    setupWindow();
    user.scans = {{false, true, false}};
    detection.start(true, false);
    detection.tick();
    EXPECT_EQ(get("WindowsToIgnore"), "a.exe" + Sep + "1" + Sep + "MySetup.exe" + Sep + "1234" + Sep);
    EXPECT_EQ(get("WindowsToIgnoreInfo"),
              "C:\\A\\" + Sep + "Monday, Jan 5 2004" + Sep + "C:\\Setup\\" + Sep + "Thursday, Jan 1 2026" + Sep);
    EXPECT_FALSE(detectSetupWindow(ports)) << "asked again";
}

TEST_F(Scheduler, ARestartWithSetupRanAsksAfterTheSetupInsteadOfFindingChangesAtStart) {
    m.registry.setString(Hive::CurrentUser, settings::GeneralKey, "DefaultPath", "C:\\Program Files\\Quillon");
    setting("ChangesStartup", "1");
    setting("SetupRan", "1");
    const SchedulerStart start = startScheduler(ports);
    EXPECT_TRUE(resumeSetupRan(ports, start.dataFolder));
    EXPECT_EQ(started(), "");
    user.finds = {true};
    detection.start(start.detectionOn, true);
    detection.tick();
    EXPECT_EQ(user.asked, "after ");
    EXPECT_EQ(started(), Find + ";");
    setting("SetupRan", "0");
    EXPECT_FALSE(resumeSetupRan(ports, start.dataFolder));
    EXPECT_EQ(started(), Find + ";" + Find + ";");
}

TEST_F(Scheduler, StartsOnceReadingTheScheduleAndTheDataFolderWithTheFirstRunDefaults) {
    m.registry.setString(Hive::CurrentUser, settings::GeneralKey, "DefaultPath", "");  // refused: not a first run
    setting("Weekly", "2");
    setting("SetupDetect", "0");
    SchedulerStart start = startScheduler(ports);
    EXPECT_FALSE(start.anotherRunning);
    EXPECT_EQ(start.dataFolder, "C:\\Program Files\\Quillon\\");
    EXPECT_EQ(start.schedule.weeklyDay * 100 + start.schedule.monthlyDivisor, 200);
    EXPECT_FALSE(start.detectionOn);
    EXPECT_TRUE(startScheduler(ports).anotherRunning) << "a second instance";

    fakes::FakeMachine firstRun;
    start = startScheduler({firstRun.registry, firstRun.files, firstRun.shell, firstRun.desktop, firstRun.clock});
    EXPECT_TRUE(start.detectionOn);
    EXPECT_EQ(firstRun.registry.stringValue(Hive::CurrentUser, settings::SchedulerKey, "Weekly"), "2");
}

TEST_F(Scheduler, MenuTogglesWriteTheirSettingsAndTheTimerWaitsForTheTickInProgress) {
    setLoadOnStartup(m.registry, false, fakes::FakeMachine::ProgramFolder);
    EXPECT_FALSE(m.registry.stringValue(Hive::CurrentUser, settings::RunKey, "Quillon Scheduler"));
    EXPECT_EQ(get("Enabled"), "0");
    setLoadOnStartup(m.registry, true, fakes::FakeMachine::ProgramFolder);
    EXPECT_EQ(m.registry.stringValue(Hive::CurrentUser, settings::RunKey, "Quillon Scheduler"),
              "C:\\Program Files\\Quillon\\Quillon Scheduler.exe");
    EXPECT_TRUE(loadsOnStartup(m.registry));

    m.desktop.addProcess(70, "MySetup.exe", {"C:\\Setup\\MySetup.exe"});
    setupWindow();
    user.scans = {{true, false, false}};
    m.desktop.whileWaiting([&] {
        detection.setDetection(false);
        detection.setDetection(true);
        EXPECT_FALSE(detection.timerEnabled()) << "a second tick within the first";
        startScanningNow(detection, user);
    });
    detection.start(true, false);
    EXPECT_EQ(detection.intervalMs(), FirstDetectIntervalMs);
    detection.tick();
    EXPECT_TRUE(detection.timerEnabled());
    startScanningNow(detection, user);
    EXPECT_EQ(user.asked, "before tasks ") << "the tasks wait for the update";
    EXPECT_TRUE(detection.timerEnabled());
    detection.setDetection(false);
    EXPECT_EQ(get("SetupDetect"), "0");
    EXPECT_FALSE(detection.timerEnabled());
}

}  // namespace
}  // namespace quillon::scheduler
