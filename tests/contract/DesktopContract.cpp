// What the logic relies on of the desktop.
#include "contract/Sandbox.h"
#include "platform/TextCompare.h"

namespace quillon::contract {
namespace {

using DesktopContract = ContractTest;

TEST_P(DesktopContract, InstanceNamesAreTakenUntilEveryClaimEndsAndTheProgramIsAnExe) {
    Desktop& desktop = *box_->desktop;
    const std::string name = "Quillon.DesktopContract";
    {
        const auto first = desktop.claimInstance(name);
        const auto second = desktop.claimInstance(name);
        EXPECT_FALSE(first->anotherWasRunning());
        EXPECT_TRUE(second->anotherWasRunning());
        EXPECT_FALSE(desktop.claimInstance(name + ".Other")->anotherWasRunning());
    }
    EXPECT_FALSE(desktop.claimInstance(name)->anotherWasRunning());
    const std::string program = desktop.programPath();
    EXPECT_TRUE(endsWithNoCase(program, ".exe") && program.substr(1, 2) == ":\\") << program;
    EXPECT_TRUE(desktop.isNtFamily());
}

INSTANTIATE_TEST_SUITE_P(Targets, DesktopContract, ::testing::ValuesIn(targets()), targetName);

}  // namespace
}  // namespace quillon::contract
