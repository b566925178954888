// The chart model as the console drives it: points in, trimming, clearing,
// the average line, the links between series and the repaint requests.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <algorithm>
#include <bit>
#include <deque>
#include <functional>
#include <limits>
#include <random>
#include <vector>

#include "chart/AverageTeeFunction.h"
#include "chart/Chart.h"
#include "chart/ChartError.h"
#include "chart/LineSeries.h"
#include "chart/ResponseTimeChart.h"
#include "console/ChartFeed.h"
#include "monitor/MonitorRun.h"

namespace {

struct Point {
    double x, y;
    bool operator==(const Point&) const = default;
};

std::vector<Point> PointsOf(const TChartSeries& s)
{
    std::vector<Point> p;
    for (int i = 0; i < s.Count(); ++i)
        p.push_back({s.XValues()[i], s.YValues()[i]});
    return p;
}

// The console's side: its monitoring run, which feeds the chart through the
// real feed.
struct Console {
    TMonitorRun run{[] { return TClockReading{}; }};
    TChartFeed feed;
    int limit = 100;

    explicit Console(TChart& chart) : feed(chart) { run.Subscribe(feed); }
    void Reply(std::uint32_t tripTime)
    {
        TReplyStatus reply;
        reply.TripTime = tripTime;
        run.AddReply(reply, 0, false, "", {limit, false, false});
    }
    void ClearData() { run.ClearData(); }
};

class ResponseTimeChartTest : public ::testing::Test {
protected:
    ResponseTimeChartTest() { BuildResponseTimeChart(chart); }
    TChartSeries& Data() { return *chart.Series(0); }
    TChartSeries& Average() { return *chart.Series(1); }

    TChart chart;
    Console console{chart};
};

} // namespace

TEST_F(ResponseTimeChartTest, StartsEmptyWithLinkedSeries)
{
    ASSERT_EQ(chart.SeriesCount(), 2);
    EXPECT_EQ(Data().Count(), 0);
    EXPECT_EQ(Average().Count(), 0);
    EXPECT_EQ(Average().DataSource(), &Data());
    ASSERT_EQ(Data().Dependents().size(), 1u);
    EXPECT_EQ(Data().Dependents()[0], &Average());
    EXPECT_NE(dynamic_cast<TAverageTeeFunction*>(Average().FunctionType()), nullptr);
    EXPECT_EQ(Data().FunctionType(), nullptr);
    EXPECT_EQ(Data().SeriesColor(), 0x00CFC278u);
    EXPECT_EQ(Average().SeriesColor(), 0x0000FFFFu);
    EXPECT_EQ(Data().XValues().Order, loAscending);
    EXPECT_EQ(Data().YValues().Order, loNone);
    EXPECT_EQ(Data().XValues().Multiplier, 1.0);
    EXPECT_FALSE(chart.View3D());
    EXPECT_EQ(chart.BackImageMode, pbmTile);
    EXPECT_EQ(chart.BackImage.Width, 279);
    EXPECT_EQ(chart.BackImage.Height, 103);
    EXPECT_EQ(chart.BackWall.BrushStyle, bsClear);
    EXPECT_FALSE(chart.Legend.Visible);
    EXPECT_FALSE(chart.Title.Visible);
    EXPECT_EQ(chart.Title.Text, "TChart");
    EXPECT_EQ(chart.BevelOuter, bvNone);
    for (const TChartAxis* axis : {&chart.LeftAxis, &chart.BottomAxis}) {
        EXPECT_EQ(axis->AxisValuesFormat, "#,##0.###");
        EXPECT_EQ(axis->LabelsFont.Name, "Arial");
        EXPECT_EQ(axis->LabelsFont.Size, 8);
        EXPECT_EQ(axis->LabelsFont.Color, 0x00FFFFFFu);
        EXPECT_EQ(axis->LabelsFont.Style, 0u);
    }
    EXPECT_EQ(chart.BottomAxis.TitleFont.Name, "Arial");
    EXPECT_EQ(chart.BottomAxis.TitleFont.Color, 0x00FFFFFFu);
    EXPECT_EQ(chart.BottomAxis.Title, "");
    for (int i = 0; i < 2; ++i) {
        const auto& s = dynamic_cast<const TLineSeries&>(*chart.Series(i));
        EXPECT_FALSE(s.Pointer.Visible) << i;
        EXPECT_FALSE(s.Marks.Visible) << i;
        EXPECT_EQ(s.YValues().Multiplier, 1.0) << i;
        const TRecalcOptions& o = s.RecalcOptions;
        EXPECT_TRUE(o.OnDelete && o.OnModify && o.OnInsert && o.OnClear) << i;
    }
}

