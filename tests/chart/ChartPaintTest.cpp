// The chart as painted into a memory bitmap: the tile where nothing is
// drawn, the lines where the points are, the average over the data, the 3D
// view; the labels' separators from the locale.
#include <windows.h>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "chart/ChartPainter.h"
#include "chart/LineSeries.h"
#include "toolkit/LocaleText.h"
#include "chart/ResponseTimeChart.h"
#include "tests/chart/PngFile.h"

namespace {

constexpr COLORREF Teal = 0x00808000;   // the data colour by default
constexpr COLORREF Yellow = 0x0000FFFF; // the average colour by default

// A 32-bit top-down DIB selected into a memory DC.
class Canvas {
public:
    Canvas(int width, int height) : width_(width), height_(height)
    {
        BITMAPINFO bi{};
        bi.bmiHeader.biSize = sizeof bi.bmiHeader;
        bi.bmiHeader.biWidth = width;
        bi.bmiHeader.biHeight = -height;
        bi.bmiHeader.biPlanes = 1;
        bi.bmiHeader.biBitCount = 32;
        bi.bmiHeader.biCompression = BI_RGB;
        dc_ = CreateCompatibleDC(nullptr);
        void* bits = nullptr;
        bitmap_ = CreateDIBSection(dc_, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
        bits_ = static_cast<std::uint32_t*>(bits);
        old_ = SelectObject(dc_, bitmap_);
    }
    ~Canvas()
    {
        SelectObject(dc_, old_);
        DeleteObject(bitmap_);
        DeleteDC(dc_);
    }
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    HDC Dc() const { return dc_; }
    bool Ok() const { return bits_ != nullptr; }
    COLORREF At(int x, int y) const
    {
        GdiFlush();
        const std::uint32_t v = bits_[y * width_ + x];
        return RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
    }
    int CountOf(COLORREF c) const
    {
        int n = 0;
        for (int y = 0; y < height_; ++y)
            for (int x = 0; x < width_; ++x)
                n += At(x, y) == c;
        return n;
    }
    bool SameAs(const Canvas& other) const
    {
        GdiFlush();
        return width_ == other.width_ && height_ == other.height_ &&
               std::memcmp(bits_, other.bits_, static_cast<std::size_t>(width_) * height_ * 4) == 0;
    }
    int DifferentPixels(const Canvas& other) const
    {
        int n = 0;
        for (int y = 0; y < height_; ++y)
            for (int x = 0; x < width_; ++x)
                n += At(x, y) != other.At(x, y);
        return n;
    }
    bool SavePng(const std::string& path) const
    {
        std::vector<std::uint8_t> rgb;
        for (int y = 0; y < height_; ++y)
            for (int x = 0; x < width_; ++x) {
                const COLORREF c = At(x, y);
                rgb.insert(rgb.end(), {GetRValue(c), GetGValue(c), GetBValue(c)});
            }
        return WritePng(path, width_, height_, rgb);
    }

private:
    int width_, height_;
    HDC dc_;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ old_ = nullptr;
    std::uint32_t* bits_ = nullptr;
};

// The compact window's chart after the console's start-up: default colours.
class ChartPaintTest : public ::testing::Test {
protected:
    ChartPaintTest()
    {
        BuildResponseTimeChart(chart);
        Data().SetSeriesColor(Teal);
        Average().SetSeriesColor(Yellow);
    }
    TChartSeries& Data() { return *chart.Series(0); }
    TChartSeries& Average() { return *chart.Series(1); }
    void Replies(const std::vector<double>& trips)
    {
        for (double t : trips)
            Data().InsertPoint(Data().Count() + 1, t);
        Average().FunctionType()->Recompute();
    }
    TChartLayout Paint(Canvas& c, int width = 273, int height = 100)
    {
        painter.Paint(c.Dc(), chart, width, height);
        return painter.Layout(chart, width, height);
    }
    static bool OnGrid(const TChartLayout& l, int x, int y)
    {
        for (double v : l.XTicks.Values)
            if (l.XMap.ToPixel(v) == x)
                return true;
        for (double v : l.YTicks.Values)
            if (l.YMap.ToPixel(v) == y)
                return true;
        return false;
    }

