// Failure marks: they follow the data series' trims and clears without
// touching its points or the axis ranges, sit between the pixels of their two
// points (packed against the right edge after the newest), and draw as ticks
// or, crowded, as one lighter band, also across the 3D floor.
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <random>
#include <vector>

#include "chart/Chart.h"
#include "chart/FailureBands.h"
#include "chart/ResponseTimeChart.h"

namespace {

// A 200-pixel plot whose X map puts X = 1 .. 11 twenty pixels apart.
TChartLayout Layout(int depth = 0)
{
    TChartLayout l;
    l.Plot = {10, 10, 211, 60};
    l.Depth = depth;
    l.XMap = {1, 11, 10, 210};
    return l;
}

std::vector<double> AfterXs(const TChart& chart)
{
    std::vector<double> x;
    for (const TFailureGroup& g : chart.FailureMarks().Groups())
        x.push_back(g.AfterX);
    return x;
}

} // namespace

TEST(FailureMarks, FollowTheDataSeriesAndLeaveItAlone)
{
    TChart chart;
    BuildResponseTimeChart(chart);
    TChartSeries& data = *chart.Series(0);
    const double before = -std::numeric_limits<double>::infinity();
    chart.AddFailureMark();
    for (int x = 1; x <= 4; ++x) {
        data.InsertPoint(x, 10.0 * x);
        chart.AddFailureMark();
    }
    chart.AddFailureMark();
    EXPECT_EQ(AfterXs(chart), (std::vector<double>{before, 1, 2, 3, 4}));
    EXPECT_EQ(chart.FailureMarks().Groups().back().Count, 2u);
    EXPECT_EQ(chart.XRange(), (TValueRange{1, 4}));
    EXPECT_EQ(chart.YRange(), (TValueRange{10, 40}));
    EXPECT_EQ(data.Count(), 4);

    data.RemovePoint(0); // the oldest point takes the marks on either side of it
    EXPECT_EQ(AfterXs(chart), (std::vector<double>{2, 3, 4}));
    data.ClearPoints();
    EXPECT_TRUE(chart.FailureMarks().Empty());
    chart.Series(1)->ClearPoints();
    chart.AddFailureMark();
    EXPECT_EQ(AfterXs(chart), (std::vector<double>{before}));
}

TEST(FailureMarks, BandsSitBetweenTheirPoints)
{
    TChart chart;
    BuildResponseTimeChart(chart);
    TChartSeries& data = *chart.Series(0);
    TFailureMarks marks;
    marks.Add(-std::numeric_limits<double>::infinity());
    for (int x = 1; x <= 11; ++x)
        data.InsertPoint(x, 1);
    marks.Add(2);
    for (int i = 0; i < 3; ++i)
        marks.Add(5);
    for (int i = 0; i < 9; ++i)
        marks.Add(6); // 9 ticks need 35 pixels; 19 are free
    for (int i = 0; i < 4; ++i)
        marks.Add(11); // after the newest point
    const std::vector<TMarkBand> bands = FailureBands(marks, data, Layout());
    EXPECT_EQ(bands, (std::vector<TMarkBand>{
                         {10, 13, 1, false}, // before the first point: against the left edge
                         {39, 42, 1, false},
                         {95, 106, 3, false},
                         {111, 130, 9, true},
                         {196, 211, 4, false},
                     }));
}

