// viewer_load_bench WORK\ MASTER [MASTER...]
// Times the changes viewer's load of each MASTER (a changes file naming files that exist),
// copied to WORK\changes.qdb before every load since the load consumes it:
//   - loadChanges alone through the real adapters, then once more with every port timed and
//     once with a shell that answers at once, and the longest stretch without a yield;
//   - the bare reading of the changes files with one listing of each folder holding rows;
//   - the shell's and the file system's cost per file by extension;
//   - the viewer window: first paint with rows, time until every row is in, memory per row,
//     with another thread checking that it answers and repaints all along; then a close
//     request during the load.
// A file of more than 50,000 rows skips the timed loads and the window with the quick shell.
// viewer_load_bench --show WORK\ MASTER opens the viewer alone and leaves it open, scrolled to
// its middle row.
// Exits 1 when a load lost rows or a window never loaded, 3 when the window stalled longer
// than the limit or did not go within a second of a close request made during its load.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "Stopwatch.h"
#include "ViewerLoadFigures.h"
#include "ViewerLoadPorts.h"
#include "ViewerLoadProbe.h"
#include "platform/Ports.h"
#include "platform/win32/Win32Clock.h"
#include "platform/win32/Win32Desktop.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32Printer.h"
#include "platform/win32/Win32Registry.h"
#include "platform/win32/Win32Shell.h"
#include "review/LoadChanges.h"
#include "review/frmFoundChanges.h"
#include "ui/CommonControls.h"
#include "ui/Win32Prompter.h"
#include "ui/Window.h"

namespace quillon::bench {

namespace {

constexpr double ResponseLimit = 0.25;  // seconds a window may take to answer or repaint
constexpr DWORD ProbeIntervalMs = 50;
constexpr double WindowGiveUp = 1800;   // seconds: a load that long has hung

// The files a changes file names, in its order.
struct Master {
    std::string path;
    std::vector<std::string> files;  // full paths
};

bool readMaster(const std::string& path, Master& out) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    out.path = path;
    std::string line, folder;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty()) continue;
        if (line == "}") {
            folder.clear();
        } else if (line.back() == '{') {
            folder = line.substr(0, line.size() - 1);
        } else if (!folder.empty()) {
            out.files.push_back(folder + line);
        }
    }
    return true;
}

bool placeChanges(const Master& master, const std::string& work) {
    return CopyFileA(master.path.c_str(), (work + "changes.qdb").c_str(), FALSE) != FALSE;
}

std::string extensionOf(const std::string& path) {
    const auto slash = path.rfind('\\');
    const auto dot = path.rfind('.');
    return dot == std::string::npos || (slash != std::string::npos && dot < slash) ? "(none)" : path.substr(dot);
}

// ---- the load alone -------------------------------------------------------------------

struct PortableFigures {
    bool ok = false;
    double seconds = 0;
    std::size_t rows = 0;
    std::uint64_t yields = 0;
    double longestGap = 0;
    double tail = 0;  // after the last yield: the check of every row's existence, and the rest
    LoadTimes times;
};

// One load through these ports, with the yields' gaps; the figures of a failed placement are
// not ok.
void measureLoad(const Master& master, const std::string& work, FileSystem& files, Shell& shell,
                 PortableFigures& f) {
    if (!placeChanges(master, work)) return;
    win32::Win32Registry registry;
    GapRun run;
    review::LoadPorts ports{files, registry, shell, run};
    const Stopwatch watch;
    const review::ChangeSet set = review::loadChanges(ports, work);
    f.seconds = watch.seconds();
    f.tail = run.sinceLast();
    f.rows = set.files.size();
    f.yields = run.yields();
    f.longestGap = std::max(run.longestGap(), run.untilFirst());
    f.ok = true;
}

PortableFigures plainLoad(const Master& master, const std::string& work) {
    PortableFigures f;
    win32::Win32FileSystem files;
    win32::Win32Shell shell;
    measureLoad(master, work, files, shell, f);
    return f;
}

