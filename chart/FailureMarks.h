// TFailureMarks: the failed pings shown on the chart, as groups that sit
// between two points of the data series: each group counts the failures
// that came after the point with X AfterX (before the first point when
// AfterX is -infinity) and before the next one. The chart owns them; they
// follow its data series (trimmed with its oldest points, emptied with it)
// and never touch its points or axis ranges (FailureBands.h works out where
// a picture draws them). Portable; GUI thread only.
#pragma once

#include <cstdint>
#include <deque>

struct TFailureGroup {
    double AfterX = 0;
    std::uint32_t Count = 0;
};

class TFailureMarks {
public:
    // One failure after the point with X afterX; failures in a row join
    // one group, so there are never more groups than points plus one.
    void Add(double afterX);
    // Drops the groups that sat before the point with X firstX.
    void TrimBefore(double firstX);
    void Clear();
    bool Empty() const { return groups_.empty(); }
    const std::deque<TFailureGroup>& Groups() const { return groups_; }

    // New after every change and never shared with other marks: a painter
    // keeps the bands it worked out until it moves.
    std::uint64_t ChangeStamp() const { return stamp_; }

private:
    void Changed();

    std::deque<TFailureGroup> groups_;
    std::uint64_t stamp_ = 0;
};
