// How waits are cut into select calls.
#include "icmp/WaitSlices.h"

#include <gtest/gtest.h>

namespace {

using Slices = std::vector<std::int32_t>;

TEST(WaitSlices, SlicedWaits)
{
    struct Case {
        std::int32_t timeout;
        std::int32_t idle;
        Slices slices;
    } cases[] = {
        {1000, 250, {250, 250, 250, 250}},
        {1100, 250, {100, 250, 250, 250, 250}},
        {100, 250, {100}},
        {0, 250, {0}}, // polls once
        {250, 250, {250}},
        {251, 250, {1, 250}},
        {500, 250, {250, 250}},
        {5000, 1000, {1000, 1000, 1000, 1000, 1000}},
        {7, 3, {1, 3, 3}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ListWaitSlices(PlanWaitSlices(c.timeout, c.idle, true)), c.slices) << c.timeout << "/" << c.idle;
}

TEST(WaitSlices, UnslicedWaitIsOneSelect)
{
    for (std::int32_t t : {0, 100, 1000, 1100, WaitForever})
        EXPECT_EQ(ListWaitSlices(PlanWaitSlices(t, 250, false)), Slices{t});
}

TEST(WaitSlices, UnlimitedSlicedWaitRepeatsTheIdleSlice)
{
    TWaitSlicePlan plan = PlanWaitSlices(WaitForever, 250, true);
    EXPECT_EQ(plan.First, 250);
    EXPECT_EQ(plan.Rest, 250);
    EXPECT_LT(plan.RestCount, 0);
}

TEST(WaitSlices, NonPositiveIdleTimeOutWaitsInOnePiece)
{
    EXPECT_EQ(ListWaitSlices(PlanWaitSlices(1000, 0, true)), Slices{1000});
    EXPECT_EQ(ListWaitSlices(PlanWaitSlices(1000, -5, true)), Slices{1000});
}

} // namespace
