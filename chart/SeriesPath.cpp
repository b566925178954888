#include "chart/SeriesPath.h"

#include <algorithm>
#include <cmath>

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
    const std::deque<double>& xs = series.XValues().Values();
    const std::deque<double>& ys = series.YValues().Values();
    std::size_t begin = 0, end = xs.size();
    if (series.XValues().Order == loAscending && !xs.empty()) {
        const double lo = std::min(x.From, x.To), hi = std::max(x.From, x.To);
        begin = static_cast<std::size_t>(std::lower_bound(xs.begin(), xs.end(), lo) - xs.begin());
        end = static_cast<std::size_t>(std::upper_bound(xs.begin(), xs.end(), hi) - xs.begin());
        // One neighbour each side, so lines entering and leaving the view are drawn.
        if (begin > 0)
            --begin;
        if (end < xs.size())
            ++end;
    }
    TColumnReducer reducer(y);
    const double xScale = x.Scale();
    auto xi = xs.begin() + static_cast<std::ptrdiff_t>(begin);
    auto yi = ys.begin() + static_cast<std::ptrdiff_t>(begin);
    for (std::size_t i = begin; i < end; ++i, ++xi, ++yi)
        if (std::isfinite(*xi) && std::isfinite(*yi))
            reducer.Add(x.ToPixel(*xi, xScale), *yi);
    return reducer.Finish();
}
