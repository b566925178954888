#include "chart/PixelCanvas.h"

#include <algorithm>
#include <cstdlib>

namespace {

struct Clip {
    int left, top, right, bottom;
    bool Inside(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
};

// Rows from..to (inclusive, either order) of one column.
void Span(const TPixelCanvas& c, const Clip& clip, int x, int from, int to, std::uint32_t color)
{
    if (x < clip.left || x >= clip.right)
        return;
    if (from > to)
        std::swap(from, to);
    from = std::max(from, clip.top);
    to = std::min(to, clip.bottom - 1);
    for (int y = from; y <= to; ++y)
        c.Row(y)[x] = color;
}

// From (x0, y0) towards (x1, y1), leaving out the end: the end is the next
// segment's start. Integer steps, the same for the same two points wherever
// they appear, so a path and its per-column cut share their diagonal segments.
void Segment(const TPixelCanvas& c, const Clip& clip, int x0, int y0, int x1, int y1, std::uint32_t color)
{
    const int dx = std::abs(x1 - x0), dy = -std::abs(y1 - y0);
    const int sx = x0 < x1 ? 1 : -1, sy = y0 < y1 ? 1 : -1;
    int err = dx + dy;
    while (x0 != x1 || y0 != y1) {
        if (clip.Inside(x0, y0))
            c.Row(y0)[x0] = color;
        const int e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            x0 += sx;
        }
        if (e2 <= dx) {
            err += dx;
            y0 += sy;
        }
    }
}

} // namespace

void DrawPath(const TPixelCanvas& canvas, const std::vector<TPixelPoint>& path, std::uint32_t color,
              const TPixelRect& clip, int dx, int dy)
{
    // A path that never leaves its first pixel is a line of zero length: nothing.
    const auto moves = std::find_if(path.begin(), path.end(), [&](TPixelPoint p) { return !(p == path.front()); });
    if (moves == path.end() || !canvas.Bits)
        return;
    const Clip c{std::max(clip.Left, 0), std::max(clip.Top, 0), std::min(clip.Right, canvas.Width),
                 std::min(clip.Bottom, canvas.Height)};
    if (c.left >= c.right || c.top >= c.bottom)
        return;
    for (std::size_t i = 0; i + 1 < path.size();) {
        const TPixelPoint a = path[i], b = path[i + 1];
        if (a.X != b.X) {
            Segment(canvas, c, a.X + dx, a.Y + dy, b.X + dx, b.Y + dy, color);
            ++i;
            continue;
        }
        // Consecutive vertical segments of one column (what a dense series
        // is made of) as one span over all their rows: each row is written
        // once. The span may take in the run's end pixel, which the next
        // segment or the closing pixel draws anyway.
        int low = std::min(a.Y, b.Y), high = std::max(a.Y, b.Y);
        std::size_t j = i + 1;
        while (j + 1 < path.size() && path[j + 1].X == a.X) {
            ++j;
            low = std::min(low, path[j].Y);
            high = std::max(high, path[j].Y);
        }
        if (low != high)
            Span(canvas, c, a.X + dx, low + dy, high + dy, color);
        i = j;
    }
    const int x = path.back().X + dx, y = path.back().Y + dy;
    if (c.Inside(x, y))
        canvas.Row(y)[x] = color;
}