    TChart chart;
    TChartPainter painter;
};

} // namespace

TEST_F(ChartPaintTest, EmptyChartShowsTheTileRepeatedFromTheCornerAndNoLine)
{
    for (auto [w, h] : {std::pair{273, 100}, std::pair{700, 260}}) {
        Canvas c(w, h);
        ASSERT_TRUE(c.Ok());
        const TChartLayout l = Paint(c, w, h);
        EXPECT_EQ(c.CountOf(Teal), 0);
        EXPECT_EQ(c.CountOf(Yellow), 0);
        const tk::Picture& tile = chart.BackImage;
        int checked = 0;
        for (int y = l.Plot.Top; y < l.Plot.Bottom; ++y)
            for (int x = l.Plot.Left; x < l.Plot.Right; ++x) {
                if (OnGrid(l, x, y))
                    continue;
                ASSERT_EQ(c.At(x, y), tile.Pixel(x % tile.Width, y % tile.Height)) << x << "," << y;
                ++checked;
            }
        EXPECT_GT(checked, l.Plot.Width() * l.Plot.Height() / 2);
        // The corners lie outside any axis furniture.
        EXPECT_EQ(c.At(w - 1, 0), tile.Pixel((w - 1) % tile.Width, 0));
        EXPECT_EQ(c.At(w - 1, h - 1), tile.Pixel((w - 1) % tile.Width, (h - 1) % tile.Height));
    }
}

TEST_F(ChartPaintTest, DataLinePassesThroughEveryPoint)
{
    Replies({10, 20, 60});
    Canvas c(273, 100);
    const TChartLayout l = Paint(c);
    const double ys[] = {10, 20, 60};
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(c.At(l.XMap.ToPixel(i + 1), l.YMap.ToPixel(ys[i])), Teal) << "point " << i + 1;
    // Every column between the points holds line pixels within its segment's
    // rows, but where the line runs under the average (at 30).
    const int avgRow = l.YMap.ToPixel(30);
    for (int x = l.XMap.ToPixel(1); x <= l.XMap.ToPixel(3); ++x) {
        const double at = l.XMap.ToValue(x);
        const double a = at < 2 ? 10 : 20, b = at < 2 ? 20 : 60;
        const int top = l.YMap.ToPixel(std::max(a, b)) - 1, bottom = l.YMap.ToPixel(std::min(a, b)) + 1;
        int inColumn = 0;
        for (int y = 0; y < 100; ++y) {
            if (c.At(x, y) != Teal)
                continue;
            EXPECT_TRUE(y >= top && y <= bottom) << x << "," << y;
            ++inColumn;
        }
        const bool hidden = avgRow >= top && avgRow <= bottom && c.At(x, avgRow) == Yellow;
        EXPECT_TRUE(inColumn > 0 || hidden) << "column " << x;
    }
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 273; ++x)
            if (!l.Plot.Contains(x, y)) {
                ASSERT_NE(c.At(x, y), Teal) << x << "," << y;
            }
}

TEST_F(ChartPaintTest, AverageLiesAtTheMeanRowOverTheData)
{
    Replies({10, 20, 60});
    Canvas c(273, 100);
    const TChartLayout l = Paint(c);
    const int row = l.YMap.ToPixel(30), x0 = l.XMap.ToPixel(1), x1 = l.XMap.ToPixel(3);
    for (int x = x0; x <= x1; ++x)
        ASSERT_EQ(c.At(x, row), Yellow) << x;
    EXPECT_EQ(c.CountOf(Yellow), x1 - x0 + 1) << "one row, nothing else";
    // The data line crosses the row between X 2 and 3: it shows right above
    // and below the row there, and the crossing pixel itself is the average's.
    const int cross = l.XMap.ToPixel(2.25);
    bool above = false, below = false;
    for (int x = cross - 2; x <= cross + 2; ++x) {
        above |= c.At(x, row - 1) == Teal;
        below |= c.At(x, row + 1) == Teal;
    }
    EXPECT_TRUE(above && below);
}

TEST_F(ChartPaintTest, LabelFontChangesReachTheLabels)
{
    Replies({10, 20, 60});
    Canvas plain(273, 100), bold(273, 100), again(273, 100);
    const TChartLayout l = Paint(plain);
    chart.LeftAxis.LabelsFont.Style = fsBold;
    Paint(bold);
    int changed = 0;
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < l.Plot.Left - 1 - TChartMetrics::TickLength; ++x)
            changed += plain.At(x, y) != bold.At(x, y);
    EXPECT_GT(changed, 10) << "the left labels turn bold";
    chart.LeftAxis.LabelsFont.Style = 0;
    Paint(again);
    EXPECT_TRUE(again.SameAs(plain)) << "and back to plain";
}

