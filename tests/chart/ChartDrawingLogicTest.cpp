// The portable half of the drawing: label text, axis ranges and ticks, the
// layout, the per-column path cut and the mouse's view changes.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <random>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "chart/AxisScale.h"
#include "chart/ChartLayout.h"
#include "chart/ChartMouse.h"
#include "chart/LineSeries.h"
#include "chart/PixelCanvas.h"
#include "chart/ResponseTimeChart.h"
#include "chart/SeriesPath.h"

namespace {

const txt::NumberSeparators kDot{".", ","};

int SixPerChar(const std::string& s)
{
    return static_cast<int>(s.size()) * 6;
}

// The positions of a 300 x 120 canvas that hold the test colour.
std::set<std::pair<int, int>> Painted(const std::vector<std::uint32_t>& bits)
{
    std::set<std::pair<int, int>> px;
    for (int y = 0; y < 120; ++y)
        for (int x = 0; x < 300; ++x)
            if (bits[static_cast<std::size_t>(y * 300 + x)] == 0xABCDEF)
                px.insert({x, y});
    return px;
}

// Pixels a path sets on a 300 x 120 canvas.
std::set<std::pair<int, int>> Raster(const std::vector<TPixelPoint>& path, TPixelRect clip = {0, 0, 300, 120},
                                     int dx = 0, int dy = 0)
{
    std::vector<std::uint32_t> bits(300 * 120, 0);
    DrawPath({bits.data(), 300, 120, 300}, path, 0xABCDEF, clip, dx, dy);
    return Painted(bits);
}

// Pixels of a line through every point drawn one segment at a time: the
// picture the painter's merged spans and per-column cut must reproduce.
std::set<std::pair<int, int>> RasterBySegments(const std::vector<TPixelPoint>& path)
{
    std::vector<std::uint32_t> bits(300 * 120, 0);
    for (std::size_t i = 0; i + 1 < path.size(); ++i)
        DrawPath({bits.data(), 300, 120, 300}, {path[i], path[i + 1]}, 0xABCDEF, {0, 0, 300, 120});
    return Painted(bits);
}

} // namespace