TEST_F(ResponseTimeChartTest, NoPointsGiveNoAverageAndZeroRanges)
{
    Average().FunctionType()->Recompute();
    EXPECT_EQ(Average().Count(), 0);
    EXPECT_EQ(chart.XRange(), (TValueRange{0, 0}));
    EXPECT_EQ(chart.YRange(), (TValueRange{0, 0}));
}

TEST_F(ResponseTimeChartTest, AverageSpansTheDataAtTheMean)
{
    struct Case {
        std::vector<Point> data;
        std::vector<Point> average;
    };
    const Case cases[] = {
        {{{1, 25}}, {{1, 25}, {1, 25}}},
        {{{1, 10}, {2, 20}, {3, 60}}, {{1, 30}, {3, 30}}},
        {{{1, 0}, {2, 0}}, {{1, 0}, {2, 0}}},
        {{{7, 4294967295.0}, {8, 1}}, {{7, 2147483648.0}, {8, 2147483648.0}}},
    };
    for (const Case& c : cases) {
        console.ClearData();
        for (const Point& p : c.data)
            Data().InsertPoint(p.x, p.y);
        Average().FunctionType()->Recompute();
        EXPECT_EQ(PointsOf(Data()), c.data);
        EXPECT_EQ(PointsOf(Average()), c.average);
    }
}

TEST_F(ResponseTimeChartTest, RepliesTrimToLimitPlusOne)
{
    console.limit = 10;
    std::vector<double> trips;
    for (int i = 1; i <= 15; ++i) {
        console.Reply(static_cast<std::uint32_t>(i * 7 % 23));
        trips.push_back(i * 7 % 23);
    }
    ASSERT_EQ(Data().Count(), 11);
    double sum = 0;
    for (int i = 0; i < 11; ++i) {
        EXPECT_EQ(Data().XValues()[i], 5 + i);
        sum += trips[static_cast<std::size_t>(4 + i)];
    }
    EXPECT_EQ(PointsOf(Average()), (std::vector<Point>{{5, sum / 11}, {15, sum / 11}}));
}

TEST_F(ResponseTimeChartTest, LoweredLimitKeepsTheSize)
{
    for (int i = 0; i < 150; ++i)
        console.Reply(20);
    ASSERT_EQ(Data().Count(), 101);
    console.limit = 10;
    for (int i = 0; i < 30; ++i) {
        console.Reply(30);
        ASSERT_EQ(Data().Count(), 101);
    }
    EXPECT_EQ(Data().XValues()[0], 80);
    EXPECT_EQ(Data().XValues()[100], 180);
}

TEST_F(ResponseTimeChartTest, ClearingEmptiesBothSeriesWithoutRecompute)
{
    for (std::uint32_t t : {5u, 9u, 13u})
        console.Reply(t);
    ASSERT_EQ(Average().Count(), 2);
    int cleared = 0;
    Data().OnClearValues = [&](TChartSeries& s) {
        EXPECT_EQ(&s, &Data());
        ++cleared;
    };
    console.ClearData();
    EXPECT_EQ(cleared, 1);
    EXPECT_EQ(Data().Count(), 0);
    EXPECT_EQ(Average().Count(), 0);
    console.Reply(40);
    EXPECT_EQ(PointsOf(Data()), (std::vector<Point>{{1, 40}}));
}

TEST_F(ResponseTimeChartTest, TripTimesKeepTheirUnsignedValue)
{
    console.Reply(0);
    console.Reply(4294967295u);
    EXPECT_EQ(Data().YValues()[0], 0.0);
    EXPECT_EQ(Data().YValues()[1], 4294967295.0);
    EXPECT_EQ(chart.YRange(), (TValueRange{0, 4294967295.0}));
    EXPECT_EQ(Average().YValues()[0], 4294967295.0 / 2);
}

