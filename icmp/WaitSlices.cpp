#include "icmp/WaitSlices.h"

TWaitSlicePlan PlanWaitSlices(std::int32_t timeout, std::int32_t idleTimeOut, bool sliced)
{
    // A slice length of zero or less would never shorten the wait; such a
    // setting waits in one piece.
    if (!sliced || idleTimeOut <= 0)
        return {timeout, 0, 0};
    if (timeout == WaitForever)
        return {idleTimeOut, idleTimeOut, -1};
    if (timeout <= idleTimeOut)
        return {timeout, 0, 0};
    std::int32_t k = (timeout - 1) / idleTimeOut; // ceil(T / I) - 1 for T > 0
    return {timeout - k * idleTimeOut, idleTimeOut, k};
}

std::vector<std::int32_t> ListWaitSlices(const TWaitSlicePlan& plan)
{
    std::vector<std::int32_t> slices{plan.First};
    for (std::int32_t i = 0; i < plan.RestCount; ++i)
        slices.push_back(plan.Rest);
    return slices;
}
