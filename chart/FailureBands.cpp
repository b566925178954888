#include "chart/FailureBands.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "chart/Gallop.h"

namespace {

TMarkBand Clipped(TMarkBand b, const TPixelRect& plot)
{
    b.Left = std::max(b.Left, plot.Left);
    b.Right = std::min(b.Right, plot.Right);
    return b;
}

} // namespace

std::vector<TMarkBand> FailureBands(const TFailureMarks& marks, const TChartSeries& data, const TChartLayout& l)
{
    using M = TFailureMarkMetrics;
    std::vector<TMarkBand> bands;
    const TChartValueList& xs = data.XValues();
    const double scale = l.XMap.Scale();
    // Groups and points both ascend: one walk finds each group's next point.
    int next = 0;
    for (const TFailureGroup& g : marks.Groups()) {
        next = BisectFrom(next, xs.Count(), [&](int i) { return !(g.AfterX < xs[i]); });
        const long long wanted = static_cast<long long>(g.Count) * M::Pitch - (M::Pitch - M::Tick);
        TMarkBand b{0, 0, g.Count, false};
        if (next == xs.Count() || std::isinf(g.AfterX)) {
            // No point on one side: packed against that edge of the plot.
            b.Crowded = wanted > l.Plot.Width();
            const int width = b.Crowded ? l.Plot.Width() : static_cast<int>(wanted);
            b.Left = next == xs.Count() ? l.Plot.Right - width : l.Plot.Left;
            b.Right = b.Left + width;
        } else {
            const int before = l.XMap.ToPixel(g.AfterX, scale);
            const int after = l.XMap.ToPixel(xs[next], scale);
            const int room = std::max(1, after - before - 1);
            b.Crowded = wanted > room;
            const int width = b.Crowded ? room : static_cast<int>(wanted);
            b.Left = before + 1 + (after - before - 1 - width) / 2;
            b.Right = b.Left + width;
        }
        b = Clipped(b, l.Plot);
        if (b.Left < b.Right)
            bands.push_back(b);
    }
    return bands;
}

std::uint32_t FailureMarkColor(std::uint32_t seriesA, std::uint32_t seriesB)
{
    // 0x00BBGGRR: red, magenta, white.
    constexpr std::uint32_t candidates[] = {0x002020E6, 0x00E620E6, 0x00FFFFFF};
    auto distance = [](std::uint32_t a, std::uint32_t b) {
        int d = 0;
        for (int shift = 0; shift < 24; shift += 8)
            d += std::abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF));
        return d;
    };
    for (std::uint32_t c : candidates)
        if (distance(c, seriesA & 0xFFFFFF) >= 200 && distance(c, seriesB & 0xFFFFFF) >= 200)
            return c;
    return candidates[0];
}

namespace {

std::uint32_t Shade(std::uint32_t c, int towards, int num, int den)
{
    std::uint32_t out = 0;
    for (int shift = 0; shift < 24; shift += 8) {
        const int v = static_cast<int>((c >> shift) & 0xFF);
        out |= static_cast<std::uint32_t>(v + (towards - v) * num / den) << shift;
    }
    return out;
}

void Fill(const TPixelCanvas& c, const TPixelRect& clip, int left, int top, int right, int bottom, std::uint32_t rgb)
{
    left = std::max({left, clip.Left, 0});
    top = std::max({top, clip.Top, 0});
    right = std::min({right, clip.Right, c.Width});
    bottom = std::min({bottom, clip.Bottom, c.Height});
    for (int y = top; y < bottom; ++y)
        std::fill(c.Row(y) + left, c.Row(y) + std::max(left, right), rgb);
}

} // namespace

void DrawFailureBands(const TPixelCanvas& canvas, const std::vector<TMarkBand>& bands, const TChartLayout& l,
                      std::uint32_t color)
{
    using M = TFailureMarkMetrics;
    if (bands.empty() || !canvas.Bits)
        return;
    const std::uint32_t plain = CanvasColor(color), crowded = CanvasColor(Shade(color, 255, 2, 5));
    const std::uint32_t floor = CanvasColor(Shade(color, 0, 9, 20));
    auto draw = [&](int d, bool front) {
        const TPixelRect clip{l.Plot.Left + d, l.Plot.Top - d, l.Plot.Right + d, l.Plot.Bottom - d};
        const int top = l.Plot.Bottom - M::Height - d, bottom = l.Plot.Bottom - d;
        for (const TMarkBand& b : bands) {
            if (b.Crowded) {
                Fill(canvas, clip, b.Left + d, top, b.Right + d, bottom, front ? crowded : floor);
                continue;
            }
            for (std::uint32_t k = 0; k < b.Count; ++k) {
                const int x = b.Left + static_cast<int>(k) * M::Pitch + d;
                Fill(canvas, clip, x, top, std::min(x + M::Tick, b.Right + d), bottom, front ? plain : floor);
            }
        }
    };
    for (int d = l.Depth; d > 0; --d)
        draw(d, false);
    draw(0, true);
}
