#include "text/IntegerText.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string_view>

namespace {

struct Case {
    std::string_view text;
    std::optional<std::int32_t> value;
};

TEST(IntegerText, ReadsDecimalAndEveryHexPrefixAndRefusesTheRest)
{
    const Case cases[] = {
        {"1000", 1000},        {"-5", -5},         {"+7", 7},
        {"  42", 42},          {"0x3E8", 1000},    {"0X3e8", 1000},
        {"$3E8", 1000},        {"x3E8", 1000},     {"X3e8", 1000},
        {"-$10", -16},         {"$FFFFFFFF", -1},  {"$80000000", INT32_MIN},
        {"2147483647", INT32_MAX}, {"-2147483648", INT32_MIN},
        {"2147483648", std::nullopt}, {"$100000000", std::nullopt},
        {"", std::nullopt},    {"-", std::nullopt}, {"$", std::nullopt},
        {"0x", std::nullopt},  {"abc", std::nullopt}, {"12 ", std::nullopt},
        {"1.5", std::nullopt}, {"1e3", std::nullopt}, {"$G", std::nullopt},
        {"99999999999999999999", std::nullopt}, {std::string_view("1\0", 2), std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(txt::ParseInteger(c.text), c.value) << '"' << c.text << '"';
    EXPECT_EQ(txt::ParseIntegerOr("junk", 1000), 1000);
}

} // namespace