TEST(FailureMarks, DrawAsTicksOrABandAcrossTheFloor)
{
    std::vector<std::uint32_t> bits(240 * 80, 0);
    const TPixelCanvas canvas{bits.data(), 240, 80, 240};
    const std::uint32_t red = 0x000000C8; // 0x00BBGGRR
    DrawFailureBands(canvas, {{100, 107, 2, false}, {150, 160, 7, true}}, Layout(3), red);
    auto at = [&](int x, int y) { return bits[static_cast<std::size_t>(y * 240 + x)]; };
    EXPECT_EQ(at(100, 59), 0xC80000u); // canvas layout 0x00RRGGBB
    EXPECT_EQ(at(101, 55), 0xC80000u);
    EXPECT_EQ(at(106, 59), 0xC80000u);
    EXPECT_EQ(at(103, 59), 0u) << "the gap between two ticks";
    EXPECT_EQ(at(100, 53), 0u) << "six rows high";
    EXPECT_EQ(at(155, 59), 0xDE6666u) << "a crowded band is lighter";
    EXPECT_EQ(at(162, 56), 0x6E0000u) << "the floor, three pixels back, is darker";
    EXPECT_EQ(at(163, 56), 0u);
}

TEST(FailureMarks, TheirColourStaysApartFromBothSeries)
{
    struct Case {
        std::uint32_t a, b, mark;
    } cases[] = {
        {0x00808000, 0x0000FFFF, 0x002020E6}, // teal and yellow: red
        {0x000000FF, 0x0000FFFF, 0x00E620E6}, // a red series: magenta
        {0x00FF00FF, 0x000000FF, 0x00FFFFFF}, // magenta and red: white
    };
    for (const Case& k : cases)
        EXPECT_EQ(FailureMarkColor(k.a, k.b), k.mark) << std::hex << k.a << " " << k.b;
}

// The bands left after the groups that would only repeat pixels are left out
// paint what every group's own band paints, flat and in 3D, in the automatic
// view and zoomed, over series trimmed by many replies; and at most two
// bands per pixel column come out.
TEST(FailureMarks, BandsLeftOutWouldOnlyPaintTheSamePixels)
{
    std::mt19937 rng(8);
    for (int points : {40, 10001}) {
        for (unsigned failEvery : {1u, 2u, 8u}) {
            TChart chart;
            BuildResponseTimeChart(chart);
            TChartSeries& data = *chart.Series(0);
            for (int x = 1; x <= points + 300; ++x) {
                for (unsigned k = rng() % failEvery ? 0 : 1 + rng() % 12; k > 0; --k)
                    chart.AddFailureMark();
                if (data.Count() == points)
                    data.RemovePoint(0);
                data.InsertPoint(x, 20);
            }
            chart.AddFailureMark();
            const double lo = data.XValues()[0], hi = data.XValues()[data.Count() - 1], w = hi - lo;
            for (TAxisMap view : {TAxisMap{lo, hi, 10, 240}, TAxisMap{lo + w * 0.4 + 0.3, lo + w * 0.6, 10, 240},
                                  TAxisMap{lo - 2.5, hi - w * 0.9, 10, 240}}) {
                for (int depth : {0, 3}) {
                    TChartLayout l = Layout(depth);
                    l.Plot = {10, 10, 241, 60};
                    l.XMap = view;
                    // Each group's band alone, drawn alone: first with the
                    // floor, then the front faces again over every floor.
                    std::vector<std::uint32_t> all(260 * 70, 0), each(260 * 70, 0);
                    const TPixelCanvas canvas{each.data(), 260, 70, 260};
                    TChartLayout front = l;
                    front.Depth = 0;
                    data.XValues().Order = loNone; // every group walked, none left out
                    const std::vector<TMarkBand> own = FailureBands(chart.FailureMarks(), data, l);
                    data.XValues().Order = loAscending;
                    for (const TChartLayout& pass : {l, front})
                        for (const TMarkBand& b : own)
                            DrawFailureBands(canvas, {b}, pass, 0x002020E6);
                    const std::vector<TMarkBand> bands = FailureBands(chart.FailureMarks(), data, l);
                    EXPECT_LE(bands.size(), 2u * 231 + 2) << points << " " << failEvery;
                    DrawFailureBands({all.data(), 260, 70, 260}, bands, l, 0x002020E6);
                    EXPECT_EQ(all, each) << points << " " << failEvery << " " << view.From << " " << depth;
                }
            }
        }
    }
}
