#include "chart/Chart.h"

#include <limits>
#include <stdexcept>

TChart::TChart() = default;

TChart::~TChart()
{
    // Newest first, so dependents let go of their sources before those go.
    while (!series_.empty()) {
        series_.back()->Detach();
        series_.pop_back();
    }
}

void TChart::Adopt(std::unique_ptr<TChartSeries> series)
{
    series->chart_ = this;
    series_.push_back(std::move(series));
    Invalidate();
}

TChartSeries* TChart::Series(int index) const
{
    if (index < 0 || index >= SeriesCount())
        throw std::out_of_range("series index out of range");
    return series_[static_cast<std::size_t>(index)].get();
}

void TChart::SetView3D(bool value)
{
    if (value == view3D_)
        return;
    view3D_ = value;
    Invalidate();
}

namespace {

template <class Pick>
TValueRange Extent(const std::vector<std::unique_ptr<TChartSeries>>& series, Pick pick)
{
    TValueRange r;
    bool any = false;
    for (const auto& s : series) {
        if (!s->Active() || s->Count() == 0)
            continue;
        const TChartValueList& v = pick(*s);
        if (!any || v.MinValue() < r.Min)
            r.Min = v.MinValue();
        if (!any || v.MaxValue() > r.Max)
            r.Max = v.MaxValue();
        any = true;
    }
    return r;
}

} // namespace

TValueRange TChart::XRange() const
{
    return Extent(series_, [](const TChartSeries& s) -> const TChartValueList& { return s.XValues(); });
}

TValueRange TChart::YRange() const
{
    return Extent(series_, [](const TChartSeries& s) -> const TChartValueList& { return s.YValues(); });
}

void TChart::ZoomTo(TValueRange x, TValueRange y)
{
    if (!(x.Min < x.Max) || !(y.Min < y.Max))
        return;
    if (zoomed_ && x == viewX_ && y == viewY_)
        return;
    zoomed_ = true;
    viewX_ = x;
    viewY_ = y;
    Invalidate();
}

void TChart::UndoZoom()
{
    if (!zoomed_)
        return;
    zoomed_ = false;
    Invalidate();
}

void TChart::EndLoading()
{
    if (!loading_)
        return;
    loading_ = false;
    for (auto& s : series_)
        if (s->DataSource())
            s->CheckDataSource();
}

void TChart::AddFailureMark()
{
    const TChartSeries* data = series_.empty() ? nullptr : series_.front().get();
    failureMarks_.Add(data && data->Count() ? data->XValues()[data->Count() - 1]
                                            : -std::numeric_limits<double>::infinity());
    Invalidate();
}

void TChart::PointsRemoved(const TChartSeries& series)
{
    if (series_.empty() || &series != series_.front().get() || failureMarks_.Empty())
        return;
    if (series.Count() == 0)
        failureMarks_.Clear();
    else
        failureMarks_.TrimBefore(series.XValues()[0]);
}

void TChart::Invalidate()
{
    ++invalidates_;
    if (OnInvalidate)
        OnInvalidate();
}
