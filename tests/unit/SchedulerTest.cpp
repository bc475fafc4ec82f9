#include <gtest/gtest.h>

#include <functional>
#include <utility>

#include "scheduler/DetectSetupWindow.h"
#include "scheduler/LoadOnStartup.h"
#include "scheduler/ScheduledTasks.h"
#include "scheduler/SchedulerStartUp.h"
#include "shell/Settings.h"
#include "support/FakeMachine.h"

namespace quillon::scheduler {
namespace {

const std::string Sep(1, settings::ListSeparator);
const std::string Update = "\"C:\\Program Files\\Quillon\\Quillon.exe\" \\u (waited);";
const std::string Find = "\"C:\\Program Files\\Quillon\\Quillon.exe\" \\f;";

// The user's answers (No unless set), and the questions and task runs in order.
struct User final : SetupQuestions, ScheduledTasks {
    ScanAnswer scan{};
    bool find = false;
    std::string asked;
    ScanAnswer askForScan() override { return asked += "before ", scan; }
    bool askForFind() override { return asked += "after ", find; }
    void runNow() override {
        asked += "tasks ";
        if (during) std::exchange(during, nullptr)();
    }
    std::function<void()> during;
};

// on: detection after the "before" question; when off, SetupRan is never written.
struct AnswerRow { ScanAnswer before; bool after; const char* asked; std::string started; bool on; };

class Scheduler : public ::testing::TestWithParam<AnswerRow> {
protected:
    fakes::FakeMachine m;
    SchedulerPorts ports{m.registry, m.files, m.shell, m.desktop, m.clock};
    User user;
    SetupDetection detection{ports, user, fakes::FakeMachine::ProgramFolder};

