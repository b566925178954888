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

} // namespace

TEST(ReplyText, EchoRowsArePlainDecimalWithAnUnsignedTripTime)
{
    EXPECT_EQ(EchoRowCells(Reply(72, "127.0.0.1", 0, 3489, 0, 128, rsEcho)),
              (Cells{"127.0.0.1", "72", "0", "3489", "0", "128"}));
    EXPECT_EQ(EchoRowCells(Reply(65535, "203.0.113.10", 255, 65535, 4294967295u, 255, rsEcho)),
              (Cells{"203.0.113.10", "65535", "255", "65535", "4294967295", "255"}));
}

TEST(ReplyText, ErrorRowsCarryTheHostBoxTextTheTimeAndTheStatus)
{
    const TLocalTime t{2024, 3, 5, 7, 8, 9};
    EXPECT_EQ(ErrorRowCells(Reply(100, "198.51.100.1", 3, 17, 1000, 64, rsErrorUnreachable), " now.lab.test ", t, ":"),
              (Cells{" now.lab.test ", "100", "3", "17", "1000", "05.03.2024 07:08:09", "rsErrorUnreachable"}));
    EXPECT_EQ(DateTimeText({987, 12, 31, 23, 59, 0}, "."), "31.12.0987 23.59.00");

    struct Case {
        int kind;
        const char* text;
    };
    const Case statuses[] = {{0, "rsEcho"},           {1, "rsError"},           {2, "rsTimeOut"},
                             {3, "rsErrorUnreachable"}, {4, "rsErrorTTLExceeded"}, {5, "No Status"},
                             {255, "No Status"}};
    for (const Case& c : statuses)
        EXPECT_EQ(ErrorRowCells(Reply(0, "", 0, 0, 0, 0, c.kind), "h", t, ":").back(), c.text) << c.kind;
}
