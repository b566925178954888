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
    constexpr int operator()(int design) const
    {
        const long long twice = 2LL * design * dpi_ + kDesignDpi;
        const long long denominator = 2LL * kDesignDpi;
        return static_cast<int>(twice >= 0 ? twice / denominator : -((-twice + denominator - 1) / denominator));
    }
    constexpr Point operator()(Point p) const { return {(*this)(p.x), (*this)(p.y)}; }
    // Its edges: the right and bottom edges are scaled, not the size.
    constexpr Rect operator()(Rect r) const
    {
        const int left = (*this)(r.left);
        const int top = (*this)(r.top);
        return {left, top, (*this)(r.left + r.width) - left, (*this)(r.top + r.height) - top};
    }
    // A line's width: never thinner than one pixel.
    constexpr int Line(int design) const
    {
        const int scaled = (*this)(design);
        return scaled < 1 ? 1 : scaled;
    }

    constexpr bool operator==(const Scale&) const = default;

private:
    int dpi_ = kDesignDpi;
};

} // namespace tk
