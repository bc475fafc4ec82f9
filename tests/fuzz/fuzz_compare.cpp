// The three comparisons of "Find changes", each fed the input's two halves (cut at its first
// NUL) as snapshot and fresh scan: the drive scan, a hive's key list and a configuration file.
#include "FuzzBench.h"
#include "detection/CompareDriveScan.h"
#include "detection/ConfigCompare.h"
#include "detection/RegistryCompare.h"
#include "shell/DriveList.h"

using namespace quillon;

namespace {
struct NoProgress final : detection::FindProgress {
    void setMaximum(int) override {}
    void setValue(int) override {}
    void advance(int) override {}
};
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fakes::FakeMachine m;
    NoProgress progress;
    const auto halves = fuzz::parts(data, size, 2);
    m.files.addFolder("C:\\Data");
    m.files.addFile(shell::snapshotPath("C:\\Data\\", "C:"), halves[0]);
    m.files.addFile("C:\\current.qdb", halves[1]);
    (void)detection::compareDriveScan(m.files, m.run, progress, "C:\\", "C:\\Data\\", {"C:"});

    m.files.addFile("C:\\Data\\hkcuReg.qdb", halves[0]);
    m.files.addFile("C:\\hkcutmp.qdb", halves[1]);
    (void)detection::compareRegistryScan(m.files, m.run, "C:\\Data\\hkcuReg.qdb", "C:\\hkcutmp.qdb", "C:\\hkcuchanges.qdb");

    m.files.addFile("C:\\Data\\winIni.qdb", halves[0]);
    m.files.addFile("C:\\Windows\\win.ini", halves[1]);
    detection::ConfigChanges changes;
    if (detection::compareConfigFile(m.files, "C:\\Data\\winIni.qdb", "C:\\Windows\\win.ini", changes))
        fuzz::require(changes.added.size() == changes.replaced.size(), "an added line without its replaced line");
    return 0;
}