TEST_F(ResponseTimeChartTest, PointsTakeTheSeriesColourAndAnEmptyLabel)
{
    console.Reply(12);
    EXPECT_EQ(Data().Colors()[0], UseSeriesColor);
    EXPECT_EQ(Data().Labels()[0], "");
    EXPECT_EQ(Data().PointColor(0), 0x00CFC278u);
    Data().SetSeriesColor(0x00808000);
    EXPECT_EQ(Data().PointColor(0), 0x00808000u);
    EXPECT_EQ(Average().PointColor(1), 0x0000FFFFu);
}

TEST_F(ResponseTimeChartTest, RepaintsOnlyOnARealChange)
{
    struct Step {
        const char* what;
        std::function<void()> act;
        unsigned long repaints;
    };
    const Step steps[] = {
        {"same data colour", [&] { Data().SetSeriesColor(0x00CFC278); }, 0},
        {"new data colour", [&] { Data().SetSeriesColor(0x00808000); }, 1},
        {"same again", [&] { Data().SetSeriesColor(0x00808000); }, 0},
        {"new average colour", [&] { Average().SetSeriesColor(0x000000FF); }, 1},
        {"3D off while off", [&] { chart.SetView3D(false); }, 0},
        {"3D on", [&] { chart.SetView3D(true); }, 1},
        {"3D on while on", [&] { chart.SetView3D(true); }, 0},
        {"3D off", [&] { chart.SetView3D(false); }, 1},
    };
    int callbacks = 0;
    chart.OnInvalidate = [&] { ++callbacks; };
    for (const Step& s : steps) {
        const unsigned long before = chart.InvalidateCount();
        s.act();
        EXPECT_EQ(chart.InvalidateCount() - before, s.repaints) << s.what;
    }
    EXPECT_EQ(callbacks, 4);
    EXPECT_FALSE(chart.View3D());
}

TEST_F(ResponseTimeChartTest, EveryPointOperationAsksForARepaint)
{
    const std::function<void()> ops[] = {
        [&] { Data().InsertPoint(1, 2); },
        [&] { Data().RemovePoint(0); },
        [&] { Data().ClearPoints(); },
        [&] { Average().FunctionType()->Recompute(); },
    };
    for (const auto& op : ops) {
        const unsigned long before = chart.InvalidateCount();
        op();
        EXPECT_GT(chart.InvalidateCount(), before);
    }
}

TEST_F(ResponseTimeChartTest, EveryChangeGivesTheSeriesANewStamp)
{
    const std::function<void()> changes[] = {
        [&] { Data().InsertPoint(1, 2); },
        [&] { Data().SetYValue(0, 3); },
        [&] { Data().SetSeriesColor(0x00123456); },
        [&] { Data().SetActive(false); },
        [&] { Data().RemovePoint(0); },
        [&] { Data().ClearPoints(); },
    };
    std::vector<std::uint64_t> seen = {Average().ChangeStamp()};
    for (const auto& change : changes) {
        change();
        EXPECT_EQ(std::count(seen.begin(), seen.end(), Data().ChangeStamp()), 0);
        seen.push_back(Data().ChangeStamp());
    }
    const std::uint64_t still = Data().ChangeStamp();
    Data().SetSeriesColor(0x00123456);
    Data().XValues().MinValue();
    EXPECT_EQ(Data().ChangeStamp(), still);
}

TEST_F(ResponseTimeChartTest, InsertAndRemoveLeaveTheAverageStaleUntilRecompute)
{
    console.Reply(10);
    console.Reply(20);
    const auto before = PointsOf(Average());
    Data().InsertPoint(3, 90);
    EXPECT_EQ(PointsOf(Average()), before);
    Data().RemovePoint(0);
    EXPECT_EQ(PointsOf(Average()), before);
    Average().FunctionType()->Recompute();
    EXPECT_EQ(PointsOf(Average()), (std::vector<Point>{{2, 55}, {3, 55}}));
}

