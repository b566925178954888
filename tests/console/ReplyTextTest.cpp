// The cell texts of the reply list and the error log.
#include <gtest/gtest.h>

#include "console/ReplyText.h"

namespace {

using Cells = std::vector<std::string>;

TReplyStatus Reply(std::int32_t bytes, const char* from, std::uint8_t type, std::uint16_t seq, std::uint32_t trip,
                   std::uint8_t ttl, int kind)
{
    return {bytes, from, type, seq, trip, ttl, static_cast<TReplyStatusKind>(kind)};
}

Cells EchoCells(const TReplyStatus& reply)
{
    Cells cells;
    for (int column = 0; column < 7; ++column)
        cells.push_back(EchoCell(reply, column));
    return cells;
}

Cells ErrorCells(const TErrorRow& row)
{
    Cells cells;
    for (int column = 0; column < 8; ++column)
        cells.push_back(ErrorCell(row, column));
    return cells;
}

} // namespace

TEST(ReplyText, EchoRowsArePlainDecimalWithAnUnsignedTripTime)
{
    EXPECT_EQ(EchoCells(Reply(72, "127.0.0.1", 0, 3489, 0, 128, rsEcho)),
              (Cells{"127.0.0.1", "72", "0", "3489", "0", "128", ""}));
    EXPECT_EQ(EchoCells(Reply(-1, "203.0.113.10", 255, 65535, 4294967295u, 255, rsEcho)),
              (Cells{"203.0.113.10", "-1", "255", "65535", "4294967295", "255", ""}));
}

TEST(ReplyText, ErrorRowsCarryTheHostBoxTextTheTimeAndTheStatus)
{
    const std::string when = DateTimeText({2024, 3, 5, 7, 8, 9}, ":");
    EXPECT_EQ(when, "05.03.2024 07:08:09");
    EXPECT_EQ(DateTimeText({987, 12, 31, 23, 59, 0}, "."), "31.12.0987 23.59.00");
    EXPECT_EQ(ErrorCells({Reply(100, "198.51.100.1", 3, 17, 1000, 64, rsErrorUnreachable), " now.lab.test ", when, {}}),
              (Cells{" now.lab.test ", "100", "3", "17", "1000", when, "rsErrorUnreachable", ""}));

    struct Case {
        int kind;
        const char* text;
    };
    const Case statuses[] = {{0, "rsEcho"},           {1, "rsError"},           {2, "rsTimeOut"},
                             {3, "rsErrorUnreachable"}, {4, "rsErrorTTLExceeded"}, {5, "No Status"},
                             {255, "No Status"}};
    for (const Case& c : statuses)
        EXPECT_EQ(ErrorCell({Reply(0, "", 0, 0, 0, 0, c.kind), "h", when, {}}, 6), c.text) << c.kind;
}
