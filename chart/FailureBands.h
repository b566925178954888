// Where a picture draws the chart's failure marks: a tick per failure along
// the bottom of the plot, between the pixels of the points the failures came
// between, and the marks' colour. Portable, so the placement is tested
// natively.
#pragma once

#include <cstdint>
#include <vector>

#include "chart/ChartLayout.h"
#include "chart/ChartSeries.h"
#include "chart/FailureMarks.h"
#include "chart/PixelCanvas.h"

// Pixel sizes of the marks along the bottom of the plot.
struct TFailureMarkMetrics {
    static constexpr int Height = 6;
    static constexpr int Tick = 3;  // one failure: a tick this wide...
    static constexpr int Pitch = 4; // ...every this many pixels
};

// One group's place: columns Left to Right (outside), Count ticks from Left;
// Crowded when they do not fit between the group's two points and the
// band fills that room instead.
struct TMarkBand {
    int Left = 0, Right = 0;
    std::uint32_t Count = 0;
    bool Crowded = false;
    bool operator==(const TMarkBand&) const = default;
};

// Where the groups go under the layout's X map: between the pixels of their
// two points, centred; after the newest point packed against the plot's
// right edge, before the first against its left edge; clipped to the plot,
// and left out when nothing of them is in it. Over X in ascending order
// (the data series'), the groups that would only draw a crowded column again
// are left out too, and so are those that cannot reach the plot, so the cost
// follows the plot's columns, not the groups; any other X list is walked
// group by group.
std::vector<TMarkBand> FailureBands(const TFailureMarks& marks, const TChartSeries& data, const TChartLayout& l);

// A colour for the marks (0x00BBGGRR) that neither series colour is close
// to: red unless a series is reddish, then magenta or white.
std::uint32_t FailureMarkColor(std::uint32_t seriesA, std::uint32_t seriesB);

// Draws the bands along the bottom of the plot in `color` (0x00BBGGRR), a
// crowded band in a lighter shade; in the 3D view also across the floor, in
// a darker one, behind the front face. Later bands are drawn over earlier ones.
void DrawFailureBands(const TPixelCanvas& canvas, const std::vector<TMarkBand>& bands, const TChartLayout& l,
                      std::uint32_t color);