PortableFigures timedLoad(const Master& master, const std::string& work, bool instantShell) {
    PortableFigures f;
    win32::Win32FileSystem realFiles;
    win32::Win32Shell realShell;
    InfoTimedFiles files(realFiles, f.times);
    TypeTimedShell shell(realShell, f.times, instantShell);
    measureLoad(master, work, files, shell, f);
    return f;
}

void printTimed(const char* title, const PortableFigures& f) {
    const double rest = f.seconds - f.times.fileInfo - f.times.fileType;
    std::printf("  %s: %.3f s, %zu rows\n", title, f.seconds, f.rows);
    std::printf("    FileSystem::info   %8.3f s  %5.1f %%  (%llu calls, %.1f us each)\n", f.times.fileInfo,
                100 * f.times.fileInfo / f.seconds, static_cast<unsigned long long>(f.times.infoCalls),
                f.times.infoCalls ? 1e6 * f.times.fileInfo / static_cast<double>(f.times.infoCalls) : 0.0);
    std::printf("    Shell::fileType    %8.3f s  %5.1f %%  (%llu calls, %.1f us each)\n", f.times.fileType,
                100 * f.times.fileType / f.seconds, static_cast<unsigned long long>(f.times.typeCalls),
                f.times.typeCalls ? 1e6 * f.times.fileType / static_cast<double>(f.times.typeCalls) : 0.0);
    std::printf("    reading, rows, rest%8.3f s  %5.1f %%\n", rest, 100 * rest / f.seconds);
    std::printf("    yields %llu; longest stretch between yields %.3f s; after the last yield %.3f s\n",
                static_cast<unsigned long long>(f.yields), f.longestGap, f.tail);
}

// ---- cost per file by extension -------------------------------------------------------

void costByExtension(const Master& master) {
    constexpr std::size_t Samples = 400;
    std::map<std::string, std::vector<const std::string*>> byExtension;
    for (const std::string& path : master.files) byExtension[extensionOf(path)].push_back(&path);
    win32::Win32Shell shell;
    win32::Win32FileSystem files;
    std::printf("\ncost per file by extension (%zu files sampled each; estimate = cost x files of that kind):\n",
                Samples);
    std::printf("  %-8s %8s %14s %14s %12s\n", "ext", "files", "fileType us", "info us", "estimate s");
    double estimate = 0;
    for (const auto& [extension, paths] : byExtension) {
        const std::size_t n = std::min(Samples, paths.size());
        double typeSeconds = 0, infoSeconds = 0;
        for (std::size_t i = 0; i < n; ++i) {
            FileTypeInfo type;
            FileInfo info;
            {
                const ScopeTimer timer(typeSeconds);
                static_cast<void>(shell.fileType(*paths[i], type));  // a path the shell cannot name keeps the generic type
            }
            const ScopeTimer timer(infoSeconds);
            static_cast<void>(files.info(*paths[i], info));  // a file that is gone reports nothing
        }
        const double typeUs = 1e6 * typeSeconds / static_cast<double>(n);
        const double infoUs = 1e6 * infoSeconds / static_cast<double>(n);
        const double kindSeconds = static_cast<double>(paths.size()) * (typeUs + 2 * infoUs) / 1e6;
        estimate += kindSeconds;
        std::printf("  %-8s %8zu %14.1f %14.1f %12.3f\n", extension.c_str(), paths.size(), typeUs, infoUs,
                    kindSeconds);
    }
    std::printf("  estimate for one fileType and two info calls per file: %.3f s\n", estimate);
}

// ---- the window -----------------------------------------------------------------------

struct WindowFigures {
    double appeared = -1;        // seconds from the call that shows the window
    double firstRows = -1;       // the files list painted with rows in it
    double bytesBefore = -1;     // private bytes before the window, and once it has loaded
    double bytesLoaded = -1;
    double textBytes = 0;
    LoadTimes shellTimes;        // the window's questions to the shell
    bool probed = true;          // another thread asked it for answers and repaints
    double loaded = -1;          // isLoaded() seen with the rows in the list
    int listRows = -1;
    int listRowsAtClose = -1;    // what the list shows when the window closes
    double closeRequested = -1;
    double hidden = -1;
    double returned = -1;        // the modal loop has ended: the window is gone
    bool loadedAtReturn = false;
    std::size_t modelRows = 0;
    bool gaveUp = false;
    ProbeFigures probe;
};