TEST(AxisLabels, FormatGroupsDigitsAndKeepsUpToThreeDecimals)
{
    const txt::NumberSeparators comma{",", "."}, none{".", ""}, nbsp{",", "\xC2\xA0"};
    struct Case {
        double value;
        const txt::NumberSeparators* seps;
        const char* text;
    };
    const Case cases[] = {
        {0, &kDot, "0"},
        {-0.0, &kDot, "0"},
        {7, &kDot, "7"},
        {999, &kDot, "999"},
        {1000, &kDot, "1,000"},
        {1234.5, &kDot, "1,234.5"},
        {-1234567.891, &kDot, "-1,234,567.891"},
        {12.125, &kDot, "12.125"},
        {0.1, &kDot, "0.1"},
        {0.30000000000000004, &kDot, "0.3"},
        {0.0004, &kDot, "0"},
        {-0.0004, &kDot, "0"},
        {-0.0006, &kDot, "-0.001"},
        {999.9996, &kDot, "1,000"},
        {4294967295.0, &kDot, "4,294,967,295"},
        {1234.5, &comma, "1.234,5"},
        {1234.5, &none, "1234.5"},
        {1234567, &nbsp, "1\xC2\xA0" "234\xC2\xA0" "567"},
        {std::nan(""), &kDot, "NaN"},
        {-INFINITY, &kDot, "-INF"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FormatAxisValue(c.value, *c.seps), c.text) << c.value;
    EXPECT_EQ(FormatAxisValue(1e300, kDot).size(), 301u + 100u);
}

TEST(AxisRange, DegenerateExtentsAreWidened)
{
    struct Case {
        TValueRange in, out;
    };
    const Case cases[] = {
        {{0, 0}, {-1, 1}},
        {{25, 25}, {24, 26}},
        {{4294967295.0, 4294967295.0}, {4294967294.0, 4294967296.0}},
        {{1, 3}, {1, 3}},
        {{-5, 100}, {-5, 100}},
        {{NAN, 3}, {-1, 1}},
        {{0, INFINITY}, {-1, 1}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(DisplayRange(c.in), c.out) << c.in.Min << ".." << c.in.Max;
}

TEST(AxisTicks, NiceStepIsOneTwoOrFiveTimesAPowerOfTen)
{
    const std::pair<double, double> cases[] = {
        {0, 0.001}, {-3, 0.001}, {0.0011, 0.002}, {0.3, 0.5}, {1, 1}, {1.1, 2},
        {2.5, 5}, {7, 10}, {30, 50}, {1e9 + 1, 2e9}, {5e-3, 5e-3},
    };
    for (const auto& [in, out] : cases)
        EXPECT_DOUBLE_EQ(NiceStep(in), out) << in;
}

TEST(AxisTicks, LabelsNeverCrowdAndStayInRange)
{
    const TValueRange ranges[] = {{0, 100},     {1, 3},        {-1, 1},     {4294967294.0, 4294967296.0},
                                  {0.5, 0.501}, {5, 15},       {1, 10001},  {-123456, 987654},
                                  {1e17, 1e17 + 64}, {0, 4294967295.0}};
    for (int length : {20, 80, 240}) {
        for (const TValueRange& r : ranges) {
            for (int vertical = 0; vertical < 2; ++vertical) {
                const TLabelExtent extent = vertical ? TLabelExtent([](const std::string&) { return 13; })
                                                     : TLabelExtent(SixPerChar);
                const TAxisTicks t = ChooseTicks(r, length, 4, extent, kDot);
                ASSERT_GT(t.Step, 0);
                const double pxPerUnit = (length - 1) / (r.Max - r.Min);
                if (t.Values.size() > 1) {
                    // Labels never overlap; they give up the gap only where
                    // the next coarser step would leave fewer than two.
                    const double spacing = t.Step * pxPerUnit, coarser = NiceStep(t.Step * 1.5);
                    const double coarserCount =
                        std::floor(r.Max / coarser + 1e-9) - std::ceil(r.Min / coarser - 1e-9) + 1;
                    EXPECT_GE(spacing, t.MaxExtent) << r.Min << ".." << r.Max << " " << length;
                    if (coarserCount >= 2) {
                        EXPECT_GE(spacing, t.MaxExtent + 4) << r.Min << ".." << r.Max << " " << length;
                    }
                }
                for (double v : t.Values) {
                    EXPECT_GE(v, r.Min - t.Step * 1e-6);
                    EXPECT_LE(v, r.Max + t.Step * 1e-6);
                }
                EXPECT_LE(t.Values.size(), static_cast<std::size_t>(length)) << r.Min;
            }
        }
    }
}

TEST(AxisTicks, TypicalAxesGetReadableSteps)
{
    const auto height = [](const std::string&) { return 13; };
    const TAxisTicks y = ChooseTicks({0, 100}, 80, 2, height, kDot);
    EXPECT_EQ(y.Labels, (std::vector<std::string>{"0", "20", "40", "60", "80", "100"}));
    const TAxisTicks x = ChooseTicks({1, 101}, 230, 6, SixPerChar, kDot);
    EXPECT_EQ(x.Step, 20);
    EXPECT_EQ(x.Values.front(), 20);
    EXPECT_EQ(x.Values.back(), 100);
    EXPECT_TRUE(ChooseTicks({0, 0}, 80, 2, height, kDot).Values.empty());
    // A short axis keeps several labels close together rather than one alone.
    EXPECT_EQ(ChooseTicks({18, 99}, 60, 6, height, kDot).Labels,
              (std::vector<std::string>{"20", "40", "60", "80"}));
}

TEST(AxisMap, RoundsAndClampsPixels)
{
    const TAxisMap x{0, 10, 50, 150};
    EXPECT_EQ(x.ToPixel(0), 50);
    EXPECT_EQ(x.ToPixel(10), 150);
    EXPECT_EQ(x.ToPixel(0.04), 50);
    EXPECT_EQ(x.ToPixel(0.06), 51);
    EXPECT_EQ(x.ToPixel(1e12), 30000);
    EXPECT_EQ(x.ToPixel(-1e12), -30000);
    EXPECT_DOUBLE_EQ(x.ToValue(100), 5);
    const TAxisMap y{0, 100, 89, 9}; // Y grows upwards
    EXPECT_EQ(y.ToPixel(100), 9);
    EXPECT_EQ(y.ToPixel(25), 69);
}

TEST(ChartLayoutTest, PlotFitsTheControlAndMakesRoomFor3D)
{
    TChart chart;
    BuildResponseTimeChart(chart);
    for (int i = 1; i <= 101; ++i)
        chart.Series(0)->InsertPoint(i, 1000 + i * 37 % 91);
    const TChartLayout flat = ComputeChartLayout(chart, 273, 100, 13, SixPerChar, kDot);
    EXPECT_EQ(flat.Depth, 0);
    EXPECT_GE(flat.Plot.Left, 2 + SixPerChar("1,090") + 2);
    EXPECT_LE(flat.Plot.Right, 273 - 2);
    EXPECT_GE(flat.Plot.Top, 2);
    EXPECT_LE(flat.Plot.Bottom + 13 + 3, 100);
    EXPECT_GT(flat.Plot.Width(), 150);
    EXPECT_GT(flat.Plot.Height(), 50);
    EXPECT_EQ(flat.XMap.ToPixel(1), flat.Plot.Left);
    EXPECT_EQ(flat.XMap.ToPixel(101), flat.Plot.Right - 1);
    EXPECT_EQ(flat.YMap.ToPixel(chart.YRange().Max), flat.Plot.Top);
    EXPECT_EQ(flat.YMap.ToPixel(chart.YRange().Min), flat.Plot.Bottom - 1);

    chart.SetView3D(true);
    const TChartLayout deep = ComputeChartLayout(chart, 273, 100, 13, SixPerChar, kDot);
    EXPECT_GT(deep.Depth, 5);
    EXPECT_LE(deep.Plot.Right + deep.Depth, 273 - 2);
    EXPECT_GE(deep.Plot.Top - deep.Depth, 2);

    for (auto [w, h] : {std::pair{0, 0}, {5, 5}, {40, 20}}) {
        const TChartLayout tiny = ComputeChartLayout(chart, w, h, 13, SixPerChar, kDot);
        EXPECT_GE(tiny.Plot.Width(), 1) << w;
        EXPECT_GE(tiny.Plot.Height(), 1) << w;
    }
}

TEST(ChartLayoutTest, CompactChartLabelsHaveRoomAroundThem)
{
    struct Case {
        const char* what;
        std::vector<double> trips;
        std::vector<std::string> x, y;
    };
    const Case cases[] = {
        {"empty", {}, {"-1", "-0.5", "0", "0.5", "1"}, {"-1", "0", "1"}},
        {"three replies", {10, 20, 60}, {"1", "1.5", "2", "2.5", "3"}, {"20", "40", "60"}},
        {"equal trips", {25, 25, 25, 25}, {"1", "1.5", "2", "2.5", "3", "3.5", "4"}, {"24", "25", "26"}},
    };
    for (const Case& c : cases) {
        TChart chart;
        BuildResponseTimeChart(chart);
        for (std::size_t i = 0; i < c.trips.size(); ++i)
            chart.Series(0)->InsertPoint(static_cast<double>(i + 1), c.trips[i]);
        const TChartLayout l = ComputeChartLayout(chart, 273, 100, 13, SixPerChar, kDot);
        EXPECT_EQ(l.XTicks.Labels, c.x) << c.what;
        EXPECT_EQ(l.YTicks.Labels, c.y) << c.what;
        for (std::size_t i = 1; i < l.XTicks.Values.size(); ++i)
            EXPECT_GE(l.XMap.ToPixel(l.XTicks.Values[i]) - l.XMap.ToPixel(l.XTicks.Values[i - 1]),
                      l.XTicks.MaxExtent + TChartMetrics::LabelSpacingX - 1)
                << c.what;
    }
}

TEST(ChartLayoutTest, EmptyChartShowsMinusOneToOne)
{
    TChart chart;
    BuildResponseTimeChart(chart);
    const TChartLayout l = ComputeChartLayout(chart, 273, 100, 13, SixPerChar, kDot);
    EXPECT_EQ(l.XRange, (TValueRange{-1, 1}));
    EXPECT_EQ(l.YRange, (TValueRange{-1, 1}));
    chart.ZoomTo({3, 4}, {5, 6});
    EXPECT_EQ(ComputeChartLayout(chart, 273, 100, 13, SixPerChar, kDot).XRange, (TValueRange{3, 4}));
}

TEST(SeriesPath, CutPathPaintsTheSamePixelsAsEveryPoint)
{
    struct Shape {
        const char* name;
        double (*y)(int i);
    };
    const Shape shapes[] = {
        {"noise", [](int i) { return static_cast<double>((i * 7919u * 2654435761u) >> 22 & 1023); }},
        {"wave", [](int i) { return 500 + 450 * std::sin(i / 37.0); }},
        {"steps", [](int i) { return static_cast<double>((i / 300) % 5 * 200); }},
        {"spikes", [](int i) { return i % 997 == 0 ? 1000.0 : 20.0 + i % 3; }},
        {"flat", [](int) { return 512.0; }},
    };
    for (int points : {2, 101, 1000, 10001}) {
        for (const Shape& shape : shapes) {
            TLineSeries s;
            for (int i = 0; i < points; ++i)
                s.InsertPoint(i, shape.y(i));
            // 231 columns, as many as the compact window's plot has.
            const TAxisMap x{0, static_cast<double>(points - 1), 40, 270}, y{0, 1023, 110, 5};
            std::vector<TPixelPoint> every;
            for (int i = 0; i < s.Count(); ++i)
                every.push_back({x.ToPixel(s.XValues()[i]), y.ToPixel(s.YValues()[i])});
            const std::vector<TPixelPoint> cut = SeriesPixelPath(s, x, y);
            EXPECT_LE(cut.size(), 4u * 231u);
            EXPECT_EQ(Raster(cut), RasterBySegments(every)) << shape.name << " " << points;
        }
    }
}

// A path made column by column from the ring (wrapped by trims) and its
// tournament is the path of a walk over every point in view, in the
// automatic view and zoomed, with whole and with fractional values.
TEST(SeriesPath, ColumnRunsGiveThePathOfAWalkOverEveryPoint)
{
    std::mt19937 rng(99);
    for (int points : {3, 101, 1000, 10001}) {
        for (bool whole : {true, false}) {
            TLineSeries s;
            for (int i = 1; i <= points + points / 2 + 7; ++i) {
                if (s.Count() == points)
                    s.RemovePoint(0);
                const double y = rng() % 5 ? 20 + rng() % 40 : rng() % 1000;
                s.InsertPoint(i, whole ? y : y + (rng() % 8) / 8.0);
            }
            std::vector<double> xs, ys;
            for (int i = 0; i < s.Count(); ++i) {
                xs.push_back(s.XValues()[i]);
                ys.push_back(s.YValues()[i]);
            }
            const double lo = xs.front(), hi = xs.back(), w = hi - lo;
            const TAxisMap views[] = {{lo, hi, 40, 270}, {lo + w * 0.3 + 0.4, lo + w * 0.55, 40, 270},
                                      {lo - 3.3, hi + 7, 40, 270}};
            const TAxisMap y{0, 1000, 110, 5};
            for (const TAxisMap& x : views) {
                // In view, and one neighbour each side.
                std::size_t i = std::lower_bound(xs.begin(), xs.end(), x.From) - xs.begin();
                std::size_t end = std::upper_bound(xs.begin(), xs.end(), x.To) - xs.begin();
                TColumnReducer walk(y);
                for (i = i ? i - 1 : 0, end = std::min(end + 1, xs.size()); i < end; ++i)
                    walk.Add(x.ToPixel(xs[i]), ys[i]);
                EXPECT_EQ(SeriesPixelPath(s, x, y), walk.Finish()) << points << " " << whole << " " << x.From;
            }
        }
    }
}

TEST(PixelCanvas, LinesIncludeBothEndsAndStayClipped)
{
    using Px = std::set<std::pair<int, int>>;
    EXPECT_EQ(Raster({{5, 5}}), Px{});
    EXPECT_EQ(Raster({{5, 5}, {5, 5}}), Px{});
    EXPECT_EQ(Raster({{5, 5}, {5, 5}, {5, 6}}), (Px{{5, 5}, {5, 6}}));
    EXPECT_EQ(Raster({{2, 1}, {5, 1}}), (Px{{2, 1}, {3, 1}, {4, 1}, {5, 1}}));
    EXPECT_EQ(Raster({{3, 4}, {3, 1}}), (Px{{3, 4}, {3, 3}, {3, 2}, {3, 1}}));
    EXPECT_EQ(Raster({{0, 0}, {3, 3}}), (Px{{0, 0}, {1, 1}, {2, 2}, {3, 3}}));
    EXPECT_EQ(Raster({{0, 0}, {2, 0}, {2, 2}}), (Px{{0, 0}, {1, 0}, {2, 0}, {2, 1}, {2, 2}}));
    // A shallow line steps once per column and moves by one row in all.
    const Px shallow = Raster({{10, 10}, {20, 11}});
    EXPECT_EQ(shallow.size(), 11u);
    for (const auto& [x, y] : shallow)
        EXPECT_TRUE(y == 10 || y == 11) << x;
    // Clipping and the 3D offset.
    EXPECT_EQ(Raster({{0, 2}, {9, 2}}, {3, 0, 6, 120}), (Px{{3, 2}, {4, 2}, {5, 2}}));
    EXPECT_EQ(Raster({{0, 0}, {0, 50}}, {0, 10, 300, 12}), (Px{{0, 10}, {0, 11}}));
    EXPECT_EQ(Raster({{1, 5}, {3, 5}}, {0, 0, 300, 120}, 2, -2), (Px{{3, 3}, {4, 3}, {5, 3}}));
    EXPECT_EQ(Raster({{-30000, -30000}, {30000, 30000}}).size(), 120u) << "far ends, clipped to the canvas";
}

// A ribbon paints what its copies drawn one by one paint: random paths that
// leave the plot and the canvas, at depths from none to more than a word of
// rows.
TEST(PixelCanvas, RibbonIsItsCopiesDrawnOneByOne)
{
    std::mt19937 rng(5);
    const TPixelRect plot{20, 30, 260, 100};
    for (int round = 0; round < 200; ++round) {
        std::vector<TPixelPoint> path;
        for (int n = 1 + static_cast<int>(rng() % 40), x = 0; n > 0; --n) {
            x += static_cast<int>(rng() % 3) * static_cast<int>(rng() % 20);
            path.push_back({x, static_cast<int>(rng() % 140) - 10});
        }
        const int zFront = static_cast<int>(rng() % 4), zBack = zFront + static_cast<int>(rng() % (round % 10 ? 14 : 80));
        std::vector<std::uint32_t> ribbon(300 * 120, 0), copies(300 * 120, 0);
        DrawRibbon({ribbon.data(), 300, 120, 300}, path, 0xABCDEF, plot, zBack, zFront);
        for (int z = zBack; z > zFront; --z)
            for (int dx : {z, z - 1})
                DrawPath({copies.data(), 300, 120, 300}, path, 0xABCDEF,
                         {plot.Left + dx, plot.Top - z, plot.Right + dx, plot.Bottom - z}, dx, -z);
        ASSERT_EQ(Painted(ribbon), Painted(copies)) << round;
    }
}

TEST(SeriesPath, HandMadeRunsKeepTheirExtremes)
{
    struct Case {
        std::vector<TPixelPoint> in, out;
    };
    const Case cases[] = {
        {{{0, 5}}, {{0, 5}}},
        {{{0, 5}, {0, 5}, {0, 5}}, {{0, 5}}},
        {{{0, 5}, {0, 3}, {0, 7}, {0, 6}}, {{0, 5}, {0, 3}, {0, 7}, {0, 6}}},
        {{{0, 5}, {0, 7}, {0, 3}, {0, 7}, {0, 4}, {0, 6}}, {{0, 5}, {0, 7}, {0, 3}, {0, 6}}},
        {{{0, 3}, {0, 9}, {1, 9}, {1, 1}, {2, 4}}, {{0, 3}, {0, 9}, {1, 9}, {1, 1}, {2, 4}}},
    };
    for (const Case& c : cases) {
        TColumnReducer r({0, 1, 0, 1}); // values are pixels here
        for (TPixelPoint p : c.in)
            r.Add(p.X, p.Y);
        EXPECT_EQ(r.Finish(), c.out);
        EXPECT_EQ(Raster(c.out), Raster(c.in));
    }
}

TEST(SeriesPath, ZoomedViewVisitsOnlyTheVisiblePointsAndTheirNeighbours)
{
    TLineSeries s;
    for (int i = 0; i < 1000; ++i)
        s.InsertPoint(i, i % 2 ? 10 : 0);
    s.InsertPoint(500, NAN); // left out, the line bridges it
    const std::vector<TPixelPoint> path = SeriesPixelPath(s, {500, 504, 0, 400}, {0, 10, 100, 0});
    ASSERT_FALSE(path.empty());
    EXPECT_EQ(path.front(), (TPixelPoint{-100, 0}));
    EXPECT_EQ(path.back(), (TPixelPoint{500, 0}));
    EXPECT_EQ(path.size(), 7u);
}

class ChartMouseTest : public ::testing::Test {
protected:
    ChartMouseTest()
    {
        BuildResponseTimeChart(chart);
        for (int i = 0; i <= 100; ++i)
            chart.Series(0)->InsertPoint(i, i * 2);
        layout = ComputeChartLayout(chart, 273, 100, 13, SixPerChar, kDot);
    }
    int Px(double x) const { return layout.XMap.ToPixel(x); }
    int Py(double y) const { return layout.YMap.ToPixel(y); }

    TChart chart;
    TChartLayout layout;
    TChartMouse mouse;
};

TEST_F(ChartMouseTest, LeftDragDownRightZoomsIntoTheRectangle)
{
    ASSERT_TRUE(mouse.Down(TChartButton::Left, Px(20), Py(150), chart, layout));
    EXPECT_TRUE(mouse.Move(Px(60), Py(50), chart, layout));
    ASSERT_TRUE(mouse.RubberBand());
    EXPECT_EQ(mouse.RubberBand()->Left, Px(20));
    EXPECT_TRUE(mouse.Up(TChartButton::Left, Px(60), Py(50), chart, layout));
    ASSERT_TRUE(chart.Zoomed());
    EXPECT_NEAR(chart.ViewX().Min, 20, 0.5);
    EXPECT_NEAR(chart.ViewX().Max, 60, 0.5);
    EXPECT_NEAR(chart.ViewY().Min, 50, 2);
    EXPECT_NEAR(chart.ViewY().Max, 150, 2);
    EXPECT_FALSE(mouse.RubberBand());
}

TEST_F(ChartMouseTest, LeftDragUpOrLeftReturnsToTheAutomaticView)
{
    for (auto [dx, dy] : {std::pair{-30, -20}, {-30, 10}, {10, -30}}) {
        chart.ZoomTo({10, 20}, {0, 50});
        const int x0 = Px(50), y0 = Py(100);
        ASSERT_TRUE(mouse.Down(TChartButton::Left, x0, y0, chart, layout));
        mouse.Move(x0 + dx, y0 + dy, chart, layout);
        EXPECT_FALSE(mouse.RubberBand());
        EXPECT_TRUE(mouse.Up(TChartButton::Left, x0 + dx, y0 + dy, chart, layout));
        EXPECT_FALSE(chart.Zoomed()) << dx << "," << dy;
    }
}

TEST_F(ChartMouseTest, ClicksAndSmallDragsChangeNothing)
{
    for (auto [dx, dy] : {std::pair{0, 0}, {3, 3}, {10, 2}, {-2, 3}}) {
        const int x0 = Px(50), y0 = Py(100);
        mouse.Down(TChartButton::Left, x0, y0, chart, layout);
        mouse.Move(x0 + dx, y0 + dy, chart, layout);
        EXPECT_FALSE(mouse.Up(TChartButton::Left, x0 + dx, y0 + dy, chart, layout));
        EXPECT_FALSE(chart.Zoomed());
    }
}

TEST_F(ChartMouseTest, RightDragScrollsWithThePointer)
{
    const TValueRange x = layout.XRange, y = layout.YRange;
    ASSERT_TRUE(mouse.Down(TChartButton::Right, 100, 50, chart, layout));
    EXPECT_FALSE(mouse.Down(TChartButton::Left, 100, 50, chart, layout)) << "one drag at a time";
    EXPECT_TRUE(mouse.Move(110, 50, chart, layout));
    EXPECT_TRUE(mouse.Move(120, 40, chart, layout)); // no repaint in between: moves add up
    EXPECT_FALSE(mouse.Up(TChartButton::Left, 120, 40, chart, layout));
    EXPECT_FALSE(mouse.Up(TChartButton::Right, 120, 40, chart, layout));
    ASSERT_TRUE(chart.Zoomed());
    const double perPixelX = (x.Max - x.Min) / (layout.Plot.Width() - 1);
    const double perPixelY = (y.Max - y.Min) / (layout.Plot.Height() - 1);
    EXPECT_NEAR(chart.ViewX().Min, x.Min - 20 * perPixelX, 1e-9);
    EXPECT_NEAR(chart.ViewX().Max, x.Max - 20 * perPixelX, 1e-9);
    EXPECT_NEAR(chart.ViewY().Min, y.Min - 10 * perPixelY, 1e-9);
    EXPECT_FALSE(mouse.Dragging());
}

TEST_F(ChartMouseTest, SwitchedOffInteractionsDoNotStart)
{
    chart.AllowZoom = false;
    chart.AllowPanning = false;
    EXPECT_FALSE(mouse.Down(TChartButton::Left, 100, 50, chart, layout));
    EXPECT_FALSE(mouse.Down(TChartButton::Right, 100, 50, chart, layout));
    EXPECT_FALSE(mouse.Down(TChartButton::Middle, 100, 50, chart, layout));
    chart.AllowZoom = true;
    ASSERT_TRUE(mouse.Down(TChartButton::Left, Px(10), Py(150), chart, layout));
    mouse.Move(Px(30), Py(100), chart, layout);
    EXPECT_TRUE(mouse.Cancel());
    EXPECT_FALSE(mouse.Dragging());
    EXPECT_FALSE(chart.Zoomed());
}
