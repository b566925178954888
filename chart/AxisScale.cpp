#include "chart/AxisScale.h"

#include <cmath>
#include <cstdio>
#include <utility>

std::string FormatAxisValue(double value, const txt::NumberSeparators& separators)
{
    if (std::isnan(value))
        return "NaN";
    if (std::isinf(value))
        return value < 0 ? "-INF" : "INF";
    char buf[400]; // the longest double in %.3f is 309 digits plus sign and decimals
    std::snprintf(buf, sizeof buf, "%.3f", value);
    std::string text = buf;
    bool negative = text[0] == '-';
    if (negative)
        text.erase(0, 1);
    const std::size_t point = text.find('.');
    std::string digits = text.substr(0, point);
    std::string decimals = text.substr(point + 1);
    while (!decimals.empty() && decimals.back() == '0')
        decimals.pop_back();
    if (digits == "0" && decimals.empty())
        negative = false; // no "-0" for values that round to zero

    return txt::GroupedNumber(negative, digits, decimals, separators);
}

TValueRange DisplayRange(TValueRange extent)
{
    if (!std::isfinite(extent.Min) || !std::isfinite(extent.Max) || extent.Min > extent.Max)
        return {-1, 1};
    if (extent.Max - extent.Min > 0)
        return extent;
    return {extent.Min - 1, extent.Max + 1};
}

double NiceStep(double minimum)
{
    if (!(minimum > 0.001))
        return 0.001;
    if (!std::isfinite(minimum))
        return minimum;
    double power = std::pow(10.0, std::floor(std::log10(minimum)));
    for (;;) {
        for (double m : {1.0, 2.0, 5.0})
            if (m * power >= minimum * (1 - 1e-12))
                return m * power;
        power *= 10;
    }
}

namespace {

void FillTicks(TAxisTicks& t, TValueRange range, const TLabelExtent& extent, const txt::NumberSeparators& separators)
{
    t.Values.clear();
    t.Labels.clear();
    t.MaxExtent = 0;
    const double first = std::ceil(range.Min / t.Step - 1e-9);
    const double last = std::floor(range.Max / t.Step + 1e-9);
    // Counted, not stepped: far from zero k + 1 can equal k in a double.
    const double count = last - first;
    for (int i = 0; i <= count && i < 1000; ++i) {
        double v = (first + i) * t.Step;
        if (v == 0)
            v = 0; // no negative zero
        t.Values.push_back(v);
        t.Labels.push_back(FormatAxisValue(v, separators));
        const int e = extent(t.Labels.back());
        if (e > t.MaxExtent)
            t.MaxExtent = e;
    }
}

} // namespace

TAxisTicks ChooseTicks(TValueRange range, int length, int gap, const TLabelExtent& extent,
                       const txt::NumberSeparators& separators)
{
    TAxisTicks t;
    const double span = range.Max - range.Min;
    if (length < 2 || !(span > 0) || !std::isfinite(span))
        return t;
    const double pixelsPerUnit = (length - 1) / span;
    // Start where ticks are at least `gap` apart, which bounds the tick count
    // by the axis length; then coarsen until the labels fit between them.
    t.Step = NiceStep(gap > 0 ? gap / pixelsPerUnit : 1 / pixelsPerUnit);
    FillTicks(t, range, extent, separators);
    for (int round = 0; round < 64; ++round) {
        if (t.Values.size() <= 1 || t.Step * pixelsPerUnit >= t.MaxExtent + gap)
            break;
        TAxisTicks coarser;
        coarser.Step = NiceStep(t.Step * 1.5);
        FillTicks(coarser, range, extent, separators);
        // A lone label gives no scale: labels that merely clear each other are better.
        if (coarser.Values.size() < 2 && t.Step * pixelsPerUnit >= t.MaxExtent)
            break;
        t = std::move(coarser);
    }
    return t;
}
