// Number text as the console's labels show it: fixed point with a given
// number of decimals, rounded half up, integer digits grouped by three, the
// locale's separators passed in. Portable.
#pragma once

#include <cstdint>
#include <string>

#include "chart/AxisScale.h"

// The exact quotient numerator / denominator, so that an average is rounded
// on the decimal value a person would work out (201 / 200 = 1.005 gives
// "1.01"), not on the nearest double. A denominator of 0 gives 0.
std::string FormatQuotient(std::uint64_t numerator, std::uint64_t denominator, int decimals,
                           const TNumberSeparators& separators);

inline std::string FormatNumber(std::uint64_t value, int decimals, const TNumberSeparators& separators)
{
    return FormatQuotient(value, 1, decimals, separators);
}
