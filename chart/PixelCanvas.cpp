#include "chart/PixelCanvas.h"

#include <algorithm>
#include <cstdlib>

namespace {

struct Clip {
    int left, top, right, bottom;
    bool Inside(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
};

// From (x0, y0) towards (x1, y1), leaving out the end: the end is the next
// segment's start. Integer steps, the same for the same two points wherever
// they appear, so a path and its per-column cut share their diagonal segments.
void Segment(const TPixelCanvas& c, const Clip& clip, int x0, int y0, int x1, int y1, std::uint32_t color)
{
    if (x0 == x1) {
        // Vertical runs are what dense series are made of: no stepping logic.
        if (y0 == y1 || x0 < clip.left || x0 >= clip.right)
            return;
        const int step = y0 < y1 ? 1 : -1;
        int from = y0, to = y1 - step; // inclusive
        if (from > to)
            std::swap(from, to);
        from = std::max(from, clip.top);
        to = std::min(to, clip.bottom - 1);
        for (int y = from; y <= to; ++y)
            c.Row(y)[x0] = color;
        return;
    }
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
    for (std::size_t i = 0; i + 1 < path.size(); ++i)
        Segment(canvas, c, path[i].X + dx, path[i].Y + dy, path[i + 1].X + dx, path[i + 1].Y + dy, color);
    const int x = path.back().X + dx, y = path.back().Y + dy;
    if (c.Inside(x, y))
        canvas.Row(y)[x] = color;
}
