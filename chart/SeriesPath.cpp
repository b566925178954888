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

void TColumnReducer::AddRun(int column, double first, double min, double max, bool minFirst, double last)
{
    FlushRun();
    inRun_ = true;
    column_ = column;
    first_ = first;
    min_ = min;
    max_ = max;
    minAt_ = minFirst ? 0 : 1;
    maxAt_ = minFirst ? 1 : 0;
    last_ = last;
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
    const bool ascending = xs.Order == loAscending;
    int begin = 0, end = xs.Count();
    if (ascending && end > 0) {
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
    if (!ascending || xs.NonFiniteCount() > 0 || ys.NonFiniteCount() > 0) {
        for (int i = begin; i < end; ++i)
            if (std::isfinite(xs[i]) && std::isfinite(ys[i]))
                reducer.Add(x.ToPixel(xs[i], xScale), ys[i]);
        return reducer.Finish();
    }
    // Columns never go down along ascending X: a column's points are one run,
    // and neighbouring columns hold about as many points.
    for (int i = begin, guess = 1; i < end;) {
        const int column = x.ToPixel(xs[i], xScale);
        const int next = GallopNear(i, end, guess, [&](int k) { return x.ToPixel(xs[k], xScale) == column; });
        const TValueExtremes e = ys.Extremes(i, next);
        reducer.AddRun(column, ys[i], ys[e.Min], ys[e.Max], e.Min <= e.Max, ys[next - 1]);
        guess = next - i;
        i = next;
    }
    return reducer.Finish();
}
