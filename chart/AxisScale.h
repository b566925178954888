// Axis arithmetic shared by the painter and the mouse: the shown range of an
// axis, its tick values and their labels in the "#,##0.###" format, and the
// mapping between values and pixels. Portable; text is measured through a
// callback, so the rules are tested without a window system.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "chart/Chart.h"
#include "text/NumberText.h"

// "#,##0.###": grouped integer digits, at most three decimals, no trailing zeros.
std::string FormatAxisValue(double value, const txt::NumberSeparators& separators);

// The range an axis shows for a data extent: the extent itself, or, when it
// is empty or all values are equal, the value plus and minus one (so a single
// value sits mid-axis). Non-finite extents show -1 to 1.
TValueRange DisplayRange(TValueRange extent);

// The smallest of 1, 2, 5 times a power of ten that is at least `minimum`;
// never below 0.001, the finest step the label format can tell apart.
double NiceStep(double minimum);

struct TAxisTicks {
    double Step = 0;
    std::vector<double> Values;
    std::vector<std::string> Labels;
    int MaxExtent = 0; // the largest label extent along the axis
};

// Pixels a label takes along the axis (its width on a horizontal axis, the
// text height on a vertical one).
using TLabelExtent = std::function<int(const std::string&)>;

// Ticks at multiples of a nice step over `range` drawn `length` pixels long,
// spaced so that neighbouring labels keep at least `gap` pixels apart, or
// less (but without overlapping) where the gap would leave a single label.
TAxisTicks ChooseTicks(TValueRange range, int length, int gap, const TLabelExtent& extent,
                       const txt::NumberSeparators& separators);

// Values to pixels along one axis: `from` maps to pixel `p0`, `to` to `p1`.
struct TAxisMap {
    double From = 0, To = 1;
    int P0 = 0, P1 = 1;
    bool operator==(const TAxisMap&) const = default;

    double Scale() const { return (P1 - P0) / (To - From); }
    // Rounded to the nearest pixel and kept within +-30000 (GDI's safe
    // coordinate range); NaN maps to P0.
    int ToPixel(double value) const { return ToPixel(value, Scale()); }
    // The same with the scale worked out once, for loops over many points.
    int ToPixel(double value, double scale) const
    {
        const double p = P0 + (value - From) * scale;
        if (!(p > -30000))
            return p != p ? P0 : -30000;
        if (p > 30000)
            return 30000;
        // Truncating a positive number floors it, without a library call.
        return static_cast<int>(p + 30000.5) - 30000;
    }
    double ToValue(double pixel) const { return From + (pixel - P0) / Scale(); }
};
