// scale_probe first DRIVE-ENTRY                 the first start, then the drive to scan chosen
// scale_probe update ROOT\ WORK\ QWORK\         the bare walk, then Quillon's "Update database"
// scale_probe find ROOT\ WORK\ ROWS QWORK\      the bare walk, then Quillon's "Find changes" until
//                                               its viewer lists ROWS file rows and their total size
//                                               (QWORK: Quillon's own work folder, watched meanwhile)
// Each step is timed from outside, against the real Quillon.exe of the prefix, with the bare walk
// of the same drive just before it, both from the program's start and from its run's start (the
// first work file it writes, after the window's designed one-second wait); then the same run goes
// again inside this process through the real adapters and the real message pump, timed port by
// port (its own snapshots, in WORK), beside a bare walk of the registry it reads.
#include <windows.h>

#include <psapi.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "BareFolderWalk.h"
#include "QuietRun.h"
#include "RegistryBench.h"
#include "ScaleProfile.h"
#include "Stopwatch.h"
#include "detection/FindProgress.h"
#include "detection/RunFindChanges.h"
#include "e2e/ProbeKit.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32Registry.h"
#include "platform/win32/Win32Shell.h"
#include "snapshot/UpdateDatabase.h"
#include "ui/MessagePump.h"

namespace quillon::bench {

namespace {

using e2e::RunningProgram;

constexpr DWORD StepTimeoutMs = 30 * 60 * 1000;

double megabytes(std::size_t bytes) { return static_cast<double>(bytes) / (1024.0 * 1024.0); }

// The peak working set of a process so far, in bytes; 0 when it cannot be read.
std::size_t peakWorkingSet(DWORD processId) {
    const win32::KernelHandle process(OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, processId));
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    if (!process || !GetProcessMemoryInfo(process.get(), &counters, sizeof counters)) return 0;
    return counters.PeakWorkingSetSize;
}

double bareWalk(const std::string& root, const std::string& work) {
    // An untimed pass first: the tree just written or changed is not yet in the caches that
    // Quillon's step, coming after, would find warm.
    static_cast<void>(bareFolderWalk(root, work + "bare-walk.qdb", {}));
    const Stopwatch watch;
    if (!bareFolderWalk(root, work + "bare-walk.qdb", {})) {
        std::printf("error: the bare walk could not write %sbare-walk.qdb\n", work.c_str());
        std::exit(1);
    }
    const double seconds = watch.seconds();
    std::printf("bare FindFirstFileA walk:        %8.2f s\n", seconds);
    return seconds;
}

void item(const char* what, double seconds, const char* note = "") {
    std::printf("  %-28s %8.2f s  %s\n", what, seconds, note);
}

// When each of the program's work files first shows in its work folder. Files are looked at
// often, which costs the program nothing; windows only every tenth time (see topWindow).
class WorkFileMarks {
public:
    WorkFileMarks(std::string folder, std::vector<const char*> names)
        : folder_(std::move(folder)), names_(std::move(names)), seen_(names_.size(), -1) {}
    void look(double now) {
        for (std::size_t m = 0; m < names_.size(); ++m)
            if (seen_[m] < 0 && e2e::exists(folder_ + names_[m]))
                seen_[m] = now;
    }
    // The run's start: its first work file, or -1 when none was seen.
    double runStart() const { return seen_.front(); }
    void print() const {
        for (std::size_t m = 0; m < names_.size(); ++m)
            if (seen_[m] >= 0) std::printf(" %s %.2f s,", names_[m], seen_[m]);
    }

private:
    std::string folder_;
    std::vector<const char*> names_;
    std::vector<double> seen_;
};

constexpr DWORD LookEveryMs = 10;
constexpr int WindowLookEvery = 10;

void fromRunStart(const char* what, double total, double runStart, double bare) {
    if (runStart < 0) {
        std::printf("%s, from the run's start: its first work file was not seen\n", what);
        return;
    }
    std::printf("%s, from the run's start: %6.2f s   ratio %.2f   (the run started %.2f s after the program)\n", what,
                total - runStart, (total - runStart) / bare, runStart);
}

void printBareRegistryWalk() {
    const RegistryFigures bare = bareRegistryWalk(true, true);
    item("bare registry walk", bare.seconds, "");
    std::printf("    (the same hives' %llu keys and %llu values, nothing written)\n",
                static_cast<unsigned long long>(bare.keys), static_cast<unsigned long long>(bare.values));
}

// Errors of the profiled run go to the output; a question is answered with its first button.
class PrintingPrompter final : public Prompter {
public:
    MsgAnswer message(const MessageRequest& request) override {
        std::printf("profiled run says: %s: %s\n", request.title.c_str(), request.text.c_str());
        return request.buttons == MsgButtons::YesNo || request.buttons == MsgButtons::YesNoCancel ? MsgAnswer::Yes
                                                                                                   : MsgAnswer::Ok;
    }
    std::string browseForFolder(std::string_view) override { return {}; }
    std::optional<std::string> openFile(const FileDialogRequest&) override { return std::nullopt; }
    std::optional<std::string> saveFile(const FileDialogRequest&) override { return std::nullopt; }
    std::optional<std::string> inputBox(std::string_view, std::string_view, std::string_view) override {
        return std::nullopt;
    }
};

class NoFindProgress final : public detection::FindProgress {
public:
    void setMaximum(int) override {}
    void setValue(int) override {}
    void advance(int) override {}
};

// The real adapters and pump, timed; folders of its own under `work`.
struct ProfiledPorts {
    explicit ProfiledPorts(const std::string& work) : data(work + "profile\\"), files(realFiles, clock), run(pump, clock) {
        CreateDirectoryA(data.c_str(), nullptr);
    }
    std::string data;
    win32::Win32FileSystem realFiles;
    win32::Win32Registry registry;
    win32::Win32Shell shell;
    PrintingPrompter prompter;
    ui::StopFlag stop;
    ui::MessagePump pump{stop};
    PhaseClock clock;
    PhasedFileSystem files;
    PhasedRun run;
};

// The table of phases by ports; returns the run's total.
double printProfile(const PhaseClock& clock, const char* const names[4]) {
    std::printf("%-22s %8s %8s %8s %8s %8s %8s %8s\n", "  phase", "wall", "walk", "scan wr", "other wr", "read",
                "yield", "rest");
    double total = 0;
    for (int p = 0; p < static_cast<int>(Phase::Count); ++p) {
        const auto phase = static_cast<Phase>(p);
        const double wall = clock.wall(phase);
        if (!names[p]) continue;
        double rest = wall;
        std::printf("  %-20s %8.2f", names[p], wall);
        for (int k = 0; k < static_cast<int>(PortKind::Count); ++k) {
            const double seconds = clock.port(phase, static_cast<PortKind>(k));
            rest -= seconds;
            std::printf(" %8.2f", seconds);
        }
        std::printf(" %8.2f\n", rest);
        total += wall;
    }
    std::printf("  %-20s %8.2f   (%llu writes to the scan, %llu other writes, %llu yields)\n", "total", total,
                static_cast<unsigned long long>(clock.calls(PortKind::ScanWrite)),
                static_cast<unsigned long long>(clock.calls(PortKind::OtherWrite)),
                static_cast<unsigned long long>(clock.calls(PortKind::Yield)));
    return total;
}

// The program's visible top-level window of that caption, or null. Asked rarely and by one call:
// under Wine every window call is a round trip to the server the measured program also waits on,
// and the kit's thorough search of every window, made often, slowed the program down several times.
HWND topWindow(const RunningProgram& program, const wchar_t* caption) {
    HWND window = FindWindowW(nullptr, caption);
    return window && e2e::processOf(window) == program.id() && IsWindowVisible(window) ? window : nullptr;
}

int first(const std::string& driveEntry) {
    if (const auto started = e2e::firstStart(); !started) {
        std::printf("error: %s\n", started.message());
        return 1;
    }
    if (const auto set = e2e::setDrive(driveEntry); !set) {
        std::printf("error: %s\n", set.message());
        return 1;
    }
    return 0;
}

int update(const std::string& root, const std::string& work, const std::string& programWork) {
    const double bare = bareWalk(root, work);
    std::size_t peak = 0;
    double seconds = 0;
    WorkFileMarks marks(programWork, {"dbstemp.qdb", "RegTemp.qdb"});
    {
        const Stopwatch watch;
        const RunningProgram program("\\u");
        HWND box = nullptr;
        for (int look = 0; !box && watch.seconds() < StepTimeoutMs / 1000.0; ++look) {
            marks.look(watch.seconds());
            if (look % WindowLookEvery == 0) box = topWindow(program, L"Scan complete");
            if (!box) Sleep(LookEveryMs);
        }
        seconds = watch.seconds();
        if (!box) {
            std::printf("error: %s\n", program.noWindow("Scan complete").message());
            return 1;
        }
        peak = peakWorkingSet(program.id());
        if (const auto pressed = e2e::press(GetDlgItem(box, IDC_UPDATE_CMDOK), "OK"); !pressed) {
            std::printf("error: %s\n", pressed.message());
            return 1;
        }
        if (const auto ended = program.ends("OK"); !ended) {
            std::printf("error: %s\n", ended.message());
            return 1;
        }
    }
    std::printf("the real step, as its work files appear:");
    marks.print();
    std::printf(" \"Scan complete\" %.2f s\n", seconds);
    std::printf("Update database, to \"Scan complete\": %6.2f s   ratio %.2f   (peak working set %.1f MB)\n", seconds,
                seconds / bare, megabytes(peak));
    fromRunStart("Update database", seconds, marks.runStart(), bare);
    std::printf("RESULT update %.3f %.3f %zu %.3f\n", bare, seconds, peak, marks.runStart());

    std::printf("\nwhere Update database's time goes (the same run in this process, each port call timed):\n");
    ProfiledPorts p(work);
    snapshot::UpdatePorts ports{p.registry, p.files, p.shell, p.prompter, p.run};
    NoProgress progress;
    const snapshot::UpdateOutcome outcome =
        snapshot::runUpdateDatabase(ports, progress, root.substr(0, 2), {p.data, work, "C:\\windows\\", "C:\\"});
    p.clock.finish();
    const char* const names[] = {"drive walk", nullptr, "configuration", "registry walk"};
    const double total = printProfile(p.clock, names);
    std::printf("so:\n");
    item("walk", p.clock.port(PortKind::Walk), "(listing the folders)");
    item("writing the scan", p.clock.port(PortKind::ScanWrite));
    item("yields to the message loop", p.clock.port(PortKind::Yield));
    item("registry phase", p.clock.wall(Phase::Registry));
    printBareRegistryWalk();
    item("outside the run", seconds - total, "(the program's start and window: the step less this run)");
    return outcome == snapshot::UpdateOutcome::Completed ? 0 : 1;
}

int find(const std::string& root, const std::string& work, int rows, const std::string& programWork) {
    const double bare = bareWalk(root, work);
    std::size_t peakBeforeViewer = 0, peak = 0;
    double toViewer = 0, toLastRow = 0, hidden = -1;
    WorkFileMarks marks(programWork, {"0current.qdb", "current.qdb", "dbase.qdb", "changes.qdb", "sysChanges.qdb",
                                      "hkcutmp.qdb", "hkcuchanges.qdb", "hkcuvalues.qdb", "hklmtmp.qdb",
                                      "hklmchanges.qdb", "hklmvalues.qdb"});
    int listed = 0;
    {
        const Stopwatch watch;
        const RunningProgram program("\\f");
        HWND viewer = nullptr, finding = nullptr;
        for (int look = 0; !viewer && watch.seconds() < StepTimeoutMs / 1000.0; ++look) {
            marks.look(watch.seconds());
            if (look % WindowLookEvery == 0) {
                if (!finding) finding = topWindow(program, L"Finding changes...");
                if (finding && hidden < 0 && !IsWindowVisible(finding)) hidden = watch.seconds();
                viewer = topWindow(program, L"Changes found  -Quillon");
            }
            if (!viewer) Sleep(LookEveryMs);
        }
        toViewer = watch.seconds();
        std::printf("the real step, as its work files appear:");
        marks.print();
        std::printf(" the finding window hidden %.2f s, the viewer %.2f s\n", hidden, toViewer);
        if (!viewer) {
            std::printf("error: %s\n", program.noWindow("the viewer").message());
            return 1;
        }
        peakBeforeViewer = peakWorkingSet(program.id());
        HWND total = e2e::descendant(viewer, IDC_FOUND_LBLFILESIZE);
        if (!e2e::waitUntil(StepTimeoutMs, [&] { return e2e::windowText(total).starts_with("(Total size"); })) {
            std::printf("error: the viewer's load never ended\n");
            return 1;
        }
        toLastRow = watch.seconds();
        peak = peakWorkingSet(program.id());
        listed = e2e::rowCount(e2e::descendant(viewer, IDC_FOUND_LVWFILESADDED));
        PostMessageA(viewer, WM_CLOSE, 0, 0);
        if (const auto ended = program.ends("the viewer was closed"); !ended) {
            std::printf("error: %s\n", ended.message());
            return 1;
        }
    }
    std::printf("Find changes, to the viewer:     %8.2f s   ratio %.2f   (peak working set %.1f MB)\n", toViewer,
                toViewer / bare, megabytes(peakBeforeViewer));
    std::printf("Find changes, to the last row:   %8.2f s   ratio %.2f   (peak working set %.1f MB, %d file rows)\n",
                toLastRow, toLastRow / bare, megabytes(peak), listed);
    fromRunStart("Find changes, to the last row", toLastRow, marks.runStart(), bare);
    std::printf("the viewer's load:               %8.2f s\n", toLastRow - toViewer);
    std::printf("RESULT find %.3f %.3f %.3f %zu %zu %d %.3f\n", bare, toViewer, toLastRow, peakBeforeViewer, peak, listed,
                marks.runStart());
    if (listed != rows) std::printf("error: the viewer lists %d file rows, not %d\n", listed, rows);

    std::printf("\nwhere Find changes' time goes (the same run in this process, each port call timed):\n");
    ProfiledPorts p(work);
    detection::FindPorts ports{p.registry, p.files, p.shell, p.prompter, p.run};
    NoFindProgress progress;
    const detection::FindOutcome outcome = detection::findChanges(
        ports, progress, root.substr(0, 2), {p.data, work, "C:\\windows\\", "C:\\Program Files\\", "C:\\"});
    p.clock.finish();
    const char* const names[] = {"rescan", "comparison", "configuration", "registry phase"};
    const double total = printProfile(p.clock, names);
    const auto compare = [&](PortKind kind) { return p.clock.port(Phase::Compare, kind); };
    std::printf("so:\n");
    item("walk", p.clock.port(PortKind::Walk), "(listing the folders)");
    item("writing the scan", p.clock.port(PortKind::ScanWrite));
    item("yields to the message loop", p.clock.port(PortKind::Yield));
    item("comparison", p.clock.wall(Phase::Compare) - compare(PortKind::OtherWrite) - compare(PortKind::Yield),
         "(reading the scan and the snapshot, comparing)");
    item("changes files", p.clock.port(PortKind::OtherWrite), "(every write but the scan's)");
    item("registry phase", p.clock.wall(Phase::Registry));
    printBareRegistryWalk();
    // Wine's X11 driver, before it withdraws a window, waits up to two seconds for a window
    // manager to have taken it; the virtual X server of the benchmark runs none.
    if (hidden >= 0)
        item("the finding window's hiding", toViewer - hidden,
             "(of the real step, to the viewer; Wine waits here for a window manager, up to 2 s)");
    item("the viewer's load", toLastRow - toViewer, "(of the real step)");
    item("outside the run", toViewer - total, "(the program's start and windows: to the viewer less this run)");
    return listed == rows && outcome == detection::FindOutcome::Completed ? 0 : 1;
}

}  // namespace

}  // namespace quillon::bench

int main(int argc, char** argv) {
    const std::string command = argc > 1 ? argv[1] : "";
    if (command == "first" && argc == 3) return quillon::bench::first(argv[2]);
    if (command == "update" && argc == 5) return quillon::bench::update(argv[2], argv[3], argv[4]);
    if (command == "find" && argc == 6) return quillon::bench::find(argv[2], argv[3], std::atoi(argv[4]), argv[5]);
    std::printf("usage: scale_probe first DRIVE-ENTRY | update ROOT\\ WORK\\ QWORK\\ | find ROOT\\ WORK\\ ROWS QWORK\\\n");
    return 2;
}
