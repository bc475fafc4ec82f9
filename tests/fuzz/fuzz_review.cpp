// A handed-over removal list opened for review: converted into the changes files, loaded by
// the viewer and written back as the viewer closes.
#include "FuzzBench.h"
#include "review/LoadChanges.h"
#include "review/ReviewRemovalList.h"
#include "review/WriteBackRemovalList.h"

using namespace quillon;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fakes::FakeMachine m;
    fuzz::YesPrompter yes;
    yes.chosen = "C:\\L\\NewApp.qdf";
    m.files.addFolder("C:\\L");
    m.files.addFile(yes.chosen, std::string(reinterpret_cast<const char*>(data), size));
    m.files.addFile("C:\\Apps\\NewApp\\app.exe", "x");
    review::ReviewPorts ports{m.registry, m.files, yes, m.clock, m.run};
    const auto reviewed = review::openRemovalListForReview(ports, "C:\\");
    fuzz::require(reviewed.has_value(), "the chosen list was not reviewed");
    review::LoadPorts load{m.files, m.registry, m.shell, m.run};
    const review::ChangeSet changes = review::loadChanges(load, "C:\\");
    fuzz::require(review::writeBackRemovalList(m.files, reviewed->path, changes, reviewed->keptAside).written,
                  "the reviewed list was not written back");
    return 0;
}