// A message-only window whose timer fires whenever the thread's messages are pumped: the
// viewer's modal loop and the load's yields alike.
class PumpTimer : protected ui::Window {
protected:
    PumpTimer(const char* className, UINT intervalMs) {
        ui::WindowSpec desc;
        desc.className = className;
        desc.style = 0;
        desc.owner = HWND_MESSAGE;
        create(desc);
        SetTimer(hwnd(), 1, intervalMs, nullptr);
    }
    ~PumpTimer() override {
        if (hwnd()) KillTimer(hwnd(), 1);
    }
};

// Watches the viewer from its own thread's message loop (the timer fires whenever the load
// pumps): starts the probe when the window exists, notes the load's end, and closes it.
class LoadWatch final : private PumpTimer {
public:
    LoadWatch(review::frmFoundChanges& viewer, ResponseProbe& probe, const Stopwatch& clock, double closeAfter,
              WindowFigures& out)
        : PumpTimer("QuillonViewerLoadWatch", 5),
          viewer_(viewer),
          probe_(probe),
          clock_(clock),
          closeAfter_(closeAfter),
          out_(out) {}

private:
    void onTimer(UINT_PTR) override {
        const double now = clock_.seconds();
        const HWND dialog = viewer_.hwnd();
        if (now > WindowGiveUp && !out_.gaveUp) {
            out_.gaveUp = true;
            PostQuitMessage(0);
            return;
        }
        if (!dialog) return;
        if (out_.appeared < 0) {
            out_.appeared = now;
            if (out_.probed) probe_.watch(dialog);
        }
        const bool closing = closeAfter_ >= 0;
        if (closing && out_.closeRequested < 0 && now >= closeAfter_ && !viewer_.isLoaded()) {
            out_.closeRequested = now;
            PostMessageA(dialog, WM_CLOSE, 0, 0);
            return;
        }
        if (out_.closeRequested >= 0 && out_.hidden < 0 && !IsWindowVisible(dialog)) out_.hidden = now;
        const ui::VirtualListView files = viewer_.list(review::ChangesList::Files);
        if (out_.firstRows < 0 && files.count() > 0 && IsWindowVisible(files.hwnd()) &&
            !GetUpdateRect(files.hwnd(), nullptr, FALSE))
            out_.firstRows = now;
        if (out_.loaded < 0 && viewer_.isLoaded()) {
            out_.loaded = now;
            out_.listRows = files.count();
            out_.bytesLoaded = heapBytes();
            out_.textBytes = rowTextBytes(viewer_.changes());
            if (out_.closeRequested < 0) PostMessageA(dialog, WM_CLOSE, 0, 0);
        }
    }

    review::frmFoundChanges& viewer_;
    ResponseProbe& probe_;
    const Stopwatch& clock_;
    double closeAfter_;
    WindowFigures& out_;
};

