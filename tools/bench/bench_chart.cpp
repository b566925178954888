// bench_chart: what the response-time chart costs at the largest series the
// settings allow (10001 points) next to the default (101), in one run.
//   P3: paint time at 10001 points / at 101 points (target 1.5 or less)
//   the cost of one reply's chart update (RemovePoint, InsertPoint, Recompute)
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

struct Pair {
    double small, large;
};

// Microseconds per call of each, the median over batches that take turns,
// so that a busy machine slows both sides alike.
Pair MicrosPerCall(const std::function<void()>& small, const std::function<void()>& large, int perBatch,
                   int batches = 21)
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
    std::sort(ts.begin(), ts.end());
    std::sort(tl.begin(), tl.end());
    return {ts[ts.size() / 2], tl[tl.size() / 2]};
}

// A chart after the console has settled at `points` points (limit points - 1),
// with trip times that jitter like a real link.
struct Monitored {
    TChart chart;
    double echoCount = 0;
    int limit;

    explicit Monitored(int points) : limit(points - 1)
    {
        BuildResponseTimeChart(chart);
        chart.Series(0)->SetSeriesColor(0x00808000);
        for (int i = 0; i < points; ++i)
            Reply();
    }
    void Reply()
    {
        echoCount += 1;
        TChartSeries& data = *chart.Series(0);
        if (data.Count() > limit)
            data.RemovePoint(0);
        const unsigned step = static_cast<unsigned>(echoCount) * 2654435761u;
        data.InsertPoint(echoCount, 20 + (step >> 27) + (step % 97 == 0 ? 200 : 0));
        chart.Series(1)->FunctionType()->Recompute();
    }
};

void Row(const char* what, Pair t, const char* ratioName)
{
    std::printf("%-44s %12.2f %12.2f   %s %.2f\n", what, t.small, t.large, ratioName, t.large / t.small);
}

} // namespace

int main()
{
    Monitored small(101), large(10001);
    std::printf("%-44s %12s %12s\n", "", "101 points", "10001 points");

    Row("reply update (remove+insert+recompute), us",
        MicrosPerCall([&] { small.Reply(); }, [&] { large.Reply(); }, 1000), "ratio");

#ifdef _WIN32
    BITMAPINFO bi{};
    bi.bmiHeader = {sizeof bi.bmiHeader, 273, -100, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bmp = CreateDIBSection(dc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(dc, bmp);
    TChartPainter painter;
    auto paint = [&](Monitored& m) {
        painter.Paint(dc, m.chart, 273, 100);
        GdiFlush();
    };
    // A colour change between paints makes the painter walk the points
    // again, as the first paint after every reply does.
    auto fresh = [&](Monitored& m) {
        TChartSeries& data = *m.chart.Series(0);
        data.SetSeriesColor(data.SeriesColor() ^ 0x00000001);
        paint(m);
    };
    for (bool deep : {false, true}) {
        small.chart.SetView3D(deep);
        large.chart.SetView3D(deep);
        Row(deep ? "paint 273x100 3D, us" : "paint 273x100, us",
            MicrosPerCall([&] { fresh(small); }, [&] { fresh(large); }, 100),
            deep ? "ratio (3D)" : "P3 (target <= 1.5)");
    }
    small.chart.SetView3D(false);
    large.chart.SetView3D(false);
    Row("repaint of unchanged data, us", MicrosPerCall([&] { paint(small); }, [&] { paint(large); }, 100),
        "ratio");
    // The screen's whole cycle for one reply: the update, then a repaint.
    Row("reply update + paint, us",
        MicrosPerCall([&] { small.Reply(); paint(small); }, [&] { large.Reply(); paint(large); }, 100), "ratio");
    SelectObject(dc, old);
    DeleteObject(bmp);
    DeleteDC(dc);
#else
    std::printf("(paint figures: run the cross-built bench_chart.exe under Wine)\n");
#endif
    return 0;
}
