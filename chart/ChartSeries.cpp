#include "chart/ChartSeries.h"

#include <algorithm>
#include <stdexcept>

#include "chart/Chart.h"

namespace {
std::uint64_t NewStamp()
{
    static std::uint64_t last = 0; // GUI thread only, like the whole chart
    return ++last;
}
} // namespace

TChartSeries::TChartSeries() : stamp_(NewStamp()) {}

TChartSeries::~TChartSeries()
{
    Detach();
}

void TChartSeries::Detach()
{
    if (source_) {
        auto& d = source_->dependents_;
        d.erase(std::remove(d.begin(), d.end(), this), d.end());
        source_ = nullptr;
    }
    for (TChartSeries* d : dependents_)
        d->source_ = nullptr;
    dependents_.clear();
}

void TChartSeries::Changed()
{
    stamp_ = NewStamp();
    if (chart_)
        chart_->Invalidate();
}

void TChartSeries::SetSeriesColor(std::uint32_t color)
{
    if (color == color_)
        return;
    color_ = color;
    Changed();
}

std::uint32_t TChartSeries::PointColor(int index) const
{
    std::uint32_t c = colors_.at(static_cast<std::size_t>(index));
    return c == UseSeriesColor ? color_ : c;
}

void TChartSeries::SetActive(bool active)
{
    if (active == active_)
        return;
    active_ = active;
    Changed();
}

void TChartSeries::SetDataSource(TChartSeries* source)
{
    if (source == source_)
        return;
    for (TChartSeries* s = source; s; s = s->source_)
        if (s == this)
            throw std::invalid_argument("a series cannot be computed from itself");
    if (source_) {
        auto& d = source_->dependents_;
        d.erase(std::remove(d.begin(), d.end(), this), d.end());
    }
    source_ = source;
    if (source_)
        source_->dependents_.push_back(this);
    CheckDataSource();
}

void TChartSeries::SetFunction(std::unique_ptr<TTeeFunction> function)
{
    if (function_)
        function_->parent_ = nullptr;
    function_ = std::move(function);
    if (function_)
        function_->parent_ = this;
    CheckDataSource();
}

int TChartSeries::InsertPoint(double x, double y)
{
    return InsertPoint(x, y, std::string(), UseSeriesColor);
}

int TChartSeries::InsertPoint(double x, double y, const std::string& label, std::uint32_t color)
{
    const int index = x_.InsertionIndex(x);
    x_.Insert(index, x);
    y_.Insert(index, y);
    colors_.insert(colors_.begin() + index, color);
    labels_.insert(labels_.begin() + index, label);
    Notify(Change::Insert, index);
    Changed();
    return index;
}

void TChartSeries::RemovePoint(int index)
{
    if (index < 0 || index >= Count())
        throw std::out_of_range("point index out of range");
    x_.Delete(index);
    y_.Delete(index);
    colors_.erase(colors_.begin() + index);
    labels_.erase(labels_.begin() + index);
    if (chart_)
        chart_->PointsRemoved(*this);
    Notify(Change::Delete, index);
    Changed();
}

void TChartSeries::ClearPoints()
{
    x_.Clear();
    y_.Clear();
    colors_.clear();
    labels_.clear();
    if (chart_)
        chart_->PointsRemoved(*this);
    if (OnClearValues)
        OnClearValues(*this);
    Notify(Change::Clear, -1);
    Changed();
}

void TChartSeries::SetYValue(int index, double y)
{
    y_.SetValue(index, y);
    Notify(Change::Modify, index);
    Changed();
}

void TChartSeries::RefreshDependents()
{
    Notify(Change::Refresh, -1);
}

void TChartSeries::CheckDataSource()
{
    if (!source_)
        return;
    if (function_) {
        function_->Recompute();
        return;
    }
    if (chart_ && chart_->Loading())
        return;
    // A plain copy: clear, then the source's points in order.
    ClearPoints();
    for (int i = 0; i < source_->Count(); ++i)
        InsertPoint(source_->x_[i], source_->y_[i], source_->labels_[static_cast<std::size_t>(i)],
                    source_->colors_[static_cast<std::size_t>(i)]);
    RefreshDependents();
}

void TChartSeries::Notify(Change change, int index)
{
    // A copy: a dependent's rebuild must not disturb this walk.
    const std::vector<TChartSeries*> targets = dependents_;
    for (TChartSeries* d : targets)
        d->OnSourceChanged(*this, change, index);
}

void TChartSeries::OnSourceChanged(TChartSeries& source, Change change, int index)
{
    switch (change) {
    case Change::Clear:
        if (RecalcOptions.OnClear)
            ClearPoints();
        break;
    case Change::Insert:
        if (RecalcOptions.OnInsert && !function_)
            InsertPoint(source.x_[index], source.y_[index], source.labels_[static_cast<std::size_t>(index)],
                        source.colors_[static_cast<std::size_t>(index)]);
        break;
    case Change::Delete:
        if (RecalcOptions.OnDelete && !function_ && index < Count())
            RemovePoint(index);
        break;
    case Change::Modify:
        if (RecalcOptions.OnModify)
            CheckDataSource();
        break;
    case Change::Refresh:
        CheckDataSource();
        break;
    }
}