TEST_F(ChartPaintTest, RepaintsFollowEveryChange)
{
    Replies({10, 20, 60});
    Canvas first(273, 100), second(273, 100), third(273, 100);
    const TChartLayout l = Paint(first);
    // Same axes after the change, so only the line can move.
    Data().SetYValue(1, 50);
    Paint(second);
    EXPECT_NE(second.At(l.XMap.ToPixel(2), l.YMap.ToPixel(50)), first.At(l.XMap.ToPixel(2), l.YMap.ToPixel(50)));
    EXPECT_EQ(second.At(l.XMap.ToPixel(2), l.YMap.ToPixel(50)), Teal);
    Data().SetSeriesColor(0x000000FF);
    Paint(third);
    EXPECT_EQ(third.CountOf(Teal), 0);
    EXPECT_GT(third.CountOf(0x000000FF), 100);
    // A system colour from the colour chooser is drawn in the system's colour.
    Data().SetSeriesColor(0x80000000 + COLOR_HIGHLIGHT);
    Canvas fourth(273, 100);
    Paint(fourth);
    EXPECT_GT(fourth.CountOf(GetSysColor(COLOR_HIGHLIGHT)), 100);
}

TEST_F(ChartPaintTest, SinglePointDrawsNothing)
{
    Replies({25});
    Canvas c(273, 100);
    Paint(c);
    EXPECT_EQ(c.CountOf(Teal), 0);
    EXPECT_EQ(c.CountOf(Yellow), 0);
}

TEST_F(ChartPaintTest, View3DAddsVisibleDepth)
{
    Replies({10, 20, 60, 35, 12, 48});
    Canvas flat(273, 100), deep(273, 100);
    Paint(flat);
    chart.SetView3D(true);
    const TChartLayout l = Paint(deep);
    EXPECT_GT(l.Depth, 5);
    EXPECT_GT(flat.DifferentPixels(deep), 1000);
    // The ribbons' bodies in a darker shade, several pixels deep.
    const COLORREF dark = RGB(0, 128 * 11 / 20, 128 * 11 / 20);
    EXPECT_GT(deep.CountOf(dark), 200);
    EXPECT_EQ(flat.CountOf(dark), 0);
    chart.SetView3D(false);
    Canvas again(273, 100);
    Paint(again);
    EXPECT_TRUE(again.SameAs(flat));
}

TEST_F(ChartPaintTest, View3DRibbonsAreSolid)
{
    // Falling and rising lines alone on the chart: in every row the ribbon
    // a line sweeps through the depth is one unbroken run of pixels.
    Average().SetActive(false);
    chart.SetView3D(true);
    for (const std::vector<double>& trips : {std::vector<double>{60, 10}, {10, 60}, {60, 10, 45, 12, 50}}) {
        Data().ClearPoints();
        Replies(trips);
        Canvas c(273, 100);
        const TChartLayout l = Paint(c);
        ASSERT_GT(l.Depth, 5);
        const COLORREF dark = RGB(0, 128 * 11 / 20, 128 * 11 / 20);
        int rows = 0;
        for (int y = 0; y < 100; ++y) {
            int first = -1, last = -1, count = 0;
            for (int x = 0; x < 273; ++x) {
                const COLORREF p = c.At(x, y);
                if (p != Teal && p != dark)
                    continue;
                if (first < 0)
                    first = x;
                last = x;
                ++count;
            }
            if (count == 0)
                continue;
            ++rows;
            // Several segments may cross one row; each leaves one run.
            int runs = 0;
            for (int x = first; x <= last; ++x) {
                const COLORREF p = c.At(x, y), before = x > first ? c.At(x - 1, y) : 0;
                runs += (p == Teal || p == dark) && !(x > first && (before == Teal || before == dark));
            }
            EXPECT_LE(runs, static_cast<int>(trips.size()) - 1) << "row " << y << " of " << trips.size();
        }
        EXPECT_GT(rows, 40);
    }
}

