// Numbers as people read them: integer digits grouped by three, with the
// locale's decimal and grouping separators passed in (ReadLocaleSeparators
// in toolkit/LocaleText.h reads them on Windows). Portable.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace txt {

// The user's decimal and digit-grouping separators.
struct NumberSeparators {
    std::string Decimal = ".";
    std::string Thousand = ",";
};

// A minus sign when `negative`, the integer `digits` grouped by three, and
// the `fraction` after the decimal separator unless it is empty.
std::string GroupedNumber(bool negative, std::string_view digits, std::string_view fraction,
                          const NumberSeparators& separators);

// Fixed point with `decimals` decimals, rounded half up on the exact quotient
// numerator / denominator, so that an average is rounded on the decimal value
// a person would work out (201 / 200 = 1.005 gives "1.01"), not on the
// nearest double. A denominator of 0 gives 0.
std::string FormatQuotient(std::uint64_t numerator, std::uint64_t denominator, int decimals,
                           const NumberSeparators& separators);

inline std::string FormatNumber(std::uint64_t value, int decimals, const NumberSeparators& separators)
{
    return FormatQuotient(value, 1, decimals, separators);
}

} // namespace txt
