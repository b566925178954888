#include "chart/ChartValueList.h"

#include <cmath>
#include <stdexcept>

int TChartValueList::InsertionIndex(double value) const
{
    int i = Count();
    if (Order == loAscending) {
        while (i > 0 && value < values_[static_cast<std::size_t>(i - 1)])
            --i;
    } else if (Order == loDescending) {
        while (i > 0 && value > values_[static_cast<std::size_t>(i - 1)])
            --i;
    }
    return i;
}

void TChartValueList::Insert(int index, double value)
{
    if (index < 0 || index > Count())
        throw std::out_of_range("value list index out of range");
    values_.insert(values_.begin() + index, value);
    dirty_ = true;
}

void TChartValueList::Delete(int index)
{
    if (index < 0 || index >= Count())
        throw std::out_of_range("value list index out of range");
    values_.erase(values_.begin() + index);
    dirty_ = true;
}

void TChartValueList::Clear()
{
    values_.clear();
    dirty_ = true;
}

void TChartValueList::SetValue(int index, double value)
{
    values_.at(static_cast<std::size_t>(index)) = value;
    dirty_ = true;
}

double TChartValueList::MinValue() const
{
    Recalc();
    return min_;
}

double TChartValueList::MaxValue() const
{
    Recalc();
    return max_;
}

double TChartValueList::Total() const
{
    Recalc();
    return total_;
}

double TChartValueList::TotalABS() const
{
    Recalc();
    return totalAbs_;
}

void TChartValueList::Recalc() const
{
    if (!dirty_)
        return;
    dirty_ = false;
    ++passes_;
    min_ = max_ = total_ = totalAbs_ = 0;
    if (values_.empty())
        return;
    auto it = values_.begin();
    min_ = max_ = total_ = *it;
    totalAbs_ = std::fabs(*it);
    for (++it; it != values_.end(); ++it) {
        const double v = *it;
        if (v < min_)
            min_ = v;
        else if (v > max_)
            max_ = v;
        total_ += v;
        totalAbs_ += std::fabs(v);
    }
}