    void SetUp() override {
        m.registry.setString(Hive::CurrentUser, settings::GeneralKey, "DefaultPath", "C:\\Program Files\\Quillon");
        setting("SetupDetect", "1");
        m.files.addFile("C:\\Setup\\MySetup.exe", std::string(1234, 'x'));
        m.desktop.addProcess(70, "MySetup.exe", {"C:\\Windows\\System32\\ntdll.dll", "C:\\Setup\\MYSETUP.EXE"});
        setupWindow("Product Setup", "#32770");
    }
    void setting(std::string_view name, std::string_view text) {
        m.registry.setString(Hive::CurrentUser, settings::SchedulerKey, name, text);
    }
    std::string get(std::string_view name) {
        return m.registry.stringValue(Hive::CurrentUser, settings::SchedulerKey, name).value_or("<none>");
    }
    void setupWindow(std::string title, std::string className, bool visible = true) {
        m.desktop.clearWindows();
        m.desktop.addWindow({5, true, "Installer", "#32770", 99});  // its process is gone: passed over
        m.desktop.addWindow({7, visible, std::move(title), std::move(className), 70});
    }
    std::string started() {
        std::string all;
        for (const auto& s : m.desktop.started()) all += s.commandLine + (s.wait ? " (waited);" : ";");
        return all;
    }
};

TEST_F(Scheduler, ASetupWindowIsVisibleTitledAsASetupOfNoIgnoredClassWithAFoundProgramNotIgnored) {
    struct Row { const char* title; const char* className; bool visible; const char* ignored; bool setup; };
    const Row rows[] = {
        {"Product Setup", "#32770", true, "", true},
        {"INSTALLING product", "InstallerDialog", true, "", true},
        {"Product Setup", "#32770", false, "", false},
        {"Product Setup", "Notepad", true, "", false},
        {"Product Setup", "note", true, "", false},  // a part of an ignored class's name
        {"Uninstall Wizard", "#32770", true, "", false},
        {"Installation Notification", "#32770", true, "", false},
        {"Product DeInstaller", "#32770", true, "", false},
        {"Product Setup", "#32770", true, "mysetup.EXE\x7f" "1234\x7f", false},
        {"Product Setup", "#32770", true, "Other.exe\x7f" "1\x7fMySetup.exe\x7f" "1234\x7f", false},
        {"Product Setup", "#32770", true, "MySetup.exe\x7f" "999\x7f", true},      // its file changed size
        {"Product Setup", "#32770", true, "OldMySetup.exe\x7f" "1234\x7f", true},  // its name is only a part
    };
    for (const Row& r : rows) {
        setupWindow(r.title, r.className, r.visible);
        setting("WindowsToIgnore", r.ignored);
        const auto found = detectSetupWindow(ports);
        EXPECT_EQ(found.value_or(DetectedSetup{}).path, r.setup ? "C:\\Setup\\MYSETUP.EXE" : "")
            << r.title << " " << r.className << " " << r.ignored;
    }
}

TEST_P(Scheduler, EachAnswerLeadsToItsRunsQuestionsAndSetupRan) {
    const AnswerRow& r = GetParam();
    user.scan = r.before;
    user.find = r.after;
    m.desktop.whileWaiting([&] { EXPECT_EQ(get("SetupRan"), r.on ? "1" : "<none>"); });
    detection.start(true, false);
    detection.tick();
    EXPECT_EQ(detection.timerEnabled(), r.on);
    if (r.on) {
        detection.tick();  // the setup window is still there, unless now ignored
        EXPECT_EQ(detection.setupPending(), !r.before.ignoreThisSetup);
        m.desktop.clearWindows();
        detection.tick();
    }
    EXPECT_FALSE(detection.setupPending());
    EXPECT_EQ(user.asked, r.asked);
    EXPECT_EQ(started(), r.started);
    EXPECT_EQ(get("SetupRan"), r.on ? "0" : "<none>");
    const bool ignored = r.before.ignoreThisSetup;
    EXPECT_EQ(get("WindowsToIgnore"), ignored ? "MySetup.exe" + Sep + "1234" + Sep : "<none>");
    EXPECT_EQ(get("WindowsToIgnoreInfo"), ignored ? "C:\\Setup\\" + Sep + "Thursday, Jan 1 2026" + Sep : "<none>");
}

INSTANTIATE_TEST_SUITE_P(Answers, Scheduler, ::testing::Values(
    AnswerRow{{true, false, false}, true, "before after ", Update + Find, true},
    AnswerRow{{true, false, false}, false, "before after ", Update, true},
    AnswerRow{{false, false, false}, true, "before ", "", true},
    AnswerRow{{false, true, false}, true, "before ", "", true},  // ignored: as if gone
    AnswerRow{{false, false, true}, true, "before ", "", false},
    AnswerRow{{true, false, true}, true, "before ", Update, false}));

TEST_F(Scheduler, ARestartWithSetupRanAsksAfterTheSetupInsteadOfFindingChangesAtStart) {
    setting("ChangesStartup", "1");
    setting("SetupRan", "1");
    setting("Monthly", "15x");
    const SchedulerStart start = startScheduler(ports);
    EXPECT_EQ(start.schedule.monthlyDivisor * 10 + start.schedule.weeklyDay, 150) << "no Weekly: no weekly run";
    EXPECT_TRUE(startScheduler(ports).anotherRunning);
    EXPECT_TRUE(resumeSetupRan(ports, start.dataFolder));
    user.find = true;
    m.desktop.clearWindows();
    detection.start(start.detectionOn, true);
    detection.tick();
    EXPECT_EQ(user.asked, "after ");
    setting("SetupRan", "0");
    EXPECT_FALSE(resumeSetupRan(ports, start.dataFolder));
    EXPECT_EQ(started(), Find + Find);
}

TEST_F(Scheduler, MenuTogglesWriteTheirSettingsAndTheTimerWaitsForTheTickInProgress) {
    setLoadOnStartup(m.registry, true, fakes::FakeMachine::ProgramFolder);
    EXPECT_EQ(m.registry.stringValue(Hive::CurrentUser, settings::RunKey, "Quillon Scheduler"),
              "C:\\Program Files\\Quillon\\Quillon Scheduler.exe");
    setLoadOnStartup(m.registry, false, fakes::FakeMachine::ProgramFolder);
    EXPECT_FALSE(m.registry.stringValue(Hive::CurrentUser, settings::RunKey, "Quillon Scheduler"));
    EXPECT_FALSE(loadsOnStartup(m.registry));

    user.scan = {true, false, false};
    m.desktop.whileWaiting([&] {
        detection.setDetection(false);
        detection.setDetection(true);
        EXPECT_FALSE(detection.timerEnabled()) << "a second tick within the first";
        startScanningNow(detection, user);
    });
    detection.start(true, false);
    detection.tick();
    user.during = [&] {
        startScanningNow(detection, user);  // a second start from the tray is refused...
        detection.tick();                   // ...and so is a detection tick
    };
    startScanningNow(detection, user);
    EXPECT_EQ(user.asked, "before tasks ") << "the tasks wait for the update, once";
    EXPECT_TRUE(detection.timerEnabled());
    detection.setDetection(false);
    EXPECT_EQ(get("SetupDetect"), "0");
    EXPECT_FALSE(detection.timerEnabled());
}

}  // namespace
}  // namespace quillon::scheduler