// closeAfter: seconds after the start at which to ask the window to close; < 0: once loaded.
// probed: with the answers and repaints asked from another thread, which cost the window time of
// their own (a repaint of the list and its icons under Wine: tens of milliseconds).
WindowFigures windowLoad(const Master& master, const std::string& work, bool instantShell, double closeAfter,
                         bool probed = true) {
    WindowFigures f;
    f.probed = probed;
    if (!placeChanges(master, work)) return f;
    win32::Win32Registry registry;
    win32::Win32FileSystem files;
    win32::Win32Shell realShell;
    TypeTimedShell instant(realShell, f.shellTimes, true);
    TypeTimedShell timedReal(realShell, f.shellTimes, false);
    win32::Win32Desktop desktop;
    ui::Win32Prompter prompter;
    win32::Win32Clock clock;
    win32::Win32Printer printer;
    Ports ports{registry, files, instantShell ? instant : timedReal, desktop, prompter, clock, printer};
    review::FoundChangesInput input;
    input.workFolder = work;
    input.dataFolder = work;
    review::frmFoundChanges viewer(ports, input, [&f](review::frmFoundChanges& closing) {
        f.listRowsAtClose = closing.list(review::ChangesList::Files).count();
    });
    ResponseProbe probe(ResponseLimit, ProbeIntervalMs);
    f.bytesBefore = heapBytes();
    const Stopwatch watch;
    {
        LoadWatch loadWatch(viewer, probe, watch, closeAfter, f);
        viewer.showModal(nullptr);
        f.returned = watch.seconds();
    }
    probe.stop();
    // A window that went between two looks was hidden by then at the latest.
    if (f.closeRequested >= 0 && f.hidden < 0) f.hidden = f.returned;
    f.probe = probe.figures();
    f.loadedAtReturn = viewer.isLoaded();
    f.modelRows = viewer.changes().files.size();
    if (f.gaveUp) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
        }
    }
    return f;
}

void printProbe(const ProbeFigures& p) {
    std::printf("    answers to WM_NULL: %d, worst %.0f ms, mean %.1f ms, %d over %.0f ms, %d unanswered\n", p.replies,
                1e3 * p.worstReply, p.replies ? 1e3 * p.totalReply / p.replies : 0.0, p.slowReplies,
                1e3 * ResponseLimit, p.unanswered);
    std::printf("    repaints: %d, worst %.0f ms, %d over %.0f ms\n", p.repaints, 1e3 * p.worstRepaint,
                p.slowRepaints, 1e3 * ResponseLimit);
}

bool responsive(const ProbeFigures& p) {
    return p.replies > 0 && p.slowReplies == 0 && p.unanswered == 0 && p.slowRepaints == 0;
}

// ---- one changes file -----------------------------------------------------------------

struct Verdict {
    bool rowsOk = true;
    bool responsive = true;
};

// Above this many rows a load takes minutes under Wine: one load alone and one window, closed
// halfway, stand for the rest, whose per-file costs the smaller files show.
constexpr std::size_t FullPlanRows = 50000;

void reportWindow(const char* title, const WindowFigures& w, std::size_t expected, Verdict& verdict) {
    std::printf("  %s:\n", title);
    if (w.closeRequested < 0) {
        std::printf("    window seen at %.3f s; first rows painted at %.3f s; loaded with %d rows in the list (%zu in "
                    "the model) at %.3f s\n",
                    w.appeared, w.firstRows, w.listRows, w.modelRows, w.loaded);
        if (w.modelRows > 0 && w.bytesBefore >= 0 && w.bytesLoaded >= 0) {
            const double rows = static_cast<double>(w.modelRows);
            std::printf("    memory: %.1f MB more once loaded, of which row texts %.1f MB: %.0f bytes per row beyond "
                        "the texts\n",
                        (w.bytesLoaded - w.bytesBefore) / 1e6, w.textBytes / 1e6,
                        (w.bytesLoaded - w.bytesBefore - w.textBytes) / rows);
        }
        if (w.gaveUp || w.loaded < 0 || w.listRows != static_cast<int>(expected)) verdict.rowsOk = false;
    } else {
        std::printf("    window seen at %.3f s; close requested at %.3f s; hidden %.0f ms after the request; gone "
                    "%.3f s after it (at %.3f s)\n",
                    w.appeared, w.closeRequested, w.hidden >= 0 ? 1e3 * (w.hidden - w.closeRequested) : -1.0,
                    w.returned - w.closeRequested, w.returned);
        // A close ends the load where it is: the window goes at once, with part of the rows.
        std::printf("    rows read when it went: %zu of %zu\n", w.modelRows, expected);
        if (w.gaveUp) verdict.rowsOk = false;
        if (w.hidden < 0 || w.returned - w.closeRequested > 1.0) verdict.responsive = false;
    }
    if (w.closeRequested < 0 && w.modelRows != expected) verdict.rowsOk = false;
    std::printf("    the shell asked for %llu types and icons, %.3f s\n",
                static_cast<unsigned long long>(w.shellTimes.typeCalls), w.shellTimes.fileType);
    if (!w.probed) return;
    printProbe(w.probe);
    if (!responsive(w.probe)) verdict.responsive = false;
}