// The average line after random replies under changing limits, with clears
// between, is the mean of a plain pass over the data series, bit for bit.
TEST_F(ResponseTimeChartTest, AverageIsThePlainMeanBitForBit)
{
    std::mt19937 rng(4711);
    double x = 0;
    for (int reply = 0; reply < 6000; ++reply) {
        const int limit = reply < 3000 ? 10 + reply % 7 : 1000;
        if (rng() % 500 == 0)
            Data().ClearPoints();
        if (Data().Count() > limit)
            Data().RemovePoint(0);
        const std::uint32_t trip = rng() % 3 ? rng() % 300 : static_cast<std::uint32_t>(rng());
        Data().InsertPoint(++x, trip);
        Average().FunctionType()->Recompute();
        double sum = 0;
        for (const Point& p : PointsOf(Data()))
            sum += p.y;
        const double mean = sum / Data().Count();
        ASSERT_EQ(Average().Count(), 2) << reply;
        ASSERT_EQ(std::bit_cast<std::uint64_t>(Average().YValues()[0]), std::bit_cast<std::uint64_t>(mean)) << reply;
        ASSERT_EQ(PointsOf(Average()).back(), (Point{x, mean})) << reply;
        ASSERT_EQ(Average().XValues()[0], Data().XValues()[0]) << reply;
    }
}

TEST(ChartLoading, TheAverageIsRebuiltOnceLoadingEnds)
{
    TChart chart;
    chart.BeginLoading();
    auto& data = chart.AddSeries<TLineSeries>();
    auto& avg = chart.AddSeries<TLineSeries>();
    avg.SetFunction(std::make_unique<TAverageTeeFunction>());
    avg.SetDataSource(&data);
    data.InsertPoint(1, 4);
    data.InsertPoint(2, 8);
    avg.FunctionType()->Recompute();
    EXPECT_EQ(avg.Count(), 0);
    // Every rebuild starts by clearing the average series.
    int rebuilds = 0;
    avg.OnClearValues = [&](TChartSeries&) { ++rebuilds; };
    chart.EndLoading();
    EXPECT_EQ(rebuilds, 1);
    EXPECT_EQ(PointsOf(avg), (std::vector<Point>{{1, 6}, {2, 6}}));
    chart.EndLoading();
    EXPECT_EQ(rebuilds, 1) << "loading ends only once";
}

TEST(ChartFunction, RecomputeNeedsAChartAndAnotherSeriesAsSource)
{
    TLineSeries loose;
    loose.SetFunction(std::make_unique<TAverageTeeFunction>());
    TLineSeries source;
    source.InsertPoint(1, 1);
    loose.SetDataSource(&source);
    loose.FunctionType()->Recompute();
    EXPECT_EQ(loose.Count(), 0) << "a series on no chart is left alone";

    TChart chart;
    auto& avg = chart.AddSeries<TLineSeries>();
    avg.SetFunction(std::make_unique<TAverageTeeFunction>());
    avg.InsertPoint(5, 5);
    avg.FunctionType()->Recompute();
    EXPECT_EQ(avg.Count(), 1) << "without a source nothing is cleared";
    EXPECT_THROW(avg.SetDataSource(&avg), std::invalid_argument);
}

TEST(ChartFunction, NegativePeriodIsRefused)
{
    TAverageTeeFunction f;
    EXPECT_EQ(f.Period(), 0);
    EXPECT_EQ(f.PeriodStyle, psNumPoints);
    EXPECT_EQ(f.PeriodAlign, paCenter);
    for (double bad : {-1.0, -0.001, -std::numeric_limits<double>::infinity(), std::nan("")}) {
        try {
            f.SetPeriod(bad);
            ADD_FAILURE() << "accepted " << bad;
        } catch (const EChartError& e) {
            EXPECT_STREQ(e.what(), "Function Period should be >= 0");
        }
        EXPECT_EQ(f.Period(), 0);
    }
    f.SetPeriod(0);
    f.SetPeriod(2.5);
    EXPECT_EQ(f.Period(), 2.5);
}

TEST(ChartFunction, PositivePeriodAveragesGroups)
{
    struct Case {
        double period;
        TFunctionPeriodStyle style;
        TFunctionPeriodAlign align;
        std::vector<Point> expected;
    };
    // Source: (1,2) (2,4) (3,6) (4,8) (5,10)
    const Case cases[] = {
        {2, psNumPoints, paCenter, {{1.5, 3}, {3.5, 7}, {5, 10}}},
        {2, psNumPoints, paFirst, {{1, 3}, {3, 7}, {5, 10}}},
        {2, psNumPoints, paLast, {{2, 3}, {4, 7}, {5, 10}}},
        {0.5, psNumPoints, paFirst, {{1, 2}, {2, 4}, {3, 6}, {4, 8}, {5, 10}}},
        {3, psRange, paFirst, {{1, 4}, {4, 9}}},
    };
    for (const Case& c : cases) {
        TChart chart;
        auto& data = chart.AddSeries<TLineSeries>();
        auto& avg = chart.AddSeries<TLineSeries>();
        auto f = std::make_unique<TAverageTeeFunction>();
        f->SetPeriod(c.period);
        f->PeriodStyle = c.style;
        f->PeriodAlign = c.align;
        avg.SetFunction(std::move(f));
        avg.SetDataSource(&data);
        for (int i = 1; i <= 5; ++i)
            data.InsertPoint(i, 2 * i);
        avg.FunctionType()->Recompute();
        EXPECT_EQ(PointsOf(avg), c.expected) << c.period << " " << c.style << " " << c.align;
    }
}

