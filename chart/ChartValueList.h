// TChartValueList: one coordinate of a series' points (all X or all Y values)
// with cached statistics. Any change marks the cache dirty; the next read of
// a statistic recomputes all four in one pass. GUI thread only, like the chart.
#pragma once

#include <cstddef>
#include <deque>

enum TChartListOrder { loNone, loAscending, loDescending };

class TChartValueList {
public:
    TChartListOrder Order = loNone;
    // Stored values are shown multiplied by this; the program keeps it at 1.
    double Multiplier = 1.0;

    int Count() const { return static_cast<int>(values_.size()); }
    double Value(int index) const { return values_.at(static_cast<std::size_t>(index)); }
    double operator[](int index) const { return Value(index); }
    const std::deque<double>& Values() const { return values_; }

    // The index at which a new value goes under Order: the end for loNone and
    // for values not before the last one; otherwise a scan backwards from the
    // end, so that equal values keep their arrival order and appends cost O(1).
    int InsertionIndex(double value) const;
    void Insert(int index, double value);
    void Delete(int index);
    void Clear();
    void SetValue(int index, double value);

    double MinValue() const;
    double MaxValue() const;
    double Total() const;
    double TotalABS() const;

    // How many statistic passes have run; lets tests and benchmarks see the caching.
    unsigned long StatisticPasses() const { return passes_; }

private:
    void Recalc() const;

    // A deque: the console drops the oldest point as it adds a new one, and
    // both ends then cost the same however long the list is.
    std::deque<double> values_;
    mutable bool dirty_ = false;
    mutable double min_ = 0, max_ = 0, total_ = 0, totalAbs_ = 0;
    mutable unsigned long passes_ = 0;
};
