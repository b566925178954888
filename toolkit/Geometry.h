// Points and rectangles in a window's client coordinates (pixels, y down).
// Portable, so hit-testing can be checked without a window system.
#pragma once

namespace tk {

struct Point {
    int x = 0;
    int y = 0;
};

struct Rect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;

    int Right() const { return left + width; }
    int Bottom() const { return top + height; }
    // Right and bottom edges are outside, as in Win32.
    bool Contains(Point p) const { return p.x >= left && p.x < Right() && p.y >= top && p.y < Bottom(); }
    bool operator==(const Rect&) const = default;
};

} // namespace tk
