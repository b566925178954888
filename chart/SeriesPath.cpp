#include "chart/SeriesPath.h"

#include <algorithm>
#include <cmath>

#include "chart/Gallop.h"

void TColumnReducer::Add(int column, double value)
{
    if (inRun_ && column == column_) {
        if (value < min_) {
            min_ = value;
            minAt_ = runLength_;
        } else if (value > max_) {
            max_ = value;
            maxAt_ = runLength_;
        }
        ++runLength_;
        last_ = value;
        return;
    }
    FlushRun();
    inRun_ = true;
    column_ = column;
    first_ = min_ = max_ = last_ = value;
    minAt_ = maxAt_ = 0;
    runLength_ = 1;
}

void TColumnReducer::FlushRun()
{
    if (!inRun_)
        return;
    inRun_ = false;
    // Vertical segments through first, both extremes and last cover the rows
    // between the extremes, as the full run does; the segments into and out
    // of the column are kept as they were. Equal neighbours would be
    // zero-length segments, which draw nothing.
    auto put = [this](double value) {
        const TPixelPoint p{column_, y_.ToPixel(value, yScale_)};
        if (path_.empty() || !(path_.back() == p))
            path_.push_back(p);
    };
    put(first_);
    // In the order met, so a run that only falls or only rises stays two points.
    put(minAt_ <= maxAt_ ? min_ : max_);
    put(minAt_ <= maxAt_ ? max_ : min_);
    put(last_);
}

const std::vector<TPixelPoint>& TColumnReducer::Finish()
{
    FlushRun();
    return path_;
}

std::vector<TPixelPoint> SeriesPixelPath(const TChartSeries& series, const TAxisMap& x, const TAxisMap& y)
{
    const TChartValueList& xs = series.XValues();
    const TChartValueList& ys = series.YValues();
    int begin = 0, end = xs.Count();
    if (xs.Order == loAscending && end > 0) {
        const double lo = std::min(x.From, x.To), hi = std::max(x.From, x.To);
        begin = BisectFrom(0, end, [&](int i) { return xs[i] < lo; });
        end = BisectFrom(0, end, [&](int i) { return !(hi < xs[i]); });
        // One neighbour each side, so lines entering and leaving the view are drawn.
        if (begin > 0)
            --begin;
        if (end < xs.Count())
            ++end;
    }
    TColumnReducer reducer(y);
    const double xScale = x.Scale();
    for (int i = begin; i < end; ++i)
        if (std::isfinite(xs[i]) && std::isfinite(ys[i]))
            reducer.Add(x.ToPixel(xs[i], xScale), ys[i]);
    return reducer.Finish();
}
