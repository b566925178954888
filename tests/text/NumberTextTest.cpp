// Number text: rounding half up on the exact decimal value, grouping and the
// locale's separators.
#include <gtest/gtest.h>

#include "text/NumberText.h"

TEST(NumberText, RoundsHalfUpOnTheExactValueAndGroupsThousands)
{
    const txt::NumberSeparators english{".", ","};
    const txt::NumberSeparators german{",", "."};
    const txt::NumberSeparators french{",", "\xA0"};
    const txt::NumberSeparators noGrouping{",", ""};
    struct Case {
        std::uint64_t numerator, denominator;
        int decimals;
        const txt::NumberSeparators& separators;
        const char* text;
    };
    const Case cases[] = {
        {0, 0, 2, english, "0.00"}, // an empty list
        {0, 5, 2, english, "0.00"},
        {0, 0, 2, german, "0,00"},
        {97, 8, 2, english, "12.13"}, // 12.125
        {1234567, 1000, 2, english, "1,234.57"},
        {1234, 1, 0, english, "1,234"},
        {3, 1, 0, english, "3"},
        {201, 200, 2, english, "1.01"},  // 1.005, just below as a double
        {1001, 200, 2, english, "5.01"}, // 5.005, just below as a double
        {1, 3, 2, english, "0.33"},
        {2, 3, 2, english, "0.67"},
        {5, 2, 0, english, "3"},
        {99995, 1000, 2, english, "100.00"},
        {999999, 1000, 2, english, "1,000.00"},
        {999999, 1000, 0, english, "1,000"},
        {100, 1, 2, english, "100.00"},
        {123456, 1, 0, english, "123,456"},
        {1234567, 1000, 2, german, "1.234,57"},
        {1234567, 1000, 2, french, "1\xA0" "234,57"},
        {1234567, 1000, 2, noGrouping, "1234,57"},
        // The largest sum 10001 rows can hold, over those rows.
        {4294967295ull * 10001, 10001, 2, english, "4,294,967,295.00"},
        {4294967295ull * 10001 - 5000, 10001, 2, english, "4,294,967,294.50"},
        {18446744073709551615ull, 1, 0, english, "18,446,744,073,709,551,615"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(txt::FormatQuotient(c.numerator, c.denominator, c.decimals, c.separators), c.text)
            << c.numerator << " / " << c.denominator;
}
