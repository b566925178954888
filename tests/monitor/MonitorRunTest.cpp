// The monitoring run's rules, watched by a mirror of what a list and a chart
// do with each change and, below the largest limit (where the chart's own
// average makes it slow under the sanitizers), by the real chart feed on the
// real chart: rows and points must follow the run exactly.
#include <gtest/gtest.h>

#include <deque>
#include <numeric>
#include <stdexcept>
#include <string>

#include "chart/Chart.h"
#include "chart/ChartSeries.h"
#include "chart/ResponseTimeChart.h"
#include "console/ChartFeed.h"
#include "monitor/MonitorRun.h"
#include "monitor/ReplyText.h"

namespace {

// A clock that moves on at every reading, so each row's moment is its own.
TClockReading Ticking()
{
    static int readings = 0;
    ++readings;
    return {TInstant(TDuration(readings * 1000)), {readings * 1000LL, 0}};
}

// The two lists and the chart's X values, rebuilt from the events alone.
struct ListMirror : TMonitorRunObserver {
    std::deque<std::uint32_t> rows; // newest first, as the reply list shows them
    std::deque<double> chartX;
    int errorRows = 0;

    void EchoAdded(const TMonitorRun& run, const TPingRecord& record, bool removedOldest) override
    {
        if (removedOldest)
            rows.pop_back(), chartX.pop_front();
        rows.push_front(record.Reply.TripTime);
        chartX.push_back(record.EchoNumber);
        EXPECT_EQ(&record, &run.Echo(0)) << "the event carries the record the run keeps";
        EXPECT_EQ(record.EchoNumber, run.EchoCount());
    }
    void FailureAdded(const TMonitorRun& run, const TPingRecord& record, bool removedOldest) override
    {
        EXPECT_EQ(&record, &run.Error(0));
        errorRows += 1 - (removedOldest ? 1 : 0);
    }
    void EchoesCleared(const TMonitorRun&) override { rows.clear(), chartX.clear(); }
    void ErrorsCleared(const TMonitorRun&) override { errorRows = 0; }
};

struct Console {
    TMonitorRun log{Ticking};
    TListLimits Limits() const { return {limit, limitErrors, ignoreFirst}; }
    TChart chart;
    TChartFeed feed{chart};
    ListMirror lists;
    int limit = 100;
    bool ignoreFirst = false;
    bool limitErrors = false;
    bool fedChart = false;

    explicit Console(int lineLimit = 100) : limit(lineLimit), fedChart(lineLimit < 10000)
    {
        BuildResponseTimeChart(chart);
        if (fedChart)
            log.Subscribe(feed);
        log.Subscribe(lists);
    }
    void Echo(std::uint32_t trip)
    {
        TReplyStatus reply;
        reply.TripTime = trip;
        log.AddReply(reply, trip, false, "", Limits());
    }
    void Echoes(int n)
    {
        for (int i = 0; i < n; ++i)
            Echo(static_cast<std::uint32_t>(log.EchoCount()) % 13 * 7);
    }
    void Errors(int n)
    {
        for (int i = 0; i < n; ++i)
            log.AddReply(TReplyStatus{.Kind = rsTimeOut}, 1000, false, "host", Limits());
    }
    void ClearData() { log.ClearData(); }
    void ClearErrors() { log.ClearErrors(); }

    // The run agrees with the mirror, the chart holds a point per row with X
    // values running to the newest reply's number, and the average is that
    // of exactly the rows held.
    void Check(int echoRows, int errors, double firstX) const
    {
        const std::deque<std::uint32_t>& rows = lists.rows;
        const std::deque<double>& chartX = lists.chartX;
        ASSERT_EQ(log.EchoRows(), echoRows);
        ASSERT_EQ(static_cast<int>(rows.size()), echoRows);
        ASSERT_EQ(log.ErrorRows(), errors);
        ASSERT_EQ(lists.errorRows, errors);
        for (int i = 0; i < echoRows; ++i)
            ASSERT_EQ(log.Echo(i).Reply.TripTime, rows[static_cast<std::size_t>(i)]);
        for (int i = 1; i < echoRows; ++i)
            ASSERT_GT(log.Echo(i - 1).Filed.UtcMs, log.Echo(i).Filed.UtcMs) << "newest first";
        EXPECT_THROW(log.Echo(echoRows), std::out_of_range) << "one record per row, no more";
        const std::uint64_t sum = std::accumulate(rows.begin(), rows.end(), std::uint64_t{0});
        EXPECT_EQ(log.TripTimeSum(), sum);
        EXPECT_EQ(log.AverageTripTime(), rows.empty() ? 0.0 : double(sum) / double(rows.size()));
        if (echoRows > 0) {
            EXPECT_EQ(chartX.front(), firstX);
            EXPECT_EQ(chartX.back(), log.EchoCount());
            EXPECT_EQ(chartX.back() - chartX.front() + 1, echoRows);
        }
        if (!fedChart)
            return;
        const TChartSeries& data = *chart.Series(0);
        ASSERT_EQ(data.Count(), echoRows);
        for (int i = 0; i < echoRows; ++i) {
            const auto point = static_cast<std::size_t>(echoRows - 1 - i);
            ASSERT_EQ(data.XValues()[point], chartX[point]);
            ASSERT_EQ(data.YValues()[point], double(rows[static_cast<std::size_t>(i)]));
        }
    }
};

} // namespace

TEST(MonitorRun, ListsSettleAtTheLimitPlusOne)
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
        Console con(c.limit);
        con.limitErrors = c.limitErrors;
        con.Echoes(c.echoes);
        con.Errors(c.errors);
        con.Check(c.echoRows, c.errorRows, c.firstX);
    }
}

