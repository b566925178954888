#include "text/NumberText.h"

namespace txt {

std::string GroupedNumber(bool negative, std::string_view digits, std::string_view fraction,
                          const NumberSeparators& separators)
{
    std::string out = negative ? "-" : "";
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0)
            out += separators.Thousand;
        out += digits[i];
    }
    if (!fraction.empty()) {
        out += separators.Decimal;
        out += fraction;
    }
    return out;
}

std::string FormatQuotient(std::uint64_t numerator, std::uint64_t denominator, int decimals,
                           const NumberSeparators& separators)
{
    if (denominator == 0)
        numerator = 0, denominator = 1;
    std::string digits = std::to_string(numerator / denominator);
    // Long division one decimal at a time: the remainder stays below the
    // denominator (a row count), so ten times it never overflows.
    std::uint64_t rest = numerator % denominator;
    std::string fraction;
    for (int i = 0; i < decimals; ++i) {
        rest *= 10;
        fraction += static_cast<char>('0' + rest / denominator);
        rest %= denominator;
    }
    // Half up: the dropped part is at least one half exactly when twice the
    // remainder reaches the denominator.
    if (rest >= denominator - rest) {
        std::string all = digits + fraction;
        std::size_t i = all.size();
        while (i > 0 && all[i - 1] == '9')
            all[--i] = '0';
        if (i == 0)
            all.insert(all.begin(), '1');
        else
            ++all[i - 1];
        digits = all.substr(0, all.size() - fraction.size());
        fraction = all.substr(digits.size());
    }

    return GroupedNumber(false, digits, fraction, separators);
}

} // namespace txt
