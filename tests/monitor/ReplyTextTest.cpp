// The columns and cell texts of the reply list and the error log.
#include <gtest/gtest.h>

#include "monitor/ReplyText.h"

namespace {

using Cells = std::vector<std::string>;

TReplyStatus Reply(std::int32_t bytes, const char* from, std::uint8_t type, std::uint16_t seq, std::uint32_t trip,
                   std::uint8_t ttl, int kind)
{
    return {bytes, from, type, seq, trip, ttl, static_cast<TReplyStatusKind>(kind)};
}

TPingRecord Row(const TReplyStatus& reply, const char* host = "", TWallStamp filed = {})
{
    TPingRecord record;
    record.Reply = reply;
    record.Host = host;
    record.Filed = filed;
    return record;
}

// One past the columns too: it is empty.
Cells CellsOf(TRunLog log, const TPingRecord& record)
{
    Cells cells;
    for (int column = 0; column <= static_cast<int>(ListColumns(log).size()); ++column)
        cells.push_back(CellText(log, record, column, ":"));
    return cells;
}

Cells Captions(TRunLog log)
{
    Cells captions;
    for (const TListColumn& column : ListColumns(log))
        captions.push_back(column.Caption + std::string("/") + std::to_string(column.Width) +
                           (column.Align == TColumnAlign::Left ? "L" : "C"));
    return captions;
}

} // namespace

TEST(ReplyText, TheListsColumnsAreDefinedOnce)
{
    EXPECT_EQ(Captions(TRunLog::Echoes), (Cells{"Adress From/100L", "Bytes/40C", "Type/40C", "Seq.ID/80C",
                                                 "Trip time [ms]/100C", "Time to Live/100C"}));
    EXPECT_EQ(Captions(TRunLog::Errors), (Cells{"Adress/100L", "Bytes/40C", "Type/40C", "Seq.ID/60C",
                                                "Trip time [ms]/80C", "Date/Time/130C", "Status/100C"}));
}

TEST(ReplyText, EchoRowsArePlainDecimalWithAnUnsignedTripTime)
{
    EXPECT_EQ(CellsOf(TRunLog::Echoes, Row(Reply(72, "127.0.0.1", 0, 3489, 0, 128, rsEcho))),
              (Cells{"127.0.0.1", "72", "0", "3489", "0", "128", ""}));
    EXPECT_EQ(CellsOf(TRunLog::Echoes, Row(Reply(-1, "203.0.113.10", 255, 65535, 4294967295u, 255, rsEcho))),
              (Cells{"203.0.113.10", "-1", "255", "65535", "4294967295", "255", ""}));
}

TEST(ReplyText, ErrorRowsCarryTheHostBoxTextTheTimeAndTheStatus)
{
    const std::string when = DateTimeText({2024, 3, 5, 7, 8, 9}, ":");
    EXPECT_EQ(when, "05.03.2024 07:08:09");
    EXPECT_EQ(DateTimeText({987, 12, 31, 23, 59, 0}, "."), "31.12.0987 23.59.00");
    // 2024-03-05 06:08:09 UTC, filed at UTC+01:00: shown in its own offset.
    const TWallStamp filed{1709618889000LL, 60};
    EXPECT_EQ(CellsOf(TRunLog::Errors,
                      Row(Reply(100, "198.51.100.1", 3, 17, 1000, 64, rsErrorUnreachable), " now.lab.test ", filed)),
              (Cells{" now.lab.test ", "100", "3", "17", "1000", when, "rsErrorUnreachable", ""}));

    struct Case {
        int kind;
        const char* text;
    };
    const Case statuses[] = {{0, "rsEcho"},           {1, "rsError"},           {2, "rsTimeOut"},
                             {3, "rsErrorUnreachable"}, {4, "rsErrorTTLExceeded"}, {5, "No Status"},
                             {255, "No Status"}};
    for (const Case& c : statuses)
        EXPECT_EQ(CellText(TRunLog::Errors, Row(Reply(0, "", 0, 0, 0, 0, c.kind)), 6, ":"), c.text) << c.kind;
}
