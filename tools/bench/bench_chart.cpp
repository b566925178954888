// bench_chart: what the response-time chart costs at the largest series the
// settings allow (10001 points) next to the default (101), in one run.
// Each row is timed in five rounds; a round takes every row in turn, so a
// busy moment of the machine spoils one round, not one row. Within a round
// short batches of both sizes take turns and each size counts its fastest
// batch, the one least disturbed by other work on the machine. Printed: the
// median of the rounds' microseconds, the median of their ratios (10001 over
// 101 points) with the rounds' lowest and highest, and the row's target.
// The paint figures need GDI: run the cross-built program under Wine
// (tools/wine-run.sh); the native build measures the model only.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <vector>

#include "chart/ResponseTimeChart.h"

#ifdef _WIN32
#include <windows.h>

#include "chart/ChartPainter.h"
#endif

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kRounds = 5;

struct Pair {
    double small, large;
};

double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// Microseconds per call of each, the fastest of batches that take turns.
Pair MicrosPerCall(const std::function<void()>& small, const std::function<void()>& large, int perBatch,
                   int batches)
{
    std::vector<double> ts, tl;
    auto time = [perBatch](const std::function<void()>& call) {
        const auto start = Clock::now();
        for (int i = 0; i < perBatch; ++i)
            call();
        return std::chrono::duration<double, std::micro>(Clock::now() - start).count() / perBatch;
    };
    for (int b = 0; b < batches; ++b) {
        ts.push_back(time(small));
        tl.push_back(time(large));
    }
    return {*std::min_element(ts.begin(), ts.end()), *std::min_element(tl.begin(), tl.end())};
}

// A chart after the console has settled at `points` points (limit points - 1),
// with trip times that jitter like a real link; with `failEvery`, one ping in
// that many fails and leaves a mark before the next echo.
struct Monitored {
    TChart chart;
    double echoCount = 0;
    int limit;
    int failEvery;

    Monitored(int points, int failEvery = 0) : limit(points - 1), failEvery(failEvery)
    {
        BuildResponseTimeChart(chart);
        chart.Series(0)->SetSeriesColor(0x00808000);
        for (int i = 0; i < points; ++i)
            Reply();
    }
    void Reply()
    {
        echoCount += 1;
        const unsigned step = static_cast<unsigned>(echoCount) * 2654435761u;
        if (failEvery && static_cast<int>(echoCount) % failEvery == 0)
            chart.AddFailureMark();
        TChartSeries& data = *chart.Series(0);
        if (data.Count() > limit)
            data.RemovePoint(0);
        data.InsertPoint(echoCount, 20 + (step >> 27) + (step % 97 == 0 ? 200 : 0));
        chart.Series(1)->FunctionType()->Recompute();
    }
};

struct Row {
    const char* what;
    std::function<void()> small, large;
    int perBatch;
    const char* target;
    std::vector<Pair> rounds;
};

void Print(const Row& r)
{
    std::vector<double> s, l, ratio;
    for (const Pair& p : r.rounds) {
        s.push_back(p.small);
        l.push_back(p.large);
        ratio.push_back(p.large / p.small);
    }
    std::printf("%-46s %10.2f %10.2f %7.2f  %5.2f..%-5.2f  %s\n", r.what, Median(s), Median(l), Median(ratio),
                *std::min_element(ratio.begin(), ratio.end()), *std::max_element(ratio.begin(), ratio.end()),
                r.target);
}

} // namespace

int main()
{
    Monitored small(101), large(10001);
    std::vector<Row> rows;
    rows.push_back({"reply update (remove+insert+recompute), us", [&] { small.Reply(); }, [&] { large.Reply(); },
                    200, "<= 1.5", {}});

#ifdef _WIN32
    Monitored lossySmall(101, 8), lossyLarge(10001, 8);
    BITMAPINFO bi{};
    bi.bmiHeader = {sizeof bi.bmiHeader, 273, -100, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bmp = CreateDIBSection(dc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(dc, bmp);
    TChartPainter painter;
    auto paint = [&](Monitored& m, bool deep) {
        m.chart.SetView3D(deep);
        painter.Paint(dc, m.chart, 273, 100);
        GdiFlush();
    };
    // A colour change between paints makes the painter work the points out
    // again, as the first paint after every reply does.
    auto fresh = [&](Monitored& m, bool deep) {
        TChartSeries& data = *m.chart.Series(0);
        data.SetSeriesColor(data.SeriesColor() ^ 0x00000001);
        paint(m, deep);
    };
    rows.push_back({"paint 273x100, us", [&] { fresh(small, false); }, [&] { fresh(large, false); }, 10,
                    "<= 1.10", {}});
    rows.push_back({"paint 273x100 3D, us", [&] { fresh(small, true); }, [&] { fresh(large, true); }, 10,
                    "<= 1.10", {}});
    // The screen's whole cycle for one reply: the update, then a repaint.
    rows.push_back({"reply update + paint, us", [&] { small.Reply(); paint(small, false); },
                    [&] { large.Reply(); paint(large, false); }, 10, "<= 1.15", {}});
    rows.push_back({"repaint of unchanged data, us", [&] { paint(small, false); }, [&] { paint(large, false); },
                    10, "", {}});
    rows.push_back({"paint, 1 ping in 8 failed, us", [&] { fresh(lossySmall, false); },
                    [&] { fresh(lossyLarge, false); }, 10, "<= 1.10", {}});
    rows.push_back({"paint 3D, 1 ping in 8 failed, us", [&] { fresh(lossySmall, true); },
                    [&] { fresh(lossyLarge, true); }, 10, "<= 1.10", {}});
    rows.push_back({"reply update + paint, 1 in 8 failed, us", [&] { lossySmall.Reply(); paint(lossySmall, false); },
                    [&] { lossyLarge.Reply(); paint(lossyLarge, false); }, 10, "<= 1.15", {}});
#endif

    for (int round = 0; round < kRounds; ++round)
        for (Row& r : rows)
            r.rounds.push_back(MicrosPerCall(r.small, r.large, r.perBatch, 15));

    std::printf("%-46s %10s %10s %7s  %-12s  %s\n", "median of 5 rounds", "101 pts", "10001 pts", "ratio",
                "rounds", "target");
    for (const Row& r : rows)
        Print(r);
#ifdef _WIN32
    SelectObject(dc, old);
    DeleteObject(bmp);
    DeleteDC(dc);
#else
    std::printf("(paint figures: run the cross-built bench_chart.exe under Wine)\n");
#endif
    return 0;
}
