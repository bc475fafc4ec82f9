#include <gtest/gtest.h>

#include <vector>

#include "support/FakeRunContext.h"

namespace quillon::fakes {
namespace {

TEST(FakeRunContext, StopsFromTheChosenYieldOrWhenAsked) {
    FakeRunContext never;
    for (int i = 0; i < 5; ++i) never.yield();
    EXPECT_FALSE(never.stopRequested());
    EXPECT_EQ(never.yields(), 5);

    FakeRunContext third;
    third.stopAtYield(3);
    std::vector<bool> seen;
    for (int i = 0; i < 4; ++i) {
        third.yield();
        seen.push_back(third.stopRequested());
    }
    EXPECT_EQ(seen, (std::vector<bool>{false, false, true, true}));

    FakeRunContext asked;
    asked.requestStop();
    EXPECT_TRUE(asked.stopRequested());
}

}  // namespace
}  // namespace quillon::fakes
