// The reply-log rules, played against a mirror of what the window does with
// each change: the rows and the chart's X values must follow the log exactly.
#include <gtest/gtest.h>

#include <deque>
#include <numeric>

#include "console/ReplyLog.h"

namespace {

struct Console {
    TReplyLog log;
    double FEchoCount = 0;
    int limit = 100;
    bool ignoreFirst = false;
    bool limitErrors = false;
    std::deque<std::uint32_t> rows; // newest first, as the reply list shows them
    std::deque<double> chartX;
    int errorRows = 0;

    void Echo(std::uint32_t trip)
    {
        TReplyStatus reply;
        reply.TripTime = trip;
        const TRowChange c = log.AddEcho(FEchoCount, reply, limit, ignoreFirst);
        if (c.RemovedOldest)
            rows.pop_back(), chartX.pop_front();
        if (c.Added)
            rows.push_front(trip), chartX.push_back(FEchoCount);
    }
    void Echoes(int n)
    {
        for (int i = 0; i < n; ++i)
            Echo(static_cast<std::uint32_t>(FEchoCount) % 13 * 7);
    }
    void Errors(int n)
    {
        for (int i = 0; i < n; ++i) {
            const TRowChange c = log.AddError({TReplyStatus{}, "host", "date"}, limit, limitErrors);
            errorRows += (c.Added ? 1 : 0) - (c.RemovedOldest ? 1 : 0);
        }
    }
    void ClearData()
    {
        log.ClearEchoes();
        rows.clear();
        chartX.clear();
        FEchoCount = 0;
    }
    void ClearErrors()
    {
        log.ClearErrors();
        errorRows = 0;
    }

    // The log agrees with the mirror, the chart's X values run to the newest
    // reply's number, and the average is that of exactly the rows held.
    void Check(int echoRows, int errors, double firstX) const
    {
        ASSERT_EQ(log.EchoRows(), echoRows);
        ASSERT_EQ(static_cast<int>(rows.size()), echoRows);
        ASSERT_EQ(log.ErrorRows(), errors);
        ASSERT_EQ(errorRows, errors);
        for (int i = 0; i < echoRows; ++i)
            ASSERT_EQ(log.Echo(i).TripTime, rows[static_cast<std::size_t>(i)]);
        const std::uint64_t sum = std::accumulate(rows.begin(), rows.end(), std::uint64_t{0});
        EXPECT_EQ(log.TripTimeSum(), sum);
        EXPECT_EQ(log.AverageTripTime(), rows.empty() ? 0.0 : double(sum) / double(rows.size()));
        if (echoRows > 0) {
            EXPECT_EQ(chartX.front(), firstX);
            EXPECT_EQ(chartX.back(), FEchoCount);
            EXPECT_EQ(chartX.back() - chartX.front() + 1, echoRows);
        }
    }
};

} // namespace

TEST(ReplyLog, ListsSettleAtTheLimitPlusOne)
{
    struct Case {
        int limit;
        bool limitErrors;
        int echoes, errors;
        int echoRows, errorRows;
        double firstX;
    };
    const Case cases[] = {
        {100, false, 150, 150, 101, 150, 50},
        {100, true, 150, 150, 101, 101, 50},
        {100, true, 101, 101, 101, 101, 1},
        {100, true, 102, 102, 101, 101, 2},
        {10, true, 15, 15, 11, 11, 5},
        {10, false, 5, 20, 5, 20, 1},
        {10000, true, 10005, 10005, 10001, 10001, 5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "limit " << c.limit << ", " << c.echoes << " replies");
        Console con;
        con.limit = c.limit;
        con.limitErrors = c.limitErrors;
        con.Echoes(c.echoes);
        con.Errors(c.errors);
        con.Check(c.echoRows, c.errorRows, c.firstX);
    }
}

TEST(ReplyLog, ALoweredLimitShrinksNothingUntilAClear)
{
    Console con;
    con.limitErrors = true;
    con.Echoes(150);
    con.Errors(150);
    con.limit = 10;
    con.Echoes(20);
    con.Errors(20);
    con.Check(101, 101, 70);

    con.ClearData();
    con.Check(0, 101, 0);
    con.Echoes(15);
    con.Check(11, 101, 5);

    con.ClearErrors();
    con.Errors(15);
    con.Check(11, 11, 5);
}

TEST(ReplyLog, IgnoreFirstPingDropsTheFirstEchoAfterAClear)
{
    Console con;
    con.ignoreFirst = true;
    con.Errors(3); // errors do not count
    con.Echo(40);
    con.Check(0, 3, 0);
    con.Echo(50);
    con.Check(1, 3, 2);
    EXPECT_EQ(con.log.Echo(0).TripTime, 50u);

    // Without a clear the counter runs on: nothing more is dropped.
    con.Echo(60);
    con.Check(2, 3, 2);

    // Switched on after replies were counted: nothing dropped until a clear.
    Console late;
    late.Echoes(2);
    late.ignoreFirst = true;
    late.Echo(9);
    late.Check(3, 0, 1);
    late.ClearData();
    late.Echo(9);
    late.Check(0, 0, 0);
    EXPECT_EQ(late.FEchoCount, 1);
}

TEST(ReplyLog, TheAverageIsExactOverTheLargestTripTimes)
{
    Console con;
    con.limit = 10000;
    for (int i = 0; i < 10001; ++i)
        con.Echo(4294967295u);
    con.Check(10001, 0, 1);
    EXPECT_EQ(con.log.TripTimeSum(), 4294967295ull * 10001);
    EXPECT_EQ(con.log.AverageTripTime(), 4294967295.0);
}