TEST(MonitorRun, ALoweredLimitShrinksNothingUntilAClear)
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

TEST(MonitorRun, IgnoreFirstPingDropsTheFirstEchoAfterAClear)
{
    Console con;
    con.ignoreFirst = true;
    con.Errors(3); // errors do not count
    con.Echo(40);
    con.Check(0, 3, 0);
    con.Echo(50);
    con.Check(1, 3, 2);
    EXPECT_EQ(con.log.Echo(0).Reply.TripTime, 50u);

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
    EXPECT_EQ(late.log.EchoCount(), 1);
}

TEST(MonitorRun, TheAverageIsExactOverTheLargestTripTimes)
{
    Console con(10000);
    for (int i = 0; i < 10001; ++i)
        con.Echo(4294967295u);
    con.Check(10001, 0, 1);
    EXPECT_EQ(con.log.TripTimeSum(), 4294967295ull * 10001);
    EXPECT_EQ(con.log.AverageTripTime(), 4294967295.0);
}

// Every observer hears every change once, in the order they subscribed, and
// only while subscribed; the chart feed carries the colours and the view.
TEST(MonitorRun, ObserversHearEachChangeInTurn)
{
    struct Recorder : TMonitorRunObserver {
        std::string& log;
        char name;
        Recorder(std::string& l, char n) : log(l), name(n) {}
        void Say(const std::string& what) { log += std::string(1, name) + what + " "; }
        void EchoAdded(const TMonitorRun& r, const TPingRecord&, bool) override
        {
            Say("echo" + std::to_string(r.EchoRows()));
        }
        void FailureAdded(const TMonitorRun& r, const TPingRecord&, bool) override
        {
            Say("error" + std::to_string(r.ErrorRows()));
        }
        void NotSentAdded(const TMonitorRun&, const TPingRecord& p) override { Say("notsent:" + p.Message); }
        void EchoesCleared(const TMonitorRun&) override { Say("clear"); }
        void ErrorsCleared(const TMonitorRun&) override { Say("clearErrors"); }
        void StatisticsChanged(const TMonitorRun&) override { Say("figures"); }
        void HostChanged(const TMonitorRun& r) override { Say("host=" + r.Host()); }
        void RepeatChanged(const TMonitorRun& r) override { Say(r.Repeating() ? "stop" : "start"); }
        void DataColorChanged(const TMonitorRun&) override { Say("data"); }
        void AverageColorChanged(const TMonitorRun&) override { Say("avg"); }
        void View3DChanged(const TMonitorRun&) override { Say("3d"); }
    };
    std::string log;
    Recorder a(log, 'a'), b(log, 'b');
    // 2026-12-07 14:05:09 at UTC+01:00, 5 s into the monotonic clock.
    TMonitorRun run([] { return TClockReading{TInstant(std::chrono::seconds(5)), {1796648709000LL, 60}}; });
    TChart chart;
    BuildResponseTimeChart(chart);
    TChartFeed feed(chart);
    run.Subscribe(a);
    run.Subscribe(feed);
    run.Subscribe(b);

    run.SetHost("127.0.0.1");
    run.SetRepeating(true);
    run.SetDataColor(0x00808000);
    run.SetAverageColor(0x000000FF);
    run.SetView3D(true);
    const TListLimits ignoreFirst{100, false, true};
    EXPECT_FALSE(run.AddReply(TReplyStatus{}, 250, false, "h", ignoreFirst)); // the ignored first: no event
    EXPECT_TRUE(run.AddReply(TReplyStatus{.TripTime = 1}, 1250, false, "h", ignoreFirst));
    run.AddReply(TReplyStatus{.Kind = rsErrorUnreachable}, 300, false, " lab ", ignoreFirst);
    run.AddNotSent("nowhere", "Host not found");
    run.PublishStatistics();
    EXPECT_EQ(log, "ahost=127.0.0.1 bhost=127.0.0.1 astop bstop adata bdata aavg bavg a3d b3d aecho1 becho1 "
                   "aerror1 berror1 anotsent:Host not found bnotsent:Host not found afigures bfigures ");
    // One clock reading per record: filed now, sent a trip time before.
    const TPingRecord& echo = run.Echo(0);
    EXPECT_EQ(echo.Outcome, TPingOutcome::Echo);
    EXPECT_EQ(echo.TripUs, 1250u);
    EXPECT_EQ(echo.EchoNumber, 2);
    EXPECT_EQ(echo.Sent, TInstant(std::chrono::microseconds(5000000 - 1250)));
    EXPECT_EQ(echo.Ended(), TInstant(std::chrono::seconds(5)));
    EXPECT_EQ(run.Error(0).Outcome, TPingOutcome::Failure);
    EXPECT_EQ(run.Error(0).Host, " lab ");
    EXPECT_EQ(DateTimeText(run.Error(0).Filed.Local(), ":"), "07.12.2026 14:05:09");
    EXPECT_EQ(chart.Series(0)->SeriesColor(), 0x00808000u);
    EXPECT_EQ(chart.Series(1)->SeriesColor(), 0x000000FFu);
    EXPECT_TRUE(chart.View3D());

    log.clear();
    run.Unsubscribe(a);
    run.ClearData();
    run.ClearErrors();
    run.SetRepeating(false);
    EXPECT_EQ(log, "bclear bclearErrors bstart ");
    EXPECT_EQ(chart.Series(0)->Count(), 0);
}