void printEarlier(std::size_t rows) {
    const EarlierFigures* earlier = earlierFigures(rows);
    if (!earlier) return;
    std::printf("  at 5d7f1e3 (one insertion per row): load alone %.1f s", earlier->load);
    if (earlier->windowRealShell >= 0)
        std::printf("; window %.1f s until its rows showed (%.1f s with the quick shell), first rows then too",
                    earlier->windowRealShell, earlier->windowInstantShell);
    else
        std::printf("; window not waited for (several minutes)");
    std::printf("\n");
}

void benchOne(const Master& master, const std::string& work, bool withExtensions, Verdict& verdict) {
    const std::size_t expected = master.files.size();
    const bool full = expected <= FullPlanRows;
    std::printf("\n==== %zu file rows (%s)\n", expected, master.path.c_str());

    std::printf("loadChanges alone (Win32FileSystem, Win32Registry, Win32Shell, a run that only notes its yields):\n");
    const PortableFigures plain = plainLoad(master, work);
    std::printf("  plain: %.3f s, %zu rows, %llu yields; longest stretch between yields %.3f s, after the last "
                "yield %.3f s\n",
                plain.seconds, plain.rows, static_cast<unsigned long long>(plain.yields), plain.longestGap,
                plain.tail);
    if (!plain.ok || plain.rows != expected) verdict.rowsOk = false;
    double bare = -1;
    std::size_t folders = 0;
    if (placeChanges(master, work)) bare = bareReadAndCheck(work, folders);
    std::printf("  reading the changes files and listing the %zu folders holding rows: %.3f s\n", folders, bare);
    if (full) {
        const PortableFigures timed = timedLoad(master, work, false);
        printTimed("timed, real shell", timed);
        const PortableFigures instant = timedLoad(master, work, true);
        printTimed("timed, shell answering at once", instant);
        if (!timed.ok || timed.rows != expected || !instant.ok || instant.rows != expected) verdict.rowsOk = false;
    }
    if (withExtensions) costByExtension(master);

    std::printf("\nthe viewer (modal, real adapters; probes every %lu ms from another thread):\n",
                static_cast<unsigned long>(ProbeIntervalMs));
    const WindowFigures alone = windowLoad(master, work, false, -1, false);
    reportWindow("real shell, not probed", alone, expected, verdict);
    const WindowFigures real = windowLoad(master, work, false, -1);
    reportWindow("real shell", real, expected, verdict);
    if (full) {
        const WindowFigures quick = windowLoad(master, work, true, -1);
        reportWindow("shell answering at once", quick, expected, verdict);
    }
    // The window must hide at once and go when the load has ended.
    const WindowFigures closing = windowLoad(master, work, false, std::max(0.2, real.loaded / 4));
    reportWindow("close requested during the load, real shell", closing, expected, verdict);

    const double worstWait = std::max({real.probe.worstReply, real.probe.worstRepaint, closing.probe.worstReply,
                                       closing.probe.worstRepaint});
    std::printf("\nsummary %zu rows:\n", expected);
    std::printf("  first paint with rows %.3f s (target 2 s); whole load in the window %.3f s = %.2f x the bare "
                "reading and checking (%.3f s; target 2 x); probed from another thread %.3f s; loadChanges alone "
                "%.3f s\n",
                alone.firstRows, alone.loaded, bare > 0 ? alone.loaded / bare : -1.0, bare, real.loaded,
                plain.seconds);
    std::printf("  longest message wait %.0f ms (target 250 ms)", 1e3 * worstWait);
    if (closing.closeRequested >= 0)
        std::printf("; close: hidden after %.0f ms, gone after %.3f s\n",
                    closing.hidden >= 0 ? 1e3 * (closing.hidden - closing.closeRequested) : -1.0,
                    closing.returned - closing.closeRequested);
    else
        std::printf("; the load ended before the close request\n");
    if (real.modelRows > 0 && real.bytesLoaded >= 0)
        std::printf("  memory %.0f bytes per row beyond the texts (target 300)\n",
                    (real.bytesLoaded - real.bytesBefore - real.textBytes) / static_cast<double>(real.modelRows));
    printEarlier(expected);
}

