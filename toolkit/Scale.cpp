#include "toolkit/Scale.h"

namespace tk {

// Out of line: called at every place a size is laid out, and small kept
// there rather than inlined at each.
int Scale::operator()(int design) const
{
    // Half up, also below zero: floor((2 * design * dpi + 96) / 192).
    const int twice = 2 * design * dpi_ + kDesignDpi;
    constexpr int denominator = 2 * kDesignDpi;
    return twice >= 0 ? twice / denominator : -((denominator - 1 - twice) / denominator);
}

Rect Scale::operator()(Rect r) const
{
    const int left = (*this)(r.left);
    const int top = (*this)(r.top);
    return {left, top, (*this)(r.left + r.width) - left, (*this)(r.top + r.height) - top};
}

int Scale::Line(int design) const
{
    const int scaled = (*this)(design);
    return scaled < 1 ? 1 : scaled;
}

} // namespace tk
