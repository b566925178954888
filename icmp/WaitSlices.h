// How a socket wait of T milliseconds is cut into select calls so that window
// messages can be serviced between them. Portable.
#pragma once

#include <cstdint>
#include <vector>

inline constexpr std::int32_t WaitForever = -2;

struct TWaitSlicePlan {
    std::int32_t First = 0;     // the first select; WaitForever for no limit
    std::int32_t Rest = 0;      // every later select
    std::int32_t RestCount = 0; // how many later selects at most; -1 until data arrives
};

// sliced: responsive waiting applies to the calling thread, with slices of
// idleTimeOut. A sliced wait of T > I is a first slice of T - k*I (1 to I)
// and then k slices of I, k = ceil(T / I) - 1; an unlimited one is slices of
// I until data arrives. Otherwise the wait is one select of T.
TWaitSlicePlan PlanWaitSlices(std::int32_t timeout, std::int32_t idleTimeOut, bool sliced);

// Every slice of a bounded plan in order (for checks and diagnostics).
std::vector<std::int32_t> ListWaitSlices(const TWaitSlicePlan& plan);
