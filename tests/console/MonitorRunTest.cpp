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
#include "console/MonitorRun.h"

namespace {

// A clock that moves on at every reading, so each row's moment is its own.
TMoment Ticking()
{
    static int readings = 0;
    return {TLocalTime{}, ++readings};
}

// The two lists and the chart's X values, rebuilt from the events alone.
struct ListMirror : TMonitorRunObserver {
    std::deque<std::uint32_t> rows; // newest first, as the reply list shows them
    std::deque<double> chartX;
    int errorRows = 0;

    void EchoAdded(const TMonitorRun& run, const TEchoChange& c) override
    {
        if (c.RemovedOldest)
            rows.pop_back(), chartX.pop_front();
        rows.push_front(run.Echo(0).TripTime);
        chartX.push_back(c.X);
        EXPECT_EQ(c.X, run.EchoCount());
        EXPECT_EQ(c.Y, double(run.Echo(0).TripTime));
    }
    void ErrorAdded(const TMonitorRun&, const TRowChange& c) override
    {
        errorRows += (c.Added ? 1 : 0) - (c.RemovedOldest ? 1 : 0);
    }
    void EchoesCleared(const TMonitorRun&) override { rows.clear(), chartX.clear(); }
    void ErrorsCleared(const TMonitorRun&) override { errorRows = 0; }
};

struct Console {
    TMonitorRun log{Ticking};
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
        log.AddEcho(reply, limit, ignoreFirst);
    }
    void Echoes(int n)
    {
        for (int i = 0; i < n; ++i)
            Echo(static_cast<std::uint32_t>(log.EchoCount()) % 13 * 7);
    }
    void Errors(int n)
    {
        for (int i = 0; i < n; ++i)
            log.AddError({TReplyStatus{}, "host", "date", {}}, limit, limitErrors);
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
            ASSERT_EQ(log.Echo(i).TripTime, rows[static_cast<std::size_t>(i)]);
        for (int i = 1; i < echoRows; ++i)
            ASSERT_GT(log.EchoMoment(i - 1).OffsetMinutes, log.EchoMoment(i).OffsetMinutes) << "newest first";
        EXPECT_THROW(log.EchoMoment(echoRows), std::out_of_range) << "one moment per row, no more";
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
        void EchoAdded(const TMonitorRun& r, const TEchoChange&) override { Say("echo" + std::to_string(r.EchoRows())); }
        void ErrorAdded(const TMonitorRun& r, const TRowChange&) override { Say("error" + std::to_string(r.ErrorRows())); }
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
    TMonitorRun run([] { return TLocalTime{2026, 12, 7, 14, 5, 9}; });
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
    run.AddEcho(TReplyStatus{}, 100, true); // the ignored first: no event
    run.AddEcho(TReplyStatus{}, 100, true);
    run.AddError({}, 100, false);
    run.PublishStatistics();
    EXPECT_EQ(log, "ahost=127.0.0.1 bhost=127.0.0.1 astop bstop adata bdata aavg bavg a3d b3d aecho1 becho1 "
                   "aerror1 berror1 afigures bfigures ");
    EXPECT_EQ(chart.Series(0)->SeriesColor(), 0x00808000u);
    EXPECT_EQ(chart.Series(1)->SeriesColor(), 0x000000FFu);
    EXPECT_TRUE(chart.View3D());
    EXPECT_EQ(DateTimeText(run.Now(), ":"), "07.12.2026 14:05:09");

    log.clear();
    run.Unsubscribe(a);
    run.ClearData();
    run.ClearErrors();
    run.SetRepeating(false);
    EXPECT_EQ(log, "bclear bclearErrors bstart ");
    EXPECT_EQ(chart.Series(0)->Count(), 0);
}
