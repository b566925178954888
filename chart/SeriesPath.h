// The pixel path of a line series: its points mapped to pixels, with every
// run of consecutive points in one pixel column cut down to at most four
// (first, lowest and highest in the order met, last). A 1-pixel line through
// the cut path (with its last pixel drawn too) covers exactly the pixels of
// one through every point, so a paint draws no more than four points per
// column however many there are. Portable.
#pragma once

#include <vector>

#include "chart/AxisScale.h"
#include "chart/ChartSeries.h"

struct TPixelPoint {
    int X = 0, Y = 0;
    bool operator==(const TPixelPoint&) const = default;
};

// Streams points in, each as its pixel column and its Y value, and keeps the
// cut path. Only the four values kept per column are mapped to pixels: the
// map is monotonic, so the extreme values give the extreme pixels.
class TColumnReducer {
public:
    explicit TColumnReducer(const TAxisMap& y) : y_(y), yScale_(y.Scale()) {}
    void Add(int column, double value);
    // A whole run at once, already cut: its first, lowest, highest and last
    // value, and whether the lowest came first. Not for a column that Add has
    // open, nor for the column of the run before.
    void AddRun(int column, double first, double min, double max, bool minFirst, double last);
    // Ends the last run; the path is complete after this.
    const std::vector<TPixelPoint>& Finish();

private:
    void FlushRun();

    TAxisMap y_;
    double yScale_;
    std::vector<TPixelPoint> path_;
    bool inRun_ = false;
    int column_ = 0;
    double first_ = 0, min_ = 0, max_ = 0, last_ = 0;
    int minAt_ = 0, maxAt_ = 0, runLength_ = 0; // where in the run the extremes came
};

// The cut path of a series under the two maps. With X in ascending order
// only the points within the X map's range and one neighbour on each side
// count, and, while no value is NaN or infinite, each pixel column costs a
// few probes for its run and a climb of the Y list's tournament for its
// extremes, however many points it holds. Points with a non-finite value are
// left out.
std::vector<TPixelPoint> SeriesPixelPath(const TChartSeries& series, const TAxisMap& x, const TAxisMap& y);
