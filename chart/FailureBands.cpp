#include "chart/FailureBands.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>

#include "chart/Gallop.h"

namespace {

TMarkBand Clipped(TMarkBand b, const TPixelRect& plot)
{
    b.Left = std::max(b.Left, plot.Left);
    b.Right = std::min(b.Right, plot.Right);
    return b;
}

// A group's band, given the index of the first point after it.
TMarkBand Place(const TFailureGroup& g, int next, const TChartValueList& xs, const TChartLayout& l, double scale)
{
    using M = TFailureMarkMetrics;
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
    return Clipped(b, l.Plot);
}

// Every group in turn: for X lists out of order or with a value that is not
// finite, where pixels need not follow the order of the groups.
std::vector<TMarkBand> BandsOfEveryGroup(const TFailureMarks& marks, const TChartValueList& xs, const TChartLayout& l)
{
    std::vector<TMarkBand> bands;
    const double scale = l.XMap.Scale();
    int next = 0;
    for (const TFailureGroup& g : marks.Groups()) {
        next = BisectFrom(next, xs.Count(), [&](int i) { return !(g.AfterX < xs[i]); });
        if (const TMarkBand b = Place(g, next, xs, l, scale); b.Left < b.Right)
            bands.push_back(b);
    }
    return bands;
}

} // namespace

std::vector<TMarkBand> FailureBands(const TFailureMarks& marks, const TChartSeries& data, const TChartLayout& l)
{
    const TChartValueList& xs = data.XValues();
    const int n = xs.Count();
    if (xs.Order != loAscending || xs.NonFiniteCount() > 0 || n == 0)
        return BandsOfEveryGroup(marks, xs, l);
    std::vector<TMarkBand> bands;
    const std::deque<TFailureGroup>& groups = marks.Groups();
    const int count = static_cast<int>(groups.size());
    const double scale = l.XMap.Scale();
    auto px = [&](int i) { return l.XMap.ToPixel(xs[i], scale); };
    auto group = [&](int j) -> const TFailureGroup& { return groups[static_cast<std::size_t>(j)]; };
    int k = 0; // the groups before k are done
    auto put = [&](int next) {
        if (const TMarkBand b = Place(group(k), next, xs, l, scale); b.Left < b.Right)
            bands.push_back(b);
    };
    // The groups after the point with X x: placed against their next point, or passed over.
    auto placeBefore = [&](double x, int next) {
        for (; k < count && group(k).AfterX < x; ++k)
            put(next);
    };
    auto skipBefore = [&](double x) {
        for (int steps = 0; k < count && group(k).AfterX < x; ++k)
            if (++steps == 8) {
                k = GallopFrom(k, count, [&](int j) { return group(j).AfterX < x; });
                break;
            }
    };
    // Groups and points both ascend, and so do their pixels; a group's band
    // lies within the columns of its two points, both included. Before the
    // first point: against the left edge.
    for (; k < count && std::isinf(group(k).AfterX) && group(k).AfterX < 0; ++k)
        put(0);
    // Left of the plot, only the groups after its last point there can reach into it.
    const int first = GallopFrom(0, n, [&](int i) { return px(i) < l.Plot.Left; });
    if (first > 0)
        skipBefore(xs[first - 1]);
    if (first < n)
        placeBefore(xs[first], first);
    // Column by column, as the path goes.
    for (int a = first, guess = 1; a < n;) {
        const int column = px(a);
        if (column >= l.Plot.Right)
            break;
        const int b = GallopNear(a, n, guess, [&](int i) { return px(i) == column; });
        guess = b - a;
        // Between two points of the column: all crowded into it alike, so one
        // band stands for them (Place would give each this one).
        if (k < count && group(k).AfterX < xs[b - 1]) {
            bands.push_back({column, column + 1, group(k).Count, true});
            skipBefore(xs[b - 1]);
        }
        // After its last point: up to the next column's first.
        placeBefore(b < n ? xs[b] : std::numeric_limits<double>::infinity(), b);
        a = b;
    }
    // Right of the plot, only the groups after the newest point show, against the right edge.
    skipBefore(xs[n - 1]);
    for (; k < count; ++k)
        put(n);
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
        for (std::size_t i = 0; i < bands.size(); ++i) {
            const TMarkBand& b = bands[i];
            if (b.Crowded) {
                // Crowded bands that touch the one before fill as one rectangle.
                int right = b.Right;
                while (i + 1 < bands.size() && bands[i + 1].Crowded && bands[i + 1].Left >= b.Left &&
                       bands[i + 1].Left <= right)
                    right = std::max(right, bands[++i].Right);
                Fill(canvas, clip, b.Left + d, top, right + d, bottom, front ? crowded : floor);
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