TEST(ChartSeriesOrder, InsertScansBackwardsAndPutsEqualXAfter)
{
    TChart chart;
    auto& s = chart.AddSeries<TLineSeries>();
    struct Step {
        double x;
        const char* label;
        int index;
    };
    const Step steps[] = {
        {5, "a", 0}, {7, "b", 1}, {3, "c", 0}, {5, "d", 2}, {5, "e", 3}, {8, "f", 5}, {-1, "g", 0}, {7, "h", 6},
    };
    for (const Step& st : steps)
        EXPECT_EQ(s.InsertPoint(st.x, st.x * 10, st.label, 0x123), st.index) << st.label;
    const std::deque<std::string> labels = {"g", "c", "a", "d", "e", "b", "h", "f"};
    EXPECT_EQ(s.Labels(), labels);
    for (int i = 0; i < s.Count(); ++i)
        EXPECT_EQ(s.YValues()[i], s.XValues()[i] * 10);
    EXPECT_EQ(s.PointColor(0), 0x123u);

    // A removal takes the point's colour and label with it, from the same index.
    s.InsertPoint(6, 60);
    ASSERT_EQ(s.Labels()[5], "");
    s.RemovePoint(5);
    s.RemovePoint(2);
    EXPECT_EQ(s.Labels(), (std::deque<std::string>{"g", "c", "d", "e", "b", "h", "f"}));
    EXPECT_EQ(s.Colors(), (std::deque<std::uint32_t>(7, 0x123u)));
    for (int i = 0; i < s.Count(); ++i)
        EXPECT_EQ(s.YValues()[i], s.XValues()[i] * 10);
}

TEST(ChartSeriesOrder, RemovingAMissingPointThrows)
{
    TLineSeries s;
    EXPECT_THROW(s.RemovePoint(0), std::out_of_range);
    s.InsertPoint(1, 1);
    EXPECT_THROW(s.RemovePoint(1), std::out_of_range);
    EXPECT_THROW(s.RemovePoint(-1), std::out_of_range);
    s.RemovePoint(0);
    EXPECT_EQ(s.Count(), 0);
}

TEST(ChartPropagation, PlainDependentsFollowTheirSwitches)
{
    struct Case {
        TRecalcOptions options;
        std::vector<Point> afterInsert, afterModify, afterDelete, afterClear;
    };
    const std::vector<Point> one = {{1, 10}}, two = {{1, 10}, {2, 20}}, changed = {{1, 10}, {2, 25}};
    const std::vector<Point> rest = {{2, 25}}, staleRest = {{2, 20}};
    const Case cases[] = {
        {{}, two, changed, rest, {}},
        {{.OnDelete = false}, two, changed, changed, {}},
        {{.OnModify = false}, two, two, staleRest, {}},
        // A change in place rebuilds the copy, so it catches up with the missed insert.
        {{.OnInsert = false}, one, changed, rest, {}},
        {{.OnClear = false}, two, changed, rest, rest},
    };
    for (const Case& c : cases) {
        TChart chart;
        auto& src = chart.AddSeries<TLineSeries>();
        auto& copy = chart.AddSeries<TLineSeries>();
        src.InsertPoint(1, 10);
        copy.RecalcOptions = c.options;
        copy.SetDataSource(&src); // takes the points already there
        src.InsertPoint(2, 20);
        EXPECT_EQ(PointsOf(copy), c.afterInsert);
        src.SetYValue(1, 25);
        EXPECT_EQ(PointsOf(copy), c.afterModify);
        src.RemovePoint(0);
        EXPECT_EQ(PointsOf(copy), c.afterDelete);
        src.ClearPoints();
        EXPECT_EQ(PointsOf(copy), c.afterClear);
    }
}

