// Where the parts of a chart go in a control of a given size: the plot
// rectangle (its front face in the 3D view), the depth of the 3D view, the
// ticks of both axes and the value-to-pixel maps. Portable; computed afresh
// for every paint and used by the mouse handling to map pixels back to values.
#pragma once

#include "chart/AxisScale.h"
#include "chart/Chart.h"
#include "toolkit/Scale.h"

struct TPixelRect {
    int Left = 0, Top = 0, Right = 0, Bottom = 0; // right and bottom outside
    int Width() const { return Right - Left; }
    int Height() const { return Bottom - Top; }
    bool Contains(int x, int y) const { return x >= Left && x < Right && y >= Top && y < Bottom; }
    bool operator==(const TPixelRect&) const = default;
};

struct TChartLayout {
    TPixelRect Plot;   // front face of the plotting area
    int Depth = 0;     // 3D: the back face is Plot moved by (+Depth, -Depth)
    TValueRange XRange, YRange;
    TAxisTicks XTicks, YTicks;
    TAxisMap XMap, YMap; // at the front face
    // The furniture's sizes at the chart's DPI (TChartMetrics scaled).
    int TickLength = 0, LabelGap = 0, LineWidth = 1;
};

// Sizes of the furniture around the plot at 96 dpi, scaled to the chart's DPI.
struct TChartMetrics {
    static constexpr int Outer = 2;    // from the control's edge
    static constexpr int TickLength = 3;
    static constexpr int LabelGap = 2; // between a tick and its label
    static constexpr int Depth3D = 12;
    // Least space between neighbouring labels: a few labels with room
    // around them read better in a small chart than a crowded row.
    static constexpr int LabelSpacingX = 12;
    static constexpr int LabelSpacingY = 6;
};

// textHeight: the label font's line height; width: a label's width in pixels.
TChartLayout ComputeChartLayout(const TChart& chart, int width, int height, int textHeight,
                                const TLabelExtent& labelWidth, const txt::NumberSeparators& separators,
                                const tk::Scale& scale = {});
