// The settings that hold lists, read back whatever text the registry gives: the saved removal
// lists, the folders to ignore and the setup programs to pass over.
#include "FuzzBench.h"
#include "detection/IgnoreList.h"
#include "review/SavedForDeletion.h"
#include "scheduler/SetupIgnoreList.h"
#include "shell/Settings.h"

using namespace quillon;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto halves = fuzz::parts(data, size, 2);  // the setting, then a name to look for
    fakes::FakeMachine m;
    m.registry.setString(Hive::CurrentUser, settings::GeneralKey, settings::general::SavedForDeletion, halves[0]);
    review::removeSavedForDeletion(m.registry, halves[1]);
    review::addSavedForDeletion(m.registry, halves[1]);

    const auto ignore = detection::runIgnoreList("C:\\Windows\\", "C:\\", halves[0]);
    ignore.ignores(halves[1] + "\\");
    for (const std::string& entry : ignore.entries()) ignore.ignores(entry);

    scheduler::isIgnoredSetup(halves[0], halves[1], 1234);
    scheduler::isIgnoredSetup(halves[0], halves[1], std::nullopt);
    return 0;
}