TEST(ChartPropagation, ModifyRebuildsComputedDependents)
{
    TChart chart;
    auto& data = chart.AddSeries<TLineSeries>();
    auto& avg = chart.AddSeries<TLineSeries>();
    auto& copyOfAvg = chart.AddSeries<TLineSeries>();
    avg.SetFunction(std::make_unique<TAverageTeeFunction>());
    avg.SetDataSource(&data);
    copyOfAvg.SetDataSource(&avg);
    data.InsertPoint(1, 10);
    data.InsertPoint(2, 30);
    avg.FunctionType()->Recompute();
    EXPECT_EQ(PointsOf(copyOfAvg), (std::vector<Point>{{1, 20}, {2, 20}}));
    data.SetYValue(1, 50);
    EXPECT_EQ(PointsOf(avg), (std::vector<Point>{{1, 30}, {2, 30}}));
    EXPECT_EQ(PointsOf(copyOfAvg), (std::vector<Point>{{1, 30}, {2, 30}}));
    avg.RecalcOptions.OnModify = false;
    data.SetYValue(1, 10);
    EXPECT_EQ(PointsOf(avg), (std::vector<Point>{{1, 30}, {2, 30}}));
}

TEST(ChartPropagation, RebuildFromAnEmptySourceRefreshesNoDependents)
{
    // A copy of the average that ignores clears shows whether the empty
    // rebuild went on to refresh its dependents: a refresh would empty it.
    TChart chart;
    auto& data = chart.AddSeries<TLineSeries>();
    auto& avg = chart.AddSeries<TLineSeries>();
    auto& copyOfAvg = chart.AddSeries<TLineSeries>();
    avg.SetFunction(std::make_unique<TAverageTeeFunction>());
    avg.SetDataSource(&data);
    copyOfAvg.RecalcOptions.OnClear = false;
    copyOfAvg.SetDataSource(&avg);
    data.InsertPoint(1, 10);
    data.InsertPoint(3, 30);
    avg.FunctionType()->Recompute();
    const std::vector<Point> line = {{1, 20}, {3, 20}};
    ASSERT_EQ(PointsOf(copyOfAvg), line);

    data.ClearPoints();
    EXPECT_EQ(avg.Count(), 0);
    avg.FunctionType()->Recompute();
    EXPECT_EQ(avg.Count(), 0);
    EXPECT_EQ(PointsOf(copyOfAvg), line);
}

TEST(ChartPropagation, DestroyingEitherEndUnlinks)
{
    auto src = std::make_unique<TLineSeries>();
    {
        TLineSeries dep;
        dep.SetDataSource(src.get());
        EXPECT_EQ(src->Dependents().size(), 1u);
    }
    EXPECT_TRUE(src->Dependents().empty());
    TLineSeries dep;
    dep.SetDataSource(src.get());
    src.reset();
    EXPECT_EQ(dep.DataSource(), nullptr);
}

TEST(ChartRange, CoversActiveSeriesOnly)
{
    TChart chart;
    auto& a = chart.AddSeries<TLineSeries>();
    auto& b = chart.AddSeries<TLineSeries>();
    a.InsertPoint(2, -5);
    a.InsertPoint(4, 7);
    b.InsertPoint(10, 100);
    EXPECT_EQ(chart.XRange(), (TValueRange{2, 10}));
    EXPECT_EQ(chart.YRange(), (TValueRange{-5, 100}));
    b.SetActive(false);
    EXPECT_EQ(chart.XRange(), (TValueRange{2, 4}));
    EXPECT_EQ(chart.YRange(), (TValueRange{-5, 7}));
}

TEST(ChartView, ZoomAndUndoAskForRepaintsOnlyWhenTheViewChanges)
{
    TChart chart;
    const unsigned long start = chart.InvalidateCount();
    chart.UndoZoom();
    chart.ZoomTo({1, 1}, {0, 5}); // empty rectangle: refused
    EXPECT_FALSE(chart.Zoomed());
    chart.ZoomTo({1, 2}, {0, 5});
    EXPECT_TRUE(chart.Zoomed());
    EXPECT_EQ(chart.ViewX(), (TValueRange{1, 2}));
    chart.ZoomTo({1, 2}, {0, 5});
    chart.UndoZoom();
    EXPECT_FALSE(chart.Zoomed());
    EXPECT_EQ(chart.InvalidateCount() - start, 2u);
}
