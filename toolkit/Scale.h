// Scale: from the 96-dpi design values the windows are written in to a
// window's pixels at its DPI. Edges are scaled, not sizes, so controls that
// touch at 96 dpi still touch and never overlap; every value is rounded the
// same way (half up), so a coordinate lands on the same pixel whichever
// control it belongs to. At 96 dpi it changes nothing. Portable.
#pragma once

#include "toolkit/Geometry.h"

namespace tk {

constexpr int kDesignDpi = 96;

class Scale {
public:
    constexpr Scale() = default;
    constexpr explicit Scale(int dpi) : dpi_(dpi > 0 ? dpi : kDesignDpi) {}

    constexpr int Dpi() const { return dpi_; }
    constexpr bool IsIdentity() const { return dpi_ == kDesignDpi; }

    // A coordinate, or a length measured from 0.
    int operator()(int design) const;
    Point operator()(Point p) const { return {(*this)(p.x), (*this)(p.y)}; }
    // Its edges: the right and bottom edges are scaled, not the size.
    Rect operator()(Rect r) const;
    // A line's width: never thinner than one pixel.
    int Line(int design) const;

    constexpr bool operator==(const Scale&) const = default;

private:
    int dpi_ = kDesignDpi;
};

} // namespace tk