// The viewer on one changes file, left open for a person (or a screenshot) once loaded,
// scrolled to its middle row, which is selected.
class ShowMiddle final : private PumpTimer {
public:
    ShowMiddle(review::frmFoundChanges& viewer, const Stopwatch& clock)
        : PumpTimer("QuillonViewerShowMiddle", 20), viewer_(viewer), clock_(clock) {}

private:
    void onTimer(UINT_PTR) override {
        if (done_ || !viewer_.hwnd()) return;
        const ui::VirtualListView files = viewer_.list(review::ChangesList::Files);
        if (firstRows_ < 0 && files.count() > 0) firstRows_ = clock_.seconds();
        if (!viewer_.isLoaded()) return;
        done_ = true;
        const int middle = files.count() / 2;
        files.setSelected(middle, true);
        SendMessageA(files.hwnd(), LVM_ENSUREVISIBLE, static_cast<WPARAM>(middle), FALSE);
        std::printf("first rows at %.3f s, loaded at %.3f s; row %d of %d selected\n", firstRows_, clock_.seconds(),
                    middle + 1, files.count());
        std::fflush(stdout);
    }

    review::frmFoundChanges& viewer_;
    const Stopwatch& clock_;
    double firstRows_ = -1;
    bool done_ = false;
};

int showViewer(const std::string& work, const Master& master) {
    const PortableFigures plain = plainLoad(master, work);
    std::printf("loadChanges alone %.3f s\n", plain.seconds);
    if (!placeChanges(master, work)) return 2;
    win32::Win32Registry registry;
    win32::Win32FileSystem files;
    win32::Win32Shell shell;
    win32::Win32Desktop desktop;
    ui::Win32Prompter prompter;
    win32::Win32Clock clock;
    win32::Win32Printer printer;
    Ports ports{registry, files, shell, desktop, prompter, clock, printer};
    review::FoundChangesInput input;
    input.workFolder = work;
    input.dataFolder = work;
    review::frmFoundChanges viewer(ports, input);
    const Stopwatch watch;
    ShowMiddle middle(viewer, watch);
    viewer.showModal(nullptr);
    return 0;
}

}  // namespace

}  // namespace quillon::bench

int main(int argc, char** argv) {
    using namespace quillon::bench;
    if (argc < 3) {
        std::printf("usage: viewer_load_bench WORK\\ MASTER [MASTER...]\n");
        return 2;
    }
    quillon::ui::initCommonControls();
    if (std::string(argv[1]) == "--show") {
        Master master;
        if (argc != 4 || !readMaster(argv[3], master)) return 2;
        return showViewer(argv[2], master);
    }
    const std::string work = argv[1];
    Verdict verdict;
    for (int i = 2; i < argc; ++i) {
        Master master;
        if (!readMaster(argv[i], master) || master.files.empty()) {
            std::printf("error: cannot read %s\n", argv[i]);
            return 2;
        }
        benchOne(master, work, i == 2, verdict);
        std::fflush(stdout);
    }
    if (!verdict.rowsOk) {
        std::printf("\nFAILED: a load lost rows or a window never finished loading\n");
        return 1;
    }
    if (!verdict.responsive) {
        std::printf("\nNOT RESPONSIVE: the window stalled longer than %.0f ms\n", 1e3 * ResponseLimit);
        return 3;
    }
    std::printf("\nok: every load complete, the window answered within %.0f ms throughout\n", 1e3 * ResponseLimit);
    return 0;
}
