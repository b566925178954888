#include "chart/PixelCanvas.h"

#include <algorithm>
#include <bit>
#include <cstdlib>

namespace {

struct Clip {
    int left, top, right, bottom;
    bool Inside(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
};

// Rows from..to (inclusive, either order) of one column, clipped, to span.
template <class PutSpan>
void Span(const Clip& clip, int x, int from, int to, PutSpan span)
{
    if (x < clip.left || x >= clip.right)
        return;
    if (from > to)
        std::swap(from, to);
    from = std::max(from, clip.top);
    to = std::min(to, clip.bottom - 1);
    if (from <= to)
        span(x, from, to);
}

// From (x0, y0) towards (x1, y1), leaving out the end: the end is the next
// segment's start. Integer steps, the same for the same two points wherever
// they appear, so a path and its per-column cut share their diagonal segments.
template <class Put>
void Segment(const Clip& clip, int x0, int y0, int x1, int y1, Put put)
{
    const int dx = std::abs(x1 - x0), dy = -std::abs(y1 - y0);
    const int sx = x0 < x1 ? 1 : -1, sy = y0 < y1 ? 1 : -1;
    int err = dx + dy;
    while (x0 != x1 || y0 != y1) {
        if (clip.Inside(x0, y0))
            put(x0, y0);
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

// Rows from .. to - 1 of column x.
void FillColumn(const TPixelCanvas& canvas, int x, int from, int to, std::uint32_t color)
{
    if (from >= to)
        return;
    for (std::uint32_t* p = canvas.Row(from) + x; from < to; ++from, p += canvas.Stride)
        *p = color;
}

// A column of row bits. 32-bit words: the 32-bit build shifts them in one
// instruction.
using Word = std::uint32_t;
constexpr int kWordBits = 32;

// Sets bits from .. to (inclusive).
void SetBits(Word* column, int from, int to)
{
    while (from <= to) {
        const int lo = from % kWordBits, hi = std::min(kWordBits - 1, lo + (to - from));
        const Word upTo = hi == kWordBits - 1 ? ~Word(0) : (Word(1) << (hi + 1)) - 1;
        column[from / kWordBits] |= upTo & ~((Word(1) << lo) - 1);
        from += hi - lo + 1;
    }
}

bool StaysOnOnePixel(const std::vector<TPixelPoint>& path)
{
    return std::all_of(path.begin(), path.end(), [&](TPixelPoint p) { return p == path.front(); });
}

// The pixels of the path moved by (dx, dy) inside clip: one by one to put,
// a column's rows from..to at once to span.
template <class Put, class PutSpan>
void TracePath(const std::vector<TPixelPoint>& path, const Clip& c, int dx, int dy, Put put, PutSpan span)
{
    for (std::size_t i = 0; i + 1 < path.size();) {
        const TPixelPoint a = path[i], b = path[i + 1];
        if (a.X != b.X) {
            Segment(c, a.X + dx, a.Y + dy, b.X + dx, b.Y + dy, put);
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
            Span(c, a.X + dx, low + dy, high + dy, span);
        i = j;
    }
    const int x = path.back().X + dx, y = path.back().Y + dy;
    if (c.Inside(x, y))
        put(x, y);
}

} // namespace

void DrawPath(const TPixelCanvas& canvas, const std::vector<TPixelPoint>& path, std::uint32_t color,
              const TPixelRect& clip, int dx, int dy)
{
    // A path that never leaves its first pixel is a line of zero length: nothing.
    if (path.empty() || StaysOnOnePixel(path) || !canvas.Bits)
        return;
    const Clip c{std::max(clip.Left, 0), std::max(clip.Top, 0), std::min(clip.Right, canvas.Width),
                 std::min(clip.Bottom, canvas.Height)};
    if (c.left >= c.right || c.top >= c.bottom)
        return;
    TracePath(path, c, dx, dy, [&](int x, int y) { canvas.Row(y)[x] = color; }, [&](int x, int from, int to) {
        FillColumn(canvas, x, from, to + 1, color);
    });
}

void DrawRibbon(const TPixelCanvas& canvas, const std::vector<TPixelPoint>& path, std::uint32_t color,
                const TPixelRect& plot, int zBack, int zFront)
{
    if (zBack <= zFront || path.empty() || StaysOnOnePixel(path) || !canvas.Bits || plot.Width() <= 0 ||
        plot.Height() <= 0)
        return;
    // The path inside the plot once, as columns of row bits: bit b is row
    // top + b, so that copies moved up by as much as zBack rows keep their
    // bits. Pair column c holds plot columns c and c + 1, the two sources of
    // the copies at one z that land in one canvas column.
    const int top = plot.Top - zBack, words = (plot.Bottom - top + kWordBits - 1) / kWordBits;
    const int firstPair = plot.Left - 1;
    std::vector<Word> pairs(static_cast<std::size_t>((plot.Width() + 1) * words), 0);
    auto pair = [&](int c) { return pairs.data() + static_cast<std::ptrdiff_t>(c - firstPair) * words; };
    auto span = [&](int x, int from, int to) {
        SetBits(pair(x), from - top, to - top);
        SetBits(pair(x - 1), from - top, to - top);
    };
    auto pixel = [&](int x, int y) {
        const int b = y - top;
        const Word bit = Word(1) << (b % kWordBits);
        pair(x)[b / kWordBits] |= bit;
        pair(x - 1)[b / kWordBits] |= bit;
    };
    TracePath(path, {plot.Left, plot.Top, plot.Right, plot.Bottom}, 0, 0, pixel, span);
    // Each canvas column: the pairs at every z moved up by z rows, at once.
    std::vector<Word> merged(static_cast<std::size_t>(words));
    const int xFrom = std::max(plot.Left + zFront, 0), xTo = std::min(plot.Right + zBack, canvas.Width);
    for (int x = xFrom; x < xTo; ++x) {
        std::fill(merged.begin(), merged.end(), 0);
        for (int z = zFront + 1; z <= zBack; ++z) {
            if (x - z < firstPair || x - z >= plot.Right)
                continue;
            const Word* src = pair(x - z);
            const int q = z / kWordBits, r = z % kWordBits;
            for (int w = 0; w + q < words; ++w) {
                Word v = src[w + q] >> r;
                if (r && w + q + 1 < words)
                    v |= src[w + q + 1] << (kWordBits - r);
                merged[static_cast<std::size_t>(w)] |= v;
            }
        }
        // Each run of set bits as one stretch of the column.
        for (int w = 0; w < words; ++w) {
            for (Word v = merged[static_cast<std::size_t>(w)]; v;) {
                const int from = std::countr_zero(v), length = std::countr_one(v >> from);
                v &= length + from == kWordBits ? (Word(1) << from) - 1 : ~(((Word(1) << length) - 1) << from);
                const int y = top + w * kWordBits + from;
                FillColumn(canvas, x, std::max(y, 0), std::min(y + length, canvas.Height), color);
            }
        }
    }
}