TEST(ChartLocale, SeparatorsFormatLikeTheSystem)
{
    const txt::NumberSeparators seps = tk::ReadLocaleSeparators();
    EXPECT_FALSE(seps.Decimal.empty());
    // The system's own formatting of a number in the user's locale shows
    // which separators it uses, independently of how they were read.
    char own[64] = {};
    ASSERT_GT(GetNumberFormatA(LOCALE_USER_DEFAULT, 0, "1234567.125", nullptr, own, sizeof own), 0);
    const std::string text = own;
    // The last group's separator: locales differ in how far grouping repeats.
    const std::size_t integerEnd = text.find("567");
    ASSERT_NE(integerEnd, std::string::npos) << text;
    const std::size_t groupAt = text.find_last_of("0123456789", integerEnd - 1) + 1;
    EXPECT_EQ(text.substr(groupAt, integerEnd - groupAt), seps.Thousand) << text;
    const std::size_t decimalsAt = text.find_first_of("0123456789", integerEnd + 3);
    ASSERT_NE(decimalsAt, std::string::npos) << text;
    EXPECT_EQ(text.substr(integerEnd + 3, decimalsAt - integerEnd - 3), seps.Decimal) << text;

    // And the labels group and round as the system does with those separators.
    NUMBERFMTA fmt{};
    fmt.NumDigits = 3;
    fmt.LeadingZero = 1;
    fmt.Grouping = 3;
    std::string dec = seps.Decimal, thou = seps.Thousand;
    fmt.lpDecimalSep = dec.data();
    fmt.lpThousandSep = thou.data();
    fmt.NegativeOrder = 1;
    char sys[64] = {};
    ASSERT_GT(GetNumberFormatA(LOCALE_USER_DEFAULT, 0, "-1234567.125", &fmt, sys, sizeof sys), 0);
    EXPECT_EQ(FormatAxisValue(-1234567.125, seps), sys);
}

TEST_F(ChartPaintTest, SavesSamplePictures)
{
    const char* dir = std::getenv("ZV_WINE_STATE");
    if (!dir)
        GTEST_SKIP() << "ZV_WINE_STATE not set";
    // A typical minute of replies: around 24 ms with jitter and two spikes.
    std::vector<double> trips;
    for (int i = 0; i < 101; ++i)
        trips.push_back(24 + 6 * std::sin(i / 5.0) + (i * 37 % 11) - (i == 40 ? -45 : 0) - (i == 77 ? -30 : 0));
    Replies(trips);
    for (bool deep : {false, true}) {
        chart.SetView3D(deep);
        Canvas c(273, 100);
        Paint(c);
        const std::string path = std::string("Z:") + dir + (deep ? "/chart-sample-3d.png" : "/chart-sample.png");
        EXPECT_TRUE(c.SavePng(path)) << path;
    }
}

TEST_F(ChartPaintTest, FailureMarksChangeOnlyTheBottomOfThePlot)
{
    std::vector<double> trips;
    for (int i = 0; i < 40; ++i)
        trips.push_back(20 + (i * 7 % 9));
    Replies(trips);
    for (bool deep : {false, true}) {
        chart.SetView3D(deep);
        Canvas plain(273, 100), marked(273, 100);
        const TChartLayout l = Paint(plain);
        for (int i = 0; i < 6; ++i)
            chart.AddFailureMark(); // after the newest point
        EXPECT_EQ(Paint(marked).XMap, l.XMap) << "the marks leave the axes alone";
        int changed = 0;
        for (int y = 0; y < 100; ++y)
            for (int x = 0; x < 273; ++x)
                if (plain.At(x, y) != marked.At(x, y)) {
                    ++changed;
                    EXPECT_TRUE(x >= l.Plot.Right - 23 - l.Depth && x < l.Plot.Right + l.Depth &&
                                y >= l.Plot.Bottom - 6 - l.Depth && y < l.Plot.Bottom)
                        << x << "," << y;
                    EXPECT_NE(plain.At(x, y), Teal) << "the line stays over the marks";
                }
        EXPECT_GE(changed, 6 * 3 * 6 - 6) << deep;
        if (const char* dir = std::getenv("ZV_WINE_STATE"))
            marked.SavePng(std::string("Z:") + dir + (deep ? "/chart-sample-marks-3d.png" : "/chart-sample-marks.png"));
        Data().ClearPoints();
        Replies(trips);
    }
}
